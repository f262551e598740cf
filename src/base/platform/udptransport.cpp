#include "base/platform/udptransport.h"

#include <QNetworkDatagram>
#include <QNetworkProxy>
#include <QVariant>

namespace platform {
namespace {

// Large enough for a burst of a few thousand datagrams; the system may grant less.
constexpr int kReceiveBufferBytes = 8 * 1024 * 1024;

} // namespace

UdpTransport::UdpTransport(const QHostAddress &bindAddress, QObject *parent)
    : Transport(parent), m_bindAddress(bindAddress)
{
    // Datagrams go straight to the partner on the local network. Without this, Qt asks the
    // system proxy configuration (libproxy) on every bind, which costs far more than a send.
    m_receiver.setProxy(QNetworkProxy::NoProxy);
    m_sender.setProxy(QNetworkProxy::NoProxy);
    connect(&m_receiver, &QUdpSocket::readyRead, this, &UdpTransport::readPending);
    // Nobody answers to the sending port (every reply goes to the program's port), but should a
    // stray datagram arrive there it is read and dropped rather than left to pile up.
    connect(&m_sender, &QUdpSocket::readyRead, this, [this] {
        while (m_sender.hasPendingDatagrams())
            m_sender.readDatagram(nullptr, 0);
    });
}

int UdpTransport::bindReceiver(quint16 port)
{
    // No address sharing: a second program on the port must fail here, not share the traffic.
    if (!m_receiver.bind(m_bindAddress, port, QAbstractSocket::DontShareAddress))
        return errorNumber(m_receiver.error());
    m_receiver.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, QVariant(kReceiveBufferBytes));
    return socket_error::none;
}

int UdpTransport::send(QStringView host, quint16 port, QByteArrayView bytes)
{
    // Nearly every datagram goes to the same address as the one before: read the text only when
    // it changes.
    if (m_lastAddress.isNull() || host != m_lastHost) {
        QHostAddress address;
        if (!address.setAddress(host.toString()) || address.protocol() != QAbstractSocket::IPv4Protocol)
            return socket_error::hostNotFound;
        m_lastHost = host.toString();
        m_lastAddress = address;
    }
    const QHostAddress &address = m_lastAddress;
    // One sending socket serves every datagram, bound to a free port on first use (and again
    // should the system have closed it). A socket made, bound and closed per datagram cost more
    // than the datagram itself, and no peer can tell the difference: replies go to the program's
    // port, never to the port a datagram came from.
    if (m_sender.state() != QAbstractSocket::BoundState &&
        !m_sender.bind(m_bindAddress, 0, QAbstractSocket::DontShareAddress))
        return errorNumber(m_sender.error());
    const qint64 written = m_sender.writeDatagram(bytes.data(), bytes.size(), address, port);
    if (written == bytes.size())
        return socket_error::none;
    return written < 0 ? errorNumber(m_sender.error()) : socket_error::messageTooLong;
}

void UdpTransport::readPending()
{
    // A batch at a time: under a flood the socket never runs dry, and the event loop must still
    // get its turn (the termination signal, the timers, the windows) between batches. Each read
    // arms the socket's notifier again, so readyRead comes back for the rest; reading anywhere
    // but here would leave Qt waiting for a read after a readyRead that found nothing.
    for (int batch = 0; batch < kBatch; ++batch) {
        if (!m_receiver.hasPendingDatagrams())
            return;
        const QNetworkDatagram datagram = m_receiver.receiveDatagram();
        if (!datagram.isValid())
            continue;
        // An IPv4 socket may still report a mapped address; the program speaks dotted decimal.
        // Most datagrams come from the address of the one before: its text is made once.
        bool isV4 = false;
        const quint32 v4 = datagram.senderAddress().toIPv4Address(&isV4);
        if (!isV4) {
            m_lastSenderText.clear();
            emit datagramArrived(datagram.data(), datagram.senderAddress().toString());
            continue;
        }
        if (v4 != m_lastSender || m_lastSenderText.isEmpty()) {
            m_lastSender = v4;
            m_lastSenderText = QHostAddress(v4).toString();
        }
        emit datagramArrived(datagram.data(), m_lastSenderText);
    }
}

int UdpTransport::errorNumber(QAbstractSocket::SocketError error)
{
    switch (error) {
    case QAbstractSocket::AddressInUseError:
        return socket_error::addressInUse;
    case QAbstractSocket::SocketAccessError:
        return socket_error::accessDenied;
    case QAbstractSocket::SocketAddressNotAvailableError:
        return socket_error::addressNotAvailable;
    case QAbstractSocket::DatagramTooLargeError:
        return socket_error::messageTooLong;
    case QAbstractSocket::HostNotFoundError:
        return socket_error::hostNotFound;
    case QAbstractSocket::NetworkError:
        return socket_error::networkUnreachable;
    default:
        return socket_error::invalidArgument;
    }
}

} // namespace platform
