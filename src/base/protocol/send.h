#pragma once

#include "base/core/context.h"

#include <QString>

#include <functional>

namespace protocol {

// The one way a datagram leaves this program: the text, in CP932, to `destination` at port port.
// A failing send is passed over and the caller goes on; nothing is reported to the user, the
// acknowledgements being the only feedback. The result (0 or the failure number) is for callers
// that count, never for a message. `afterSend` runs right after the send (the compose window
// hides itself there).
int sendDatagram(core::Context &context, const QString &destination, const QString &text,
                 const std::function<void()> &afterSend = {});

} // namespace protocol
