#include "support/fakenetwork.h"

#include "base/text/cp932.h"

#include <QHostAddress>
#include <QTimer>

namespace testkit {

QString SentDatagram::text() const
{
    return text::fromCp932(bytes);
}

std::unique_ptr<FakeTransport> FakeNetwork::host(const QString &address)
{
    return std::make_unique<FakeTransport>(*this, address);
}

int FakeNetwork::send(const QString &from, QStringView host, quint16 port, QByteArrayView bytes)
{
    SentDatagram record{from, host.toString(), port, bytes.toByteArray(), 0};
    QHostAddress address;
    if (!address.setAddress(record.to) || address.protocol() != QAbstractSocket::IPv4Protocol)
        record.result = platform::socket_error::hostNotFound;
    else if (port == 0)
        record.result = platform::socket_error::addressNotAvailable;
    else if (bytes.size() > kMaxDatagram)
        record.result = platform::socket_error::messageTooLong;
    m_sent.append(record);
    if (record.result == 0) {
        m_queue.push_back({record.to, port, record.bytes, from});
        scheduleFlush();
    }
    return record.result;
}

void FakeNetwork::scheduleFlush()
{
    if (m_flushScheduled)
        return;
    m_flushScheduled = true;
    QTimer::singleShot(0, this, [this] {
        m_flushScheduled = false;
        flush();
    });
}

int FakeNetwork::flush()
{
    int delivered = 0;
    while (!m_queue.empty())
        delivered += deliverNext();
    return delivered;
}

int FakeNetwork::deliverNext()
{
    if (m_queue.empty())
        return 0;
    const Pending next = std::move(m_queue.front());
    m_queue.pop_front();
    const bool broadcast = next.to == u"255.255.255.255";
    int delivered = 0;
    // Copy the list: a handler may end a copy and so remove its host.
    const QList<FakeTransport *> hosts = m_hosts;
    for (FakeTransport *host : hosts) {
        if (!m_hosts.contains(host) || host->m_port != next.port)
            continue;
        if (broadcast || host->m_address == next.to ||
            (!host->secondAddress.isEmpty() && host->secondAddress == next.to)) {
            ++delivered;
            ++host->m_arrivals;
            emit host->datagramArrived(next.bytes, next.from);
        }
    }
    return delivered;
}

QList<SentDatagram> FakeNetwork::sentTo(const QString &address) const
{
    QList<SentDatagram> out;
    for (const SentDatagram &d : m_sent) {
        if (d.to == address)
            out.append(d);
    }
    return out;
}

QList<SentDatagram> FakeNetwork::sentFrom(const QString &address) const
{
    QList<SentDatagram> out;
    for (const SentDatagram &d : m_sent) {
        if (d.from == address)
            out.append(d);
    }
    return out;
}

QStringList FakeNetwork::textsFrom(const QString &address) const
{
    QStringList out;
    for (const SentDatagram &d : sentFrom(address))
        out << d.text();
    return out;
}

void FakeNetwork::occupy(const QString &address, quint16 port)
{
    m_occupied.append({address, port});
}

bool FakeNetwork::bound(const QString &address, quint16 port) const
{
    if (m_occupied.contains(qMakePair(address, port)))
        return true;
    for (const FakeTransport *host : m_hosts) {
        if (host->m_address == address && host->m_port == port)
            return true;
    }
    return false;
}

void FakeNetwork::detach(FakeTransport *transport)
{
    m_hosts.removeAll(transport);
}

FakeTransport::FakeTransport(FakeNetwork &network, QString address)
    : m_network(&network), m_address(std::move(address))
{
    network.m_hosts.append(this);
}

FakeTransport::~FakeTransport()
{
    m_network->detach(this);
}

int FakeTransport::bindReceiver(quint16 port)
{
    if (const int failure = std::exchange(failNextBind, 0))
        return failure;
    if (m_network->bound(m_address, port))
        return platform::socket_error::addressInUse;
    m_port = port;
    return 0;
}

int FakeTransport::send(QStringView host, quint16 port, QByteArrayView bytes)
{
    return m_network->send(sendsFromSecond ? secondAddress : m_address, host, port, bytes);
}

} // namespace testkit
