#pragma once

#include "base/core/context.h"

namespace receive {

// The letter left for the partner: written in its window, armed the moment the window opens, and
// handed over by itself in answer to the partner's next message.
class Letters final {
public:
    explicit Letters(core::Context &context) : m_context(context) {}

    // "置き手紙作成(&W)": shows the window and arms the letter.
    void open();
    // "OK": keeps an armed letter waiting (it must not be empty, nor too long for one datagram),
    // or closes a delivered one.
    void confirm();
    // "ｷｬﾝｾﾙ" and the close box: the window unloads and the letter with it.
    void cancel();
    // Hands the waiting letter to the sender of the message in hand, in place of "送信". False,
    // with nothing sent, when the letter is too long for one datagram: it keeps waiting, and the
    // message is acknowledged as usual.
    bool handOver(const QString &partner);

private:
    // The letter's datagram as it would leave now.
    QString letterDatagram();

    core::Context &m_context;
};

} // namespace receive
