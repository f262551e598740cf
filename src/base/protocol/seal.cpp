#include "base/protocol/seal.h"

#include <sodium.h>

#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace protocol {
namespace {

constexpr std::array<unsigned char, 3> kHeader{0xFF, 0xFD, 0x01};
constexpr qsizetype kNonceBytes = crypto_aead_xchacha20poly1305_ietf_NPUBBYTES;
constexpr qsizetype kNumberBytes = 8;
constexpr qsizetype kInnerHead = 2 * kNumberBytes; // the copy's number and the count
constexpr qsizetype kTagBytes = crypto_aead_xchacha20poly1305_ietf_ABYTES;
static_assert(kSealOverhead == qsizetype{kHeader.size()} + kNonceBytes + kInnerHead + kTagBytes);
static_assert(kPairKeyBytes == crypto_aead_xchacha20poly1305_ietf_KEYBYTES);
constexpr int kCodeDigits = 20;
// The same on every copy: both sides must derive the same key from the code alone. The code's 66
// bits, not the salt, are what makes the key hard to guess.
constexpr std::array<unsigned char, crypto_pwhash_SALTBYTES> kSalt{'m', 'i', 'l', 't', 'o', 'a', 'n', 'n',
                                                                   'e', ' ', 'p', 'a', 'i', 'r', ' ', '1'};
static_assert(kSalt.size() == 16);
// How far behind the newest count a datagram may still arrive (UDP may reorder a little).
constexpr quint64 kWindow = 64;

bool ready()
{
    // sodium_init is safe to call again; after the first success it only says so.
    static const bool initialised = sodium_init() >= 0;
    return initialised;
}

// A new random nonce. Nonces travel in the clear, so drawing them from the system many at a time
// gives nothing away, and spares a system call for each datagram.
void drawNonce(unsigned char *nonce)
{
    constexpr std::size_t kAtOnce = 64;
    thread_local std::array<unsigned char, kNonceBytes * kAtOnce> pool{};
    thread_local std::size_t used = kAtOnce;
    if (used == kAtOnce) {
        randombytes_buf(pool.data(), pool.size());
        used = 0;
    }
    unsigned char *next = pool.data() + used++ * kNonceBytes;
    std::memcpy(nonce, next, kNonceBytes);
    // Each is used once.
    sodium_memzero(next, kNonceBytes);
}

auto *bytes(QByteArray &array)
{
    return reinterpret_cast<unsigned char *>(array.data());
}
const auto *bytes(const QByteArray &array)
{
    return reinterpret_cast<const unsigned char *>(array.constData());
}

} // namespace

bool isSealed(const QByteArray &datagram)
{
    return datagram.size() >= 2 && static_cast<unsigned char>(datagram[0]) == kHeader[0] &&
           static_cast<unsigned char>(datagram[1]) == kHeader[1];
}

QString newPairCode()
{
    ready();
    QString code;
    for (int i = 0; i < kCodeDigits; ++i) {
        if (i > 0 && i % 4 == 0)
            code += u'-';
        code += QChar(u'0' + static_cast<char16_t>(randombytes_uniform(10)));
    }
    return code;
}

std::optional<QByteArray> pairCodeDigits(QStringView typed)
{
    QByteArray digits;
    for (const QChar c : typed) {
        const char16_t u = c.unicode();
        if (u >= u'0' && u <= u'9')
            digits += static_cast<char>(u);
        else if (u >= u'０' && u <= u'９')
            digits += static_cast<char>('0' + (u - u'０'));
        else if (u != u' ' && u != u'　' && u != u'-' && u != u'－' && u != u'‐' && u != u'ー')
            return std::nullopt;
        if (digits.size() > kCodeDigits)
            return std::nullopt;
    }
    if (digits.size() != kCodeDigits)
        return std::nullopt;
    return digits;
}

