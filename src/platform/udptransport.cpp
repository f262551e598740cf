#include "platform/udptransport.h"

#include <QNetworkDatagram>
#include <QNetworkProxy>
#include <QVariant>

#ifndef Q_OS_WIN
#include <cerrno>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace platform {
namespace {

// Large enough for a burst of a few thousand datagrams; the system may grant less.
constexpr int kReceiveBufferBytes = 8 * 1024 * 1024;

#ifndef Q_OS_WIN
// The sending socket on the system's own calls: a socket, its bind, one send and its close are
// all a datagram needs. A QUdpSocket would also register a read notifier with the event loop and
// query its options, which costs as much again as the datagram itself.
class UdpSendSocket final : public SendSocket {
public:
    explicit UdpSendSocket(const QHostAddress &bindAddress) : m_bindAddress(bindAddress.toIPv4Address()) {}
    ~UdpSendSocket() override { close(); }

    int bind() override
    {
        if (!open())
            return errorNumber(errno);
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_addr.s_addr = htonl(m_bindAddress);
        if (::bind(m_fd, reinterpret_cast<const sockaddr *>(&local), sizeof local) != 0)
            return errorNumber(errno);
        return socket_error::none;
    }

    int send(QStringView host, quint16 port, QByteArrayView bytes) override
    {
        QHostAddress address;
        if (!address.setAddress(host.toString()) || address.protocol() != QAbstractSocket::IPv4Protocol)
            return socket_error::hostNotFound;
        if (!open())
            return errorNumber(errno);
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(port);
        to.sin_addr.s_addr = htonl(address.toIPv4Address());
        const ssize_t written = ::sendto(m_fd, bytes.data(), static_cast<std::size_t>(bytes.size()),
                                         MSG_NOSIGNAL, reinterpret_cast<const sockaddr *>(&to), sizeof to);
        if (written == bytes.size())
            return socket_error::none;
        return written < 0 ? errorNumber(errno) : socket_error::messageTooLong;
    }

    void close() override
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

private:
    // An unbound socket is bound by its first send, as the platform does for any datagram socket.
    bool open()
    {
        if (m_fd >= 0)
            return true;
        m_fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        if (m_fd < 0)
            return false;
        const int on = 1; // the user search sends to the broadcast address
        ::setsockopt(m_fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
        return true;
    }

    static int errorNumber(int error)
    {
        switch (error) {
        case EADDRINUSE:
            return socket_error::addressInUse;
        case EACCES:
        case EPERM:
            return socket_error::accessDenied;
        case EMSGSIZE:
            return socket_error::messageTooLong;
        case EADDRNOTAVAIL:
            return socket_error::addressNotAvailable;
        case ENETUNREACH:
        case EHOSTUNREACH:
            return socket_error::networkUnreachable;
        default:
            return socket_error::invalidArgument;
        }
    }

    quint32 m_bindAddress;
    int m_fd = -1;
};
#else
class UdpSendSocket final : public SendSocket {
public:
    explicit UdpSendSocket(const QHostAddress &bindAddress) : m_bindAddress(bindAddress)
    {
        // Datagrams go straight to the partner on the local network. Without this, every fresh
        // socket asks the system proxy configuration (libproxy) first, which costs far more than
        // the send itself.
        m_socket.setProxy(QNetworkProxy::NoProxy);
    }

    int bind() override
    {
        if (m_socket.bind(m_bindAddress, 0, QAbstractSocket::DontShareAddress))
            return socket_error::none;
        return UdpTransport::errorNumber(m_socket.error());
    }

    int send(QStringView host, quint16 port, QByteArrayView bytes) override
    {
        QHostAddress address;
        if (!address.setAddress(host.toString()) || address.protocol() != QAbstractSocket::IPv4Protocol)
            return socket_error::hostNotFound;
        const qint64 written = m_socket.writeDatagram(bytes.data(), bytes.size(), address, port);
        if (written == bytes.size())
            return socket_error::none;
        return written < 0 ? UdpTransport::errorNumber(m_socket.error()) : socket_error::messageTooLong;
    }

    void close() override { m_socket.close(); }

private:
    QHostAddress m_bindAddress;
    QUdpSocket m_socket;
};

#endif

} // namespace

UdpTransport::UdpTransport(QHostAddress bindAddress, QObject *parent)
    : Transport(parent), m_bindAddress(std::move(bindAddress))
{
    m_receiver.setProxy(QNetworkProxy::NoProxy);
    connect(&m_receiver, &QUdpSocket::readyRead, this, &UdpTransport::readPending);
}

int UdpTransport::bindReceiver(quint16 port)
{
    // No address sharing: a second program on the port must fail here, not share the traffic.
    if (!m_receiver.bind(m_bindAddress, port, QAbstractSocket::DontShareAddress))
        return errorNumber(m_receiver.error());
    m_receiver.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, QVariant(kReceiveBufferBytes));
    return socket_error::none;
}

std::unique_ptr<SendSocket> UdpTransport::newSender()
{
    return std::make_unique<UdpSendSocket>(m_bindAddress);
}

void UdpTransport::readPending()
{
    while (m_receiver.hasPendingDatagrams()) {
        const QNetworkDatagram datagram = m_receiver.receiveDatagram();
        if (!datagram.isValid())
            continue;
        QHostAddress sender = datagram.senderAddress();
        // An IPv4 socket may still report a mapped address; the program speaks dotted decimal.
        bool isV4 = false;
        const quint32 v4 = sender.toIPv4Address(&isV4);
        if (isV4)
            sender = QHostAddress(v4);
        emit datagramArrived(datagram.data(), sender.toString());
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
