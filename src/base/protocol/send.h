#pragma once

#include "base/core/partnerrecord.h"
#include "base/platform/transport.h"

#include <QByteArray>
#include <QString>

namespace protocol {

// The port every copy listens on and sends to.
constexpr quint16 kPort = 57979;

// What puts the datagrams for the partner into their envelope, and takes arriving envelopes out:
// the pairing part, which holds the key.
class Sealer {
public:
    virtual ~Sealer() = default;
    // `plain` in its envelope; empty when there is no key to seal with.
    virtual QByteArray seal(const QByteArray &plain) = 0;
    // The plain datagram in `sealed`, or nothing when it does not open as the partner's (fresh,
    // whole, sealed with the key). What did not open is counted by the sealer.
    virtual std::optional<QByteArray> open(const QByteArray &sealed) = 0;
};

// The one way a datagram leaves this program: the text, in CP932, to the peer's address at the
// port the copy opened at start-up, sealed when the peer is. A failing send is passed over and the
// caller goes on; nothing is reported to the user, the acknowledgements being the only feedback.
// The result (0 or the failure number) is for callers that count, never for a message.
class Outbox final {
public:
    explicit Outbox(platform::Transport &transport) : m_transport(transport) {}

    // Until the copy opens its port nothing can go: a send fails.
    void open(quint16 port) { m_port = port; }
    void setSealer(Sealer *sealer) { m_sealer = sealer; }
    int send(const core::Peer &to, const QString &text);
    // The most bytes of CP932 one datagram to `to` can carry.
    static qsizetype room(const core::Peer &to);

private:
    platform::Transport &m_transport;
    Sealer *m_sealer = nullptr;
    quint16 m_port = 0;
};

} // namespace protocol
