#pragma once

#include "core/context.h"

#include <QString>

#include <functional>

namespace protocol {

// The one way a datagram leaves this program: a fresh socket is bound, sends the text in CP932 to
// `destination` at port portNo, and is closed. Each step that fails is passed over and the next
// runs; nothing is reported to the user, the acknowledgements being the only feedback. The result
// (0 or the send step's failure number) is for callers that count, never for a message.
// `afterSend` runs between the send and the close (the compose window hides itself there).
int sendDatagram(core::Context &context, const QString &destination, const QString &text,
                 const std::function<void()> &afterSend = {});

} // namespace protocol
