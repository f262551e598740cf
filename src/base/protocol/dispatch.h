#pragma once

#include "base/platform/dialogs.h"
#include "base/protocol/arrival.h"
#include "base/protocol/send.h"
#include "base/protocol/tags.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <deque>
#include <functional>
#include <vector>

namespace protocol {

// Decodes each arriving datagram and hands it, with its sender, to the handler of its kind. Handlers are
// plugged in by the parts that own them; a kind without one changes nothing.
//
// One datagram is handled at a time: an arrival during a handler (say, while it shows a modal box)
// waits in a queue and is handled after it, so no handler is ever entered twice.
class Dispatcher final {
public:
    using Handler = std::function<void(const Arrival &)>;

    explicit Dispatcher(platform::Dialogs &dialogs) : m_dialogs(dialogs) {}

    // Adds an action for a tagged kind; the actions of a kind run in the order they were added.
    void addHandler(Kind kind, Handler handler);
    // The one action for a tagged kind, in place of any others.
    void setHandler(Kind kind, Handler handler);
    // A step that may decline: false when it did nothing.
    using Step = std::function<bool(const Arrival &)>;
    // The three steps of an ordinary message: the receive handler (false when it refused the
    // message, whose sender then has its whole answer), then either the hand-over of a letter
    // (false when none went) or the receipt acknowledgement.
    void setReceiver(Step receive, Handler acknowledge);
    void setHandOver(Step handOver) { m_letterSend = std::move(handOver); }
    // Sees every arrival, of every kind, before its handler; watchers run in the order added.
    void addWatcher(Handler watcher) { m_watchers.push_back(std::move(watcher)); }
    // Opens the sealed arrivals; without one they are dropped (and counted as unopened).
    void setSealer(Sealer *sealer) { m_sealer = sealer; }

    // At most this many arrivals wait while a handler runs (a box may stay open for hours, and
    // anyone may send); later ones are dropped and counted, as a full socket buffer would drop them.
    static constexpr std::size_t kMaxWaiting = 1000;

    void arrive(const QByteArray &bytes, const QString &sender);
    // How many arrivals were dropped because too many waited.
    quint64 droppedArrivals() const { return m_dropped; }
    // How many sealed arrivals came while there was nothing to open them with.
    quint64 unopenedArrivals() const { return m_unopened; }
    // Arrivals waiting for the handler in progress to finish.
    qsizetype waiting() const { return static_cast<qsizetype>(m_queue.size()); }

private:
    struct Datagram {
        QByteArray bytes;
        QString sender;
    };
    void handle(const Datagram &datagram);
    void handleMessage(const Arrival &arrival);
    static void run(const Handler &handler, const Arrival &arrival);
    using Handlers = std::vector<Handler>;

    platform::Dialogs &m_dialogs;
    std::array<Handlers, kTags.size()> m_tagHandlers;
    Step m_receive;
    Handler m_recvAck;
    Step m_letterSend;
    Handlers m_watchers;
    Sealer *m_sealer = nullptr;
    std::deque<Datagram> m_queue;
    bool m_busy = false;
    quint64 m_dropped = 0;
    quint64 m_unopened = 0;
};

} // namespace protocol
