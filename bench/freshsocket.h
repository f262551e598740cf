#pragma once

#include <QByteArrayView>
#include <QHostAddress>

namespace bench {

// One datagram from a socket of its own that is made, bound to `from` (any port), used once and
// closed: the least that a send on a fresh socket costs, made with the system's own calls.
bool sendOnFreshSocket(const QHostAddress &from, const QHostAddress &to, quint16 port, QByteArrayView bytes);

} // namespace bench
