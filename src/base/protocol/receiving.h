#pragma once

#include "base/core/context.h"
#include "base/protocol/arrival.h"

namespace protocol {

// How much held text the received window keeps, in characters (1 MiB): anyone on the network can
// add to a held message, and a text without end would at last be too big to show.
constexpr qsizetype kHeldTextLimit = 512 * 1024;
// What stands where older held text was cut.
inline const QString kHeldTextCut = QStringLiteral("（以前の受信内容は長すぎるため省略しました）");
// Adds a message to the held text after " | ". Past kHeldTextLimit the oldest text goes, down to
// three quarters of the limit, so that the next arrivals again cost only their own length; the
// newest message is always kept whole, and kHeldTextCut marks the cut.
void appendToHeld(QString &held, QStringView message);

// The receiver's side of a message: taking it in out of sight, acknowledging it, signalling it in
// the tray, and opening it.
class Receiving final {
public:
    explicit Receiving(core::Context &context) : m_context(context) {}

    // An ordinary message or a letter arrived. False when the partner-only filter refused it.
    bool receive(const Arrival &arrival);
    // "OTHER送信" to the sender: refused by the partner-only filter.
    void answerRefused(const QString &sender);
    // "送信" to the sender, and a received-history row.
    void acknowledge(const QString &sender);
    // blinkTimer: the tray alternates between the received and the normal picture.
    void blinkTick();
    // Opens the received-message window, naming the sender while a message waits.
    void openReceived();

private:
    core::Context &m_context;
};

} // namespace protocol
