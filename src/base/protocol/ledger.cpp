#include "base/protocol/ledger.h"

namespace protocol {

SentEntry &SentLedger::add(SentEntry entry)
{
    entry.id = m_nextId++;
    m_entries.push_back(std::move(entry));
    while (m_entries.size() > kMaxEntries)
        m_entries.pop_front();
    return m_entries.back();
}

template <typename Pick> SentEntry *SentLedger::oldest(Pick &&pick)
{
    for (SentEntry &entry : m_entries) {
        if (pick(entry))
            return &entry;
    }
    return nullptr;
}

template <typename Pick> SentEntry *SentLedger::newest(Pick &&pick)
{
    for (auto it = m_entries.rbegin(); it != m_entries.rend(); ++it) {
        if (pick(*it))
            return &*it;
    }
    return nullptr;
}

SentEntry *SentLedger::answeredBy(const QString &sender)
{
    auto awaits = [](const SentEntry &e) { return e.kind == SentEntry::Kind::Message && e.awaitsAnswer(); };
    if (SentEntry *own = oldest([&](const SentEntry &e) { return awaits(e) && e.to == sender; }))
        return own;
    return oldest([&](const SentEntry &e) { return awaits(e) && e.toPartner; });
}

SentEntry *SentLedger::reactedToBy(const QString &sender)
{
    auto open = [](const SentEntry &e) {
        return e.delivery == SentEntry::Delivery::Delivered && e.reaction == SentEntry::Reaction::None;
    };
    if (SentEntry *own = newest([&](const SentEntry &e) { return open(e) && e.to == sender; }))
        return own;
    return newest([&](const SentEntry &e) { return open(e) && e.toPartner; });
}

void SentLedger::expectRefusalTrailer(const QString &sender, const QDateTime &now)
{
    m_refusalTrailerFrom = sender;
    m_refusedAt = now;
}

bool SentLedger::takeRefusalTrailer(const QString &sender, const QDateTime &now)
{
    if (m_refusalTrailerFrom.isEmpty() || m_refusalTrailerFrom != sender)
        return false;
    m_refusalTrailerFrom.clear();
    return qAbs(m_refusedAt.msecsTo(now)) <= kRefusalTrailerMs;
}

SentEntry *SentLedger::oldestAwaiting()
{
    return oldest([](const SentEntry &e) {
        return e.kind == SentEntry::Kind::Message && e.delivery == SentEntry::Delivery::Awaiting;
    });
}

SentEntry *SentLedger::find(quint64 id)
{
    return oldest([id](const SentEntry &e) { return e.id == id; });
}

} // namespace protocol
