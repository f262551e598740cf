#include "base/protocol/sending.h"

#include "base/core/product.h"

namespace protocol {

namespace {
SentEntry::Reaction reactionOf(Kind kind)
{
    switch (kind) {
    case Kind::Held:
        return SentEntry::Reaction::Held;
    case Kind::Discarded:
        return SentEntry::Reaction::ClosedUnread;
    default:
        return SentEntry::Reaction::Read;
    }
}
} // namespace

Sending::Sending(Outbox &outbox, platform::Clock &clock, platform::Dialogs &dialogs,
                 const core::RegisteredPartner &partner, const core::Options &options)
    : m_outbox(outbox), m_clock(clock), m_dialogs(dialogs), m_partner(partner), m_options(options)
{
    m_answerTimer.setSingleShot(true);
    m_answerTimer.setTimerType(Qt::PreciseTimer);
    m_answerTimer.setInterval(kAnswerMs);
    connect(&m_answerTimer, &QTimer::timeout, this, &Sending::answerTimeout);
}

void Sending::plugInto(Dispatcher &dispatcher)
{
    dispatcher.addHandler(Kind::Delivered, [this](const Arrival &a) { deliveredBy(a.sender); });
    dispatcher.addHandler(Kind::Refused, [this](const Arrival &a) { refusedBy(a.sender); });
    for (Kind reaction : {Kind::Opened, Kind::Held, Kind::Discarded})
        dispatcher.addHandler(reaction,
                              [this, reaction](const Arrival &a) { reactionFrom(reaction, a.sender); });
    // The letter in answer stands for the "送信" of the message it answers.
    dispatcher.addHandler(Kind::Letter, [this](const Arrival &a) { letterArrived(a.sender); });
}

MessageHead Sending::head(std::optional<QTime> time) const
{
    return messageHead(signature(m_options.userName, m_loginName), time.value_or(m_clock.now().time()));
}

bool Sending::sendToPartner(const QString &text)
{
    if (text.isEmpty()) {
        m_dialogs.messageBox(QStringLiteral("ﾒｯｾｰｼﾞを入力してください。"), platform::box::exclamation,
                             core::kProductName);
        return false;
    }
    if (m_partner.address.isEmpty()) {
        m_dialogs.messageBox(QStringLiteral("お相手登録を行ってください。"), platform::box::exclamation,
                             core::kProductName);
        return false;
    }
    return sendMessage(m_partner.peer(), text);
}

bool Sending::sendMessage(const core::Peer &to, const QString &text, const QString &name)
{
    const QDateTime now = m_clock.now();
    const MessageHead head = this->head(now.time());
    const QString datagram = ordinaryMessage(head, text);
    if (!fitsOneDatagram(datagram, Outbox::room(to))) {
        m_dialogs.messageBox(tooLongText(QStringLiteral("ﾒｯｾｰｼﾞが長すぎて送信できません。"),
                                         head.headName + head.headTime, Outbox::room(to)),
                             platform::box::exclamation, core::kProductName);
        return false;
    }
    SentEntry entry;
    entry.to = to;
    entry.toPartner = to == m_partner.peer();
    entry.toName = entry.toPartner ? QString() : name;
    entry.text = text;
    entry.sentAt = now;
    m_outbox.send(entry.to, datagram);
    m_ledger.add(std::move(entry));
    armAnswerTimer();
    return true;
}

void Sending::letterHandedOver(const core::Peer &to, const QString &text)
{
    SentEntry entry;
    entry.kind = SentEntry::Kind::Letter;
    entry.to = to;
    entry.toPartner = to == m_partner.peer();
    entry.text = text;
    entry.sentAt = m_clock.now();
    entry.delivery = SentEntry::Delivery::Delivered;
    m_ledger.add(std::move(entry));
}

void Sending::armAnswerTimer()
{
    const SentEntry *oldest = m_ledger.oldestAwaiting();
    if (oldest == nullptr) {
        m_answerTimer.stop();
        return;
    }
    // Already counting for that very message: nothing to change.
    if (m_answerTimer.isActive() && m_armedFor == oldest->id)
        return;
    m_armedFor = oldest->id;
    const qint64 waited = oldest->sentAt.msecsTo(m_clock.now());
    m_answerTimer.start(static_cast<int>(qBound<qint64>(0, qint64{kAnswerMs} - waited, qint64{kAnswerMs})));
}

void Sending::deliveredBy(const core::Peer &sender)
{
    // Copies on Windows follow their refusal with a "送信" for the same message; the refusal stands.
    if (m_ledger.takeRefusalTrailer(sender, m_clock.now()))
        return;
    SentEntry *entry = m_ledger.answeredBy(sender);
    if (entry == nullptr)
        return;
    m_ledger.settle(*entry, SentEntry::Delivery::Delivered);
    const SentEntry settled = *entry;
    armAnswerTimer();
    emit delivered(settled, false);
}

void Sending::refusedBy(const core::Peer &sender)
{
    SentEntry *entry = m_ledger.answeredBy(sender);
    if (entry == nullptr)
        return;
    m_ledger.settle(*entry, SentEntry::Delivery::Refused);
    m_ledger.expectRefusalTrailer(sender, m_clock.now());
    const SentEntry settled = *entry;
    armAnswerTimer();
    emit refused(settled);
}

void Sending::letterArrived(const core::Peer &sender)
{
    SentEntry *entry = m_ledger.answeredBy(sender);
    if (entry == nullptr)
        return;
    m_ledger.settle(*entry, SentEntry::Delivery::Delivered);
    const SentEntry settled = *entry;
    armAnswerTimer();
    emit delivered(settled, true);
}

void Sending::answerTimeout()
{
    const QDateTime now = m_clock.now();
    while (SentEntry *entry = m_ledger.oldestAwaiting()) {
        if (entry->sentAt.msecsTo(now) < kAnswerMs)
            break;
        m_ledger.settle(*entry, SentEntry::Delivery::Unconfirmed);
        // A copy: a subscriber may send something, and the ledger may drop its oldest entry.
        const SentEntry settled = *entry;
        emit unconfirmed(settled);
    }
    armAnswerTimer();
}

void Sending::reactionFrom(Kind kind, const core::Peer &sender)
{
    SentEntry *entry = m_ledger.reactedToBy(sender);
    if (entry == nullptr)
        return;
    entry->reaction = reactionOf(kind);
    emit reacted(SentEntry(*entry));
}

} // namespace protocol
