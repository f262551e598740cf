#pragma once

#include "base/platform/transport.h"

#include <QString>

namespace protocol {

// The port every copy listens on and sends to.
constexpr quint16 kPort = 57979;

// The one way a datagram leaves this program: the text, in CP932, to `destination` at the port the
// copy opened at start-up. A failing send is passed over and the caller goes on; nothing is
// reported to the user, the acknowledgements being the only feedback. The result (0 or the
// failure number) is for callers that count, never for a message.
class Outbox final {
public:
    explicit Outbox(platform::Transport &transport) : m_transport(transport) {}

    // Until the copy opens its port nothing can go: a send fails.
    void open(quint16 port) { m_port = port; }
    int send(const QString &destination, const QString &text);

private:
    platform::Transport &m_transport;
    quint16 m_port = 0;
};

} // namespace protocol
