#include "base/receive/receiving.h"

#include "base/protocol/tags.h"
#include "base/protocol/wire.h"

#include <algorithm>

namespace receive {

using protocol::Arrival;
using protocol::Kind;
using protocol::MessageFields;
using protocol::WaitingMessage;
namespace {

// The sender name as the captions show it: up to and including its first blank, or nothing when
// the field has no blank (or is all blanks).
QString senderName(QStringView field)
{
    if (field.trimmed().isEmpty())
        return {};
    const qsizetype blank = field.indexOf(u' ');
    return blank < 0 ? QString() : field.left(blank + 1).toString();
}

// A message that arrives is shown closed: its text hidden until OPEN, whatever was shown before.
void showArrivalClosed(ReceivedView &v, const QString &weekday)
{
    v.state = ReceivedState::Waiting;
    v.weekdayPanel = weekday;
    v.messageVisible = false;
    v.openCloseCaption = QStringLiteral("OPEN");
}

} // namespace

void appendToHeld(QString &held, QStringView message)
{
    const QLatin1StringView separator(" | ");
    held += separator;
    held += message;
    if (held.size() <= kHeldTextLimit)
        return;
    qsizetype keepFrom = held.size() - kHeldTextLimit * 3 / 4;
    // Keep whole messages where one starts close enough after the cut.
    const qsizetype next = held.indexOf(separator, keepFrom);
    if (next >= 0 && next - keepFrom < 1024)
        keepFrom = next;
    else if (held.at(keepFrom).isLowSurrogate())
        ++keepFrom;
    held.remove(0, keepFrom);
    if (!held.startsWith(separator))
        held.prepend(separator);
    held.prepend(kHeldTextCut);
}

Receiving::Receiving(core::Context &context, protocol::Outbox &outbox, core::TrayIcon &tray,
                     const core::RegisteredPartner &partner, history::History &history)
    : m_context(context), m_outbox(outbox), m_tray(tray), m_partner(partner), m_history(history)
{
    context.menu.setAction(core::MenuId::ShowReceived, [this] { openReceived(); });
    connect(&context, &core::Context::iconSetApplied, this,
            [this](int set) { m_window.setIcon(core::IconId::received(set)); });
    connect(&context, &core::Context::textStylesApplied, this, [this](const core::TextStyle &style) {
        m_window.edit([&](ReceivedView &v) {
            v.messageStyle = style;
            v.replyStyle = style;
        });
    });
    m_saveTimer.setSingleShot(true);
    connect(&m_saveTimer, &QTimer::timeout, this, &Receiving::saveWaiting);
}

void Receiving::plugInto(protocol::Dispatcher &dispatcher)
{
    dispatcher.setReceiver([this](const Arrival &a) { return receive(a); },
                           [this](const Arrival &a) { acknowledge(a.sender); });
    // A letter gets no "送信", but like every message it gets a received-history row of its own,
    // so that reading it completes its own row and not the one of the message before it.
    dispatcher.addHandler(Kind::Letter, [this](const Arrival &a) { receive(a); });
}

qsizetype Receiving::strangersWaitingText() const
{
    qsizetype size = 0;
    for (const Queued &q : m_behind) {
        if (!m_partner.isSender(q.message.from))
            size += q.message.text.size();
    }
    return size;
}

bool Receiving::receive(const Arrival &arrival)
{
    core::Context &c = m_context;
    // A letter is a message behind a tag of its own.
    QStringView message = arrival.text;
    const bool letter = protocol::classify(message.left(protocol::kTagWidth)) == Kind::Letter;
    if (letter)
        message = message.mid(protocol::kTagWidth);

    const bool fromPartner = m_partner.isSender(arrival.sender);
    if (c.opt.refusesOthers() && !fromPartner) {
        answerRefused(arrival.sender);
        return false;
    }
    const MessageFields fields = protocol::splitMessage(message);
    const QDateTime now = c.now();
    const ReceivedView &shown = m_window.view();

    if (shown.state != ReceivedState::Empty && shown.sender == arrival.sender) {
        // More from the person in the window: joined to what is held, or in its place.
        const bool addToHeld = c.opt.addsWhileHeld() && c.menu.enabledThroughLock(core::MenuId::ShowReceived);
        // One change: the text is hidden with the OPEN button as it arrives, so an open window
        // never lays out text that nobody can see yet.
        m_window.edit([&](ReceivedView &v) {
            if (addToHeld) {
                appendToHeld(v.message, fields.text);
            } else {
                v.message = fields.text.toString();
                v.reply.clear();
            }
            v.senderName = senderName(fields.name);
            v.senderTime = fields.time.toString();
            showArrivalClosed(v, m_weekday);
        });
        // The caption names the newest time; opening the window sets it anyway.
        if (m_window.isVisible())
            m_window.setCaption(caption());
        m_windowRow = m_history.messageReceived(now);
        m_windowArrivedAt = now;
    } else if (!waitBehind(arrival.sender, fields, fromPartner)) {
        return false;
    }
    signalArrival();
    changed();
    emit messageWaits({captionName(arrival.sender, senderName(fields.name)), now, letter});
    return true;
}

bool Receiving::waitBehind(const core::Peer &sender, const MessageFields &fields, bool fromPartner)
{
    core::Context &c = m_context;
    // A person's messages that nobody has seen yet are all kept, joined; one held is treated as
    // the window treats a held message.
    auto same = std::find_if(m_behind.begin(), m_behind.end(),
                             [&](const Queued &q) { return q.message.from == sender; });
    if (same == m_behind.end() && !fromPartner &&
        (std::ssize(m_behind) >= kMaxWaitingBehind ||
         strangersWaitingText() + fields.text.size() > kHeldTextLimit)) {
        answerRefused(sender);
        return false;
    }
    const QDateTime now = c.now();
    if (same == m_behind.end()) {
        m_behind.push_back({{sender, {}, {}, fields.text.toString(), now}, {}, false});
        same = m_behind.end() - 1;
    } else if (same->held && !c.opt.addsWhileHeld()) {
        same->message.text = fields.text.toString();
    } else {
        appendToHeld(same->message.text, fields.text);
    }
    same->message.name = senderName(fields.name);
    same->message.time = fields.time.toString();
    same->held = false;
    same->row = m_history.messageReceived(now);
    // Into the window at once when it is free.
    bringNext(false);
    return true;
}

void Receiving::takeIntoWindow(Queued next)
{
    WaitingMessage &m = next.message;
    // A reply being written to the person leaving the window waits for their next message.
    const ReceivedView &leaving = m_window.view();
    if (leaving.state != ReceivedState::Empty && !leaving.reply.isEmpty())
        m_unsentReplies.insert(leaving.sender, leaving.reply);
    m_window.edit([&](ReceivedView &v) {
        v.message = std::move(m.text);
        v.reply = m_unsentReplies.take(m.from);
        v.sender = m.from;
        v.senderName = m.name;
        v.senderTime = m.time;
        showArrivalClosed(v, m_weekday);
    });
    m_window.setCaption(caption());
    m_windowRow = std::move(next.row);
    m_windowArrivedAt = m.arrivedAt;
}

void Receiving::signalArrival()
{
    core::Context &c = m_context;
    const int set = c.opt.iconSet();
    m_tray.show(core::IconId::received(set));
    if (c.opt.blinks() && !m_window.isVisible())
        m_tray.startBlink();
    m_window.setIcon(core::IconId::received(set));
    enableReceivedEntry();
}

void Receiving::enableReceivedEntry()
{
    core::MenuModel &menu = m_context.menu;
    menu.setEnabledThroughLock(core::MenuId::ShowReceived, true);
    menu.setEnabledThroughLock(core::MenuId::Compose, false);
}

void Receiving::dealtWith(ReceivedState state)
{
    core::Context &c = m_context;
    m_window.edit([&](ReceivedView &v) { v.state = state; });
    // The tray rests on the normal picture only when nothing else waits either.
    m_tray.show(m_window.anythingWaits() ? core::IconId::received(c.opt.iconSet())
                                         : core::IconId::normal(c.opt.iconSet()));
    changed();
}

WaitingMessage Receiving::windowMessage() const
{
    const ReceivedView &v = m_window.view();
    return {v.sender, v.senderName, v.senderTime, v.message, m_windowArrivedAt};
}

bool Receiving::bringNext(bool evenWhileShown)
{
    const ReceivedWindowModel &window = m_window;
    if (m_behind.empty() || window.waiting() || (window.isVisible() && !evenWhileShown))
        return false;
    // A waiting message first, in order of arrival; a held one only into a window that holds
    // nothing worth keeping.
    auto next = std::find_if(m_behind.begin(), m_behind.end(), [](const Queued &q) { return !q.held; });
    const bool windowHolds = window.view().state == ReceivedState::Held;
    if (next == m_behind.end() && windowHolds)
        return false;
    if (next == m_behind.end())
        next = m_behind.begin();
    Queued coming = std::move(*next);
    m_behind.erase(next);
    // A held message gives way, and waits at the back for its reply.
    if (windowHolds) {
        m_behind.push_back({windowMessage(), std::move(m_windowRow), true});
    }
    const bool held = coming.held;
    takeIntoWindow(std::move(coming));
    if (held) {
        m_window.edit([](ReceivedView &v) { v.state = ReceivedState::Held; });
        enableReceivedEntry();
    }
    changed();
    return true;
}

void Receiving::windowLeft()
{
    if (bringNext(false) && m_window.waiting())
        signalArrival();
}

void Receiving::keepUnsentReply(const core::Peer &to, const QString &text)
{
    core::Context &c = m_context;
    const ReceivedView &v = m_window.view();
    if (v.state == ReceivedState::Empty || v.sender != to) {
        m_unsentReplies.insert(to, text);
        return;
    }
    // Something typed there since stays, after the text that did not arrive.
    if (!v.reply.contains(text)) {
        m_window.edit([&](ReceivedView &view) {
            view.reply = view.reply.isEmpty() ? text : text + QStringLiteral("\r\n") + view.reply;
        });
    }
    // The window of that message can be opened again to send it once more.
    c.menu.setEnabledThroughLock(core::MenuId::ShowReceived, true);
}

QString Receiving::captionName(const core::Peer &sender, const QString &name) const
{
    const core::Context &c = m_context;
    if (m_partner.isSender(sender) && c.opt.passwordProtected())
        return {};
    return name.isEmpty() ? sender.address : name;
}

QString Receiving::caption() const
{
    const ReceivedView &v = m_window.view();
    const QString from = captionName(v.sender, v.senderName);
    if (from.isEmpty())
        return QStringLiteral("受信ﾒｯｾｰｼﾞ ") + QStringLiteral(" Time : ") + v.senderTime;
    return QStringLiteral(" From ") + from + QStringLiteral(" Time ") + v.senderTime;
}

void Receiving::changed()
{
    const int behind = static_cast<int>(
        std::count_if(m_behind.begin(), m_behind.end(), [](const Queued &q) { return !q.held; }));
    if (m_window.view().waitingBehind != behind)
        m_window.edit([&](ReceivedView &v) { v.waitingBehind = behind; });
    const bool waits = m_window.anythingWaits();
    m_tray.setMessageWaiting(waits);
    if (waits != m_waits) {
        m_waits = waits;
        emit waitingChanged(waits);
    }
    m_unsaved = true;
    if (m_saveTimer.isActive())
        return;
    // Right after the datagram in hand (its answer goes first), or a little later in a burst.
    const qint64 since = m_sinceSave.isValid() ? m_sinceSave.elapsed() : kSaveDelayMs;
    m_saveTimer.start(
        static_cast<int>(qBound<qint64>(0, qint64{kSaveDelayMs} - since, qint64{kSaveDelayMs})));
}

void Receiving::saveWaiting()
{
    m_saveTimer.stop();
    if (!m_unsaved)
        return;
    m_unsaved = false;
    m_sinceSave.start();
    core::Context &c = m_context;
    const ReceivedView &v = m_window.view();
    QList<WaitingMessage> waiting;
    if (v.state == ReceivedState::Waiting || v.state == ReceivedState::Held)
        waiting << windowMessage();
    for (const Queued &q : m_behind)
        waiting << q.message;
    const QString path = c.dataFile(kWaitingFile);
    // Nothing is said when this fails: the messages are still here, only not yet safe from an
    // end; the next change tries again.
    const platform::FileResult result =
        waiting.isEmpty() ? c.services.files.remove(path)
                          : c.services.files.replace(path, protocol::formatWaitingFile(waiting), true);
    if (result != platform::FileResult::Ok && result != platform::FileResult::Missing)
        m_unsaved = true;
}

void Receiving::restoreWaiting()
{
    core::Context &c = m_context;
    const QString path = c.dataFile(kWaitingFile);
    c.services.files.removeReplaceLeftovers(path);
    QByteArray bytes;
    // The most a copy writes: every message at its largest, with room for JSON's escapes.
    constexpr qint64 kMostBytes = (kMaxWaitingBehind + 2) * kHeldTextLimit * 6;
    if (c.services.files.read(path, bytes, kMostBytes) != platform::FileResult::Ok)
        return;
    const QList<WaitingMessage> waiting =
        protocol::parseWaitingFile(bytes, kMaxWaitingBehind + 1, kHeldTextLimit);
    for (const WaitingMessage &m : waiting) {
        const QDateTime arrived = m.arrivedAt.isValid() ? m.arrivedAt : c.now();
        Queued queued{m, m_history.messageReceived(arrived), false};
        queued.message.arrivedAt = arrived;
        if (m_window.view().state == ReceivedState::Empty)
            takeIntoWindow(std::move(queued));
        else
            m_behind.push_back(std::move(queued));
    }
    if (waiting.isEmpty())
        return;
    signalArrival();
    changed();
    const ReceivedView &v = m_window.view();
    emit messageWaits({captionName(v.sender, v.senderName), m_windowArrivedAt, false});
}

void Receiving::answerRefused(const core::Peer &sender)
{
    m_outbox.send(sender, protocol::tagOf(Kind::Refused));
}

void Receiving::acknowledge(const core::Peer &sender)
{
    m_outbox.send(sender, protocol::tagOf(Kind::Delivered));
}

void Receiving::openReceived()
{
    core::Context &c = m_context;
    // Turning to the window ends a call or a blink; the tray then shows whether a message still
    // waits, so a message already dealt with never looks as if it waited again.
    m_tray.stopAnimations(true);
    // The window's message was dealt with, even if it is still shown: someone else's that waits
    // comes in, or one that was held.
    bringNext(true);
    if (m_window.waiting()) {
        if (!m_partner.isSender(m_window.view().sender))
            c.box(QStringLiteral("お相手以外からのメッセージです。"), platform::box::exclamation);
        m_window.setCaption(caption());
    }
    m_window.show();
}

} // namespace receive
