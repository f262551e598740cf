#pragma once

#include "core/context.h"

namespace protocol {

// The receiver's side of a message: taking it in out of sight, acknowledging it, signalling it in
// the tray, and opening it.
class Receiving final {
public:
    explicit Receiving(core::Context &context) : m_context(context) {}

    // An ordinary message or a letter arrived (rcvData, remoteHostIP). False when the
    // partner-only filter refused it.
    bool receive();
    // "OTHER送信" to the sender: refused by the partner-only filter.
    void otherReply();
    // "送信" to the sender, and a received-history row.
    void recvAck();
    // Timer2: the tray alternates between the received and the normal picture.
    void blinkTick();
    // Opens the received-message window, naming the sender while a message waits.
    void openReceived();

private:
    core::Context &m_context;
};

} // namespace protocol
