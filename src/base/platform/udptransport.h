#pragma once

#include "base/platform/transport.h"

#include <QHostAddress>
#include <QUdpSocket>

namespace platform {

// Transport on real UDP sockets, IPv4 only so that every address reads as dotted decimal.
// Production binds to any IPv4 address; a test gives 127.0.0.x so that copies share a machine.
class UdpTransport final : public Transport {
    Q_OBJECT
public:
    explicit UdpTransport(const QHostAddress &bindAddress = QHostAddress(QHostAddress::AnyIPv4),
                          QObject *parent = nullptr);

    int bindReceiver(quint16 port) override;
    int send(QStringView host, quint16 port, QByteArrayView bytes) override;

    // Maps Qt's socket error to the Winsock number the program reports.
    static int errorNumber(QAbstractSocket::SocketError error);

private:
    void readPending();

    static constexpr int kBatch = 64; // datagrams read before the event loop has its turn
    QHostAddress m_bindAddress;
    QUdpSocket m_receiver;
    QUdpSocket m_sender;
    QString m_lastHost;         // the text of the last address sent to...
    QHostAddress m_lastAddress; // ...and that address
    quint32 m_lastSender = 0;   // the last sender...
    QString m_lastSenderText;   // ...as dotted decimal
};

} // namespace platform
