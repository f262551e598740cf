#include "base/protocol/ledger.h"

#include <algorithm>

namespace protocol {

SentEntry &SentLedger::add(SentEntry entry)
{
    entry.id = m_nextId++;
    m_awaiting += awaits(entry) ? 1 : 0;
    m_entries.push_back(std::move(entry));
    while (m_entries.size() > kMaxEntries) {
        m_awaiting -= awaits(m_entries.front()) ? 1 : 0;
        m_entries.pop_front();
    }
    return m_entries.back();
}

void SentLedger::settle(SentEntry &entry, SentEntry::Delivery delivery)
{
    const bool awaited = awaits(entry);
    entry.delivery = delivery;
    if (awaited && !awaits(entry))
        --m_awaiting;
}

template <typename Pick> SentEntry *SentLedger::oldestAwaitingWhere(Pick &&pick)
{
    SentEntry *found = nullptr;
    std::size_t passed = 0;
    for (auto it = m_entries.rbegin(); it != m_entries.rend() && passed < m_awaiting; ++it) {
        if (!awaits(*it))
            continue;
        ++passed;
        if (pick(*it))
            found = &*it;
    }
    return found;
}

template <typename Pick> SentEntry *SentLedger::newest(Pick &&pick)
{
    const auto it = std::find_if(m_entries.rbegin(), m_entries.rend(), std::forward<Pick>(pick));
    return it == m_entries.rend() ? nullptr : &*it;
}

SentEntry *SentLedger::answeredBy(const core::Peer &sender)
{
    if (SentEntry *own = oldestAwaitingWhere([&](const SentEntry &e) { return e.to == sender; }))
        return own;
    // A sealed answer is the partner's wherever it came from, and matched above; a plain one never
    // stands for a sealed entry.
    return oldestAwaitingWhere(
        [&](const SentEntry &e) { return e.toPartner && e.to.sealed == sender.sealed; });
}

SentEntry *SentLedger::reactedToBy(const core::Peer &sender)
{
    auto open = [](const SentEntry &e) {
        return e.delivery == SentEntry::Delivery::Delivered && e.reaction == SentEntry::Reaction::None;
    };
    if (SentEntry *own = newest([&](const SentEntry &e) { return open(e) && e.to == sender; }))
        return own;
    return newest([&](const SentEntry &e) { return open(e) && e.toPartner && e.to.sealed == sender.sealed; });
}

void SentLedger::expectRefusalTrailer(const core::Peer &sender, const QDateTime &now)
{
    m_refusalTrailerFrom = sender;
    m_refusedAt = now;
}

bool SentLedger::takeRefusalTrailer(const core::Peer &sender, const QDateTime &now)
{
    if (!m_refusalTrailerFrom || *m_refusalTrailerFrom != sender)
        return false;
    m_refusalTrailerFrom.reset();
    return qAbs(m_refusedAt.msecsTo(now)) <= kRefusalTrailerMs;
}

SentEntry *SentLedger::oldestAwaiting()
{
    return oldestAwaitingWhere(
        [](const SentEntry &e) { return e.delivery == SentEntry::Delivery::Awaiting; });
}

} // namespace protocol
