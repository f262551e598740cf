#include "platform/udptransport.h"

#include <QNetworkDatagram>
#include <QVariant>

namespace platform {
namespace {

// Large enough for a burst of a few thousand datagrams; the system may grant less.
constexpr int kReceiveBufferBytes = 8 * 1024 * 1024;

class UdpSendSocket final : public SendSocket {
public:
    explicit UdpSendSocket(const QHostAddress &bindAddress) : m_bindAddress(bindAddress) {}

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

} // namespace

UdpTransport::UdpTransport(QHostAddress bindAddress, QObject *parent)
    : Transport(parent), m_bindAddress(std::move(bindAddress))
{
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