std::optional<PairKey> derivePairKey(const QByteArray &digits)
{
    if (!ready())
        return std::nullopt;
    PairKey key{};
    if (crypto_pwhash(key.data(), key.size(), digits.constData(),
                      static_cast<unsigned long long>(digits.size()), kSalt.data(),
                      crypto_pwhash_OPSLIMIT_INTERACTIVE, crypto_pwhash_MEMLIMIT_INTERACTIVE,
                      crypto_pwhash_ALG_ARGON2ID13) != 0)
        return std::nullopt;
    return key;
}

quint64 newSealerNumber()
{
    ready();
    quint64 number = 0;
    while (number == 0)
        randombytes_buf(&number, sizeof number);
    return number;
}

QByteArray seal(SealState &state, const QByteArray &plain)
{
    if (!ready())
        return {};
    // One buffer: the sealed part is laid out where it goes, and encrypted in place.
    const auto headerSize = static_cast<qsizetype>(kHeader.size());
    const qsizetype innerSize = kInnerHead + plain.size();
    QByteArray out(headerSize + kNonceBytes + innerSize + kTagBytes, Qt::Uninitialized);
    std::memcpy(out.data(), kHeader.data(), kHeader.size());
    unsigned char *nonce = bytes(out) + headerSize;
    drawNonce(nonce);
    unsigned char *inner = nonce + kNonceBytes;
    qToLittleEndian(state.self, inner);
    qToLittleEndian(state.nextCount++, inner + kNumberBytes);
    std::memcpy(inner + kInnerHead, plain.constData(), static_cast<std::size_t>(plain.size()));
    unsigned long long written = 0;
    crypto_aead_xchacha20poly1305_ietf_encrypt(inner, &written, inner,
                                               static_cast<unsigned long long>(innerSize), kHeader.data(),
                                               kHeader.size(), nullptr, nonce, state.key.data());
    return out;
}

OpenResult open(SealState &state, const QByteArray &sealed, QByteArray &plain)
{
    const auto headerSize = static_cast<qsizetype>(kHeader.size());
    if (!ready() || sealed.size() < kSealOverhead ||
        std::memcmp(sealed.constData(), kHeader.data(), kHeader.size()) != 0)
        return OpenResult::Damaged;
    const unsigned char *nonce = bytes(sealed) + headerSize;
    const qsizetype cipherSize = sealed.size() - headerSize - kNonceBytes;
    QByteArray inner(cipherSize - kTagBytes, Qt::Uninitialized);
    unsigned long long length = 0;
    if (crypto_aead_xchacha20poly1305_ietf_decrypt(
            bytes(inner), &length, nullptr, nonce + kNonceBytes, static_cast<unsigned long long>(cipherSize),
            kHeader.data(), kHeader.size(), nonce, state.key.data()) != 0)
        return OpenResult::Damaged;
    const auto sender = qFromLittleEndian<quint64>(bytes(inner));
    const auto count = qFromLittleEndian<quint64>(bytes(inner) + kNumberBytes);
    if (sender == state.self)
        return OpenResult::Reflected;
    auto known = std::find_if(state.seen.begin(), state.seen.end(),
                              [&](const SealState::Seen &s) { return s.number == sender; });
    SealState::Seen from;
    if (known == state.seen.end()) {
        // The partner's first datagram, or the first of a new pairing with the same code.
        from = {sender, count, 0};
        known = state.seen.end() - 1;
    } else if (count > known->highest) {
        from = *known;
        const quint64 ahead = count - from.highest;
        from.recentMask =
            ahead > kWindow
                ? 0
                : ((ahead == kWindow ? 0 : from.recentMask << ahead) | (quint64{1} << (ahead - 1)));
        from.highest = count;
    } else {
        from = *known;
        const quint64 behind = from.highest - count; // 0: the newest one itself
        if (behind == 0 || behind > kWindow)
            return OpenResult::Replayed;
        const quint64 bit = quint64{1} << (behind - 1);
        if ((from.recentMask & bit) != 0)
            return OpenResult::Replayed;
        from.recentMask |= bit;
    }
    // The one heard from now goes first.
    std::move_backward(state.seen.begin(), known, known + 1);
    state.seen.front() = from;
    plain = inner.mid(kInnerHead);
    return OpenResult::Opened;
}

} // namespace protocol
