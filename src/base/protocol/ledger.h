#pragma once

#include "base/core/partnerrecord.h"

#include <QDateTime>
#include <QString>

#include <deque>
#include <optional>

namespace protocol {

// One message this copy sent, and what has become of it so far.
struct SentEntry {
    enum class Kind {
        Message, // from the compose window, the clipboard or a reply: answered by "送信"
        Letter,  // handed over in answer to the partner's message: nothing answers it
    };
    enum class Delivery {
        Awaiting,    // on its way; no answer yet
        Delivered,   // "送信" came back (or a letter in its place)
        Refused,     // "OTHER送信" came back
        Unconfirmed, // no answer in time, and the user was told; a late "送信" still counts
    };
    enum class Reaction { None, Read, Held, ClosedUnread };

    quint64 id = 0;
    Kind kind = Kind::Message;
    core::Peer to;          // who it went to, and where
    QString toName;         // who that is to the user; empty for the partner
    bool toPartner = false; // it went to the registered partner
    QString text;
    QDateTime sentAt;
    Delivery delivery = Delivery::Awaiting;
    Reaction reaction = Reaction::None;
    // The compose window no longer offers it again: the user has sent something since.
    bool offerWithdrawn = false;

    bool awaitsAnswer() const { return delivery == Delivery::Awaiting || delivery == Delivery::Unconfirmed; }
};

// Every message sent, oldest first, and the rules that decide which one an arriving answer is
// about. Answers come back in the order their messages left, each at most once; anyone on the
// network can send them, so an answer that fits no entry changes nothing, and no entry counts
// twice.
class SentLedger final {
public:
    // The oldest entries go past this many (a partner who never answers must not make it grow).
    static constexpr std::size_t kMaxEntries = 1000;

    SentEntry &add(SentEntry entry);
    // What an answer said of `entry`: the ledger keeps count of the entries still awaiting one.
    void settle(SentEntry &entry, SentEntry::Delivery delivery);

    // The entry a "送信", an "OTHER送信" or a letter from `sender` answers: the oldest awaiting
    // entry to that address. The partner's PC may answer from another of its addresses, so an
    // answer from an address that no entry awaits counts for the oldest awaiting entry to the
    // partner; never for anyone else's. Null when there is none.
    SentEntry *answeredBy(const core::Peer &sender);
    // The entry a reaction ("Open確認", "保留", "破棄") from `sender` is about: the newest
    // delivered entry to that address without a reaction yet, or failing that the partner's.
    SentEntry *reactedToBy(const core::Peer &sender);

    // A copy on Windows follows its "OTHER送信" with a "送信" for the same message, at once. After
    // a refusal from `sender`, a "送信" from there within kRefusalTrailerMs is that trailer and
    // stands for nothing; copies like this one send no trailer, so a later one is a real answer.
    static constexpr qint64 kRefusalTrailerMs = 2000;
    void expectRefusalTrailer(const core::Peer &sender, const QDateTime &now);
    // True, once, when a "送信" from `sender` arriving `now` is the trailer of its refusal.
    bool takeRefusalTrailer(const core::Peer &sender, const QDateTime &now);

    // The oldest entry still waiting for its first answer, not yet told as unconfirmed.
    SentEntry *oldestAwaiting();
    const std::deque<SentEntry> &entries() const { return m_entries; }
    std::deque<SentEntry> &entries() { return m_entries; }

private:
    // The oldest entry awaiting an answer that `pick` accepts. The entries awaiting one are few
    // and the newest, so the search runs from the newest back and stops once it has passed them
    // all: an answer costs the same with a thousand settled entries as with none.
    template <typename Pick> SentEntry *oldestAwaitingWhere(Pick &&pick);
    template <typename Pick> SentEntry *newest(Pick &&pick);
    static bool awaits(const SentEntry &e) { return e.kind == SentEntry::Kind::Message && e.awaitsAnswer(); }

    std::deque<SentEntry> m_entries;
    std::size_t m_awaiting = 0; // entries for which awaits() holds
    quint64 m_nextId = 1;
    std::optional<core::Peer> m_refusalTrailerFrom;
    QDateTime m_refusedAt;
};

} // namespace protocol
