#include "base/protocol/send.h"

#include "base/text/cp932.h"

namespace protocol {

int sendDatagram(core::Context &context, const QString &destination, const QString &text,
                 const std::function<void()> &afterSend)
{
    bool ok = false;
    const quint16 port = context.state.port.toUShort(&ok); // 0 when unset: the send then fails
    const int result = context.services.transport.send(destination, ok ? port : 0, text::toCp932(text));
    // Arrivals queue while a handler runs, so there are no events to pump here.
    if (afterSend)
        afterSend();
    return result;
}

} // namespace protocol
