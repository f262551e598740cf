#pragma once

#include "base/platform/transport.h"

#include <QList>
#include <QMap>
#include <QString>

#include <deque>
#include <memory>

namespace testkit {

// One datagram as it left a host, with the result its send step returned.
struct SentDatagram {
    QString from;
    QString to;
    quint16 port = 0;
    QByteArray bytes;
    int result = 0;
    QString text() const; // decoded from CP932
};

class FakeTransport;

// A network of hosts named by their IPv4 text. Datagrams are queued and delivered by flush()
// (or by the event loop, for tests that wait), in the order they were sent, to every host bound
// to the port they were sent to; 255.255.255.255 reaches every such host. Every datagram is
// recorded with its bytes, sender and receiver.
class FakeNetwork final : public QObject {
    Q_OBJECT
public:
    static constexpr qsizetype kMaxDatagram = 65507;

    std::unique_ptr<FakeTransport> host(const QString &address);

    // Delivers queued datagrams, and those their handlers send, until none is left.
    // Returns how many were delivered.
    int flush();
    // Delivers the oldest queued datagram alone, so that a test can act between two arrivals.
    // Returns how many hosts it reached; nothing happens when the queue is empty.
    int deliverNext();
    qsizetype queued() const { return static_cast<qsizetype>(m_queue.size()); }

    const QList<SentDatagram> &sent() const { return m_sent; }
    QList<SentDatagram> sentTo(const QString &address) const;
    QList<SentDatagram> sentFrom(const QString &address) const;
    // The decoded texts of what `address` sent, in order.
    QStringList textsFrom(const QString &address) const;
    void clearLog() { m_sent.clear(); }

    // Another program holds this port at this address.
    void occupy(const QString &address, quint16 port);

private:
    friend class FakeTransport;
    struct Pending {
        QString to;
        quint16 port;
        QByteArray bytes;
        QString from;
    };
    int send(const QString &from, QStringView host, quint16 port, QByteArrayView bytes);
    bool bound(const QString &address, quint16 port) const;
    void detach(FakeTransport *transport);
    void scheduleFlush();

    QList<FakeTransport *> m_hosts;
    QList<QPair<QString, quint16>> m_occupied;
    std::deque<Pending> m_queue;
    QList<SentDatagram> m_sent;
    bool m_flushScheduled = false;
};

class FakeTransport final : public platform::Transport {
    Q_OBJECT
public:
    FakeTransport(FakeNetwork &network, QString address);
    ~FakeTransport() override;

    int bindReceiver(quint16 port) override;
    int send(QStringView host, quint16 port, QByteArrayView bytes) override;

    const QString &address() const { return m_address; }
    quint16 boundPort() const { return m_port; }
    // Datagrams handed to this host so far, counted before its handlers run.
    qint64 arrivals() const { return m_arrivals; }
    // The next bind fails with this number (0: no failure).
    int failNextBind = 0;
    // A second address of this host (a PC on the network by wire and by Wi-Fi): datagrams to it
    // arrive here too, and what this host sends leaves from it while `sendsFromSecond` is set.
    QString secondAddress;
    bool sendsFromSecond = false;

private:
    friend class FakeNetwork;
    FakeNetwork *m_network;
    QString m_address;
    quint16 m_port = 0;
    qint64 m_arrivals = 0;
};

} // namespace testkit
