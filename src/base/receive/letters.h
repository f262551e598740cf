#pragma once

#include "base/core/context.h"
#include "base/core/partnerrecord.h"
#include "base/protocol/arrival.h"
#include "base/protocol/dispatch.h"
#include "base/protocol/send.h"
#include "base/protocol/sending.h"

namespace receive {

// Where a letter stands.
enum class LetterState {
    None,      // no letter yet
    Waiting,   // waits for the partner's next message, to go with its answer
    Delivered, // went to the partner in answer to a message
    Answered,  // and the partner has reacted to it since
};

// The letter window (FrmLetter). Panel 1 of its status bar tells the letter's state.
struct LetterView {
    QString letter; // the letter, line breaks as CR LF
    LetterState state = LetterState::None;
    QString deliveredAt; // short date and time of the delivery, "yy/mm/dd / hh:mm"
    // The status panel's text: empty, "未確認", or when it was delivered (with ">" once answered).
    QString statusPanel() const;
};
class LetterWindowModel final : public core::ViewModel<LetterView> {
public:
    LetterWindowModel() : ViewModel(QStringLiteral("置き手紙作成"), core::IconId::normal(0)) {}
};

// The letter left for the partner: written in its window, armed the moment the window opens, and
// handed over by itself in answer to the partner's next message.
class Letters final : public QObject {
    Q_OBJECT
public:
    Letters(core::Context &context, protocol::Outbox &outbox, protocol::Sending &sending,
            const core::RegisteredPartner &partner);

    // The letter window, which unloads when it closes, and its letter with it.
    core::WindowSlot<LetterWindowModel> &slot() { return m_slot; }
    LetterWindowModel &window() { return m_slot.get(); }

    // "置き手紙作成(&W)": shows the window and arms the letter.
    void open();
    // "OK": keeps an armed letter waiting (it must not be empty, nor too long for one datagram),
    // or closes a delivered one.
    void confirm();
    // "ｷｬﾝｾﾙ" and the close box: the window unloads and the letter with it.
    void cancel();
    // A message arrived: a letter waiting for the partner who sent it goes in place of "送信".
    // False, with nothing sent, when no letter waits for that sender, or when it is too long for
    // one datagram: it then keeps waiting, and the message is acknowledged as usual.
    bool handOver(const protocol::Arrival &message);
    // Hands the letter over in answer to the partner's messages.
    void plugInto(protocol::Dispatcher &dispatcher)
    {
        dispatcher.setHandOver([this](const protocol::Arrival &a) { return handOver(a); });
    }

private:
    // The letter's datagram as it would leave now.
    QString letterDatagram();

    core::Context &m_context;
    core::WindowSlot<LetterWindowModel> m_slot;
    protocol::Outbox &m_outbox;
    protocol::Sending &m_sending;
    const core::RegisteredPartner &m_partner;
};

} // namespace receive
