#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <array>
#include <optional>

// Sealing: how two paired copies keep their datagrams to themselves and know each other by the
// key. Both copies derive the same pair key from a pairing code that one shows and the other
// types; each datagram between them then travels inside an envelope that only that key opens.
//
// The envelope, byte by byte:
//   0-1   FF FD: bytes CP932 has no character for, so no plain datagram ever starts with them
//   2     01: the envelope's version
//   3-26  the nonce: 24 random bytes, new for every datagram
//   27-   XChaCha20-Poly1305 (IETF) over the sealed part, with bytes 0-2 as associated data:
//           8 bytes  the sending copy's own number, drawn when it paired (little-endian)
//           8 bytes  its count of datagrams sealed so far, never used twice (little-endian)
//           the plain datagram, in CP932, exactly as an unpaired copy would send it
//         and the 16 bytes of the authentication tag.
namespace protocol {

constexpr qsizetype kPairKeyBytes = 32;
using PairKey = std::array<unsigned char, kPairKeyBytes>;

// How many bytes the envelope adds to a plain datagram.
constexpr qsizetype kSealOverhead = 3 + 24 + 8 + 8 + 16;

// Whether `datagram` is in an envelope (opened or not).
bool isSealed(const QByteArray &datagram);

// A new pairing code: 20 random decimal digits in five groups of four, "1234-5678-9012-3456-7890".
QString newPairCode();
// The 20 digits of a typed code, in ASCII; blanks and hyphens (of either width) may separate them
// and the digits may be full-width. Nothing when the text is not exactly 20 digits.
std::optional<QByteArray> pairCodeDigits(QStringView typed);
// The pair key of a code's digits: Argon2id, so that a code cannot be guessed from a captured
// datagram one try after the other. Takes a noticeable moment and 64 MiB; nothing when the memory
// is not there.
std::optional<PairKey> derivePairKey(const QByteArray &digits);

// A random number for a copy to seal with: never 0, which stands for "none yet".
quint64 newSealerNumber();

// What sealing and opening with one pair key remember. The owner keeps it in the key file: the
// counts must never go back, or a datagram would be sealed twice with one count (and dropped as a
// replay) or an old one taken again.
struct SealState {
    // What opened from one sealing copy.
    struct Seen {
        quint64 number = 0;  // the copy's number; 0: nobody
        quint64 highest = 0; // the highest count that opened from it
        // Bit n: count `highest - 1 - n` opened too. Read back from the file it is all ones, since
        // which of the counts below the highest came is not kept.
        quint64 recentMask = 0;
        friend bool operator==(const Seen &, const Seen &) = default;
    };
    // The partner copy gets a new number each time it pairs, and pairing again with the same code
    // gives the same key: the copies seen are kept apart, each with its own counts, so that what an
    // earlier number sealed never opens twice. The one heard from last comes first; a fifth number
    // pushes out the one heard from longest ago.
    static constexpr std::size_t kSendersKept = 4;

    PairKey key{};
    quint64 self = 0;      // this copy's own number
    quint64 nextCount = 1; // the count the next datagram is sealed with
    std::array<Seen, kSendersKept> seen{};

    // Something sealed by the partner has opened.
    bool heardFromPartner() const { return seen[0].number != 0; }
};

enum class OpenResult {
    Opened,
    Damaged,   // not sealed with this key, or changed on the way, or cut short
    Replayed,  // its count has opened before, or is too old to tell
    Reflected, // sealed by this very copy: sent back to it by someone else
};

// Seals `plain` for the partner, spending one count of `state`.
QByteArray seal(SealState &state, const QByteArray &plain);
// Opens `sealed` into `plain`. Only an Opened datagram changes `state`.
OpenResult open(SealState &state, const QByteArray &sealed, QByteArray &plain);

} // namespace protocol
