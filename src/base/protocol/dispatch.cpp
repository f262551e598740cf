#include "base/protocol/dispatch.h"

#include "base/core/errors.h"
#include "base/core/product.h"
#include "base/platform/dialogs.h"
#include "base/protocol/seal.h"
#include "base/text/cp932.h"

#include <new>

namespace protocol {

void Dispatcher::addHandler(Kind kind, Handler handler)
{
    m_tagHandlers[static_cast<std::size_t>(kind)].push_back(std::move(handler));
}

void Dispatcher::setHandler(Kind kind, Handler handler)
{
    m_tagHandlers[static_cast<std::size_t>(kind)] = {std::move(handler)};
}

void Dispatcher::setReceiver(Step receive, Handler acknowledge)
{
    m_receive = std::move(receive);
    m_recvAck = std::move(acknowledge);
}

void Dispatcher::arrive(const QByteArray &bytes, const QString &sender)
{
    if (m_busy && m_queue.size() >= kMaxWaiting) {
        ++m_dropped;
        return;
    }
    m_queue.push_back({bytes, sender});
    if (m_busy)
        return;
    m_busy = true;
    while (!m_queue.empty()) {
        const Datagram next = std::move(m_queue.front());
        m_queue.pop_front();
        handle(next);
    }
    m_busy = false;
}

void Dispatcher::run(const Handler &handler, const Arrival &arrival)
{
    if (handler)
        handler(arrival);
}

void Dispatcher::handle(const Datagram &datagram)
{
    int number = 0;
    try {
        // A sealed datagram that does not open is nobody's: not shown, not answered.
        const bool sealed = isSealed(datagram.bytes);
        std::optional<QByteArray> plain;
        if (sealed && (m_sealer == nullptr || !(plain = m_sealer->open(datagram.bytes)))) {
            if (m_sealer == nullptr)
                ++m_unopened;
            return;
        }
        const Arrival arrival{text::fromCp932(sealed ? *plain : datagram.bytes),
                              core::Peer(datagram.sender, sealed)};
        for (const Handler &watcher : m_watchers)
            run(watcher, arrival);
        const Kind kind = classify(arrival.text);
        if (kind == Kind::Message)
            handleMessage(arrival);
        else
            for (const Handler &handler : m_tagHandlers[static_cast<std::size_t>(kind)])
                run(handler, arrival);
        return;
    } catch (const core::RuntimeError &e) {
        number = e.number();
    } catch (const std::bad_alloc &) {
        number = core::error_number::outOfMemory;
    } catch (const std::exception &) {
        number = core::error_number::invalidCall;
    }
    m_dialogs.messageBox(QStringLiteral("受信ﾒｯｾｰｼﾞｴﾗｰ！ ") + QStringLiteral("ｴﾗｰｺｰﾄﾞ:") +
                             QString::number(number),
                         platform::box::critical, core::kProductName);
}

void Dispatcher::handleMessage(const Arrival &arrival)
{
    // A refused message has had its answer, "OTHER送信"; a "送信" after it would tell its sender
    // that it was delivered after all.
    if (m_receive && !m_receive(arrival))
        return;
    if (m_letterSend && m_letterSend(arrival))
        return;
    run(m_recvAck, arrival);
}

} // namespace protocol
