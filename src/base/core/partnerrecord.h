#pragma once

#include <QHashFunctions>
#include <QString>

namespace core {

// Who a datagram came from, or is for: an address, and whether it travels sealed with the pair
// key. Only the partner's copy can seal, so a sealed peer is the partner whatever address it
// writes from (a PC with two addresses): two sealed peers are one person, and a plain one is never
// the same person as a sealed one, even at the same address.
struct Peer {
    QString address; // as a dotted quad (text::dottedQuad): where answers to it go
    bool sealed = false;

    Peer() = default;
    // A plain peer at `address`: every datagram of an unpaired copy.
    explicit Peer(QString address, bool sealed = false) : address(std::move(address)), sealed(sealed) {}

    friend bool operator==(const Peer &a, const Peer &b)
    {
        return a.sealed == b.sealed && (a.sealed || a.address == b.address);
    }
    friend size_t qHash(const Peer &peer, size_t seed = 0)
    {
        return peer.sealed ? qHash(true, seed) : qHash(peer.address, seed);
    }
};

// The partner this copy is registered with, as the partner part keeps it: the one person the
// copy's own messages, calls and start and end notices go to.
struct RegisteredPartner {
    QString name;
    // As a dotted quad (text::dottedQuad), the way senders' addresses arrive; empty: no partner
    // registered.
    QString address;
    // Paired: everything to the partner goes sealed, and only what opens with the key is theirs.
    bool paired = false;

    // Where the copy's own datagrams to the partner go.
    Peer peer() const { return Peer(address, paired); }
    // A datagram from `sender` comes from the partner.
    bool isSender(const Peer &sender) const
    {
        return paired ? sender.sealed : !address.isEmpty() && !sender.sealed && sender.address == address;
    }
};

} // namespace core
