#include "checks.h"

#include "base/protocol/seal.h"
#include "base/protocol/tags.h"
#include "base/protocol/wire.h"
#include "base/settings/optfile.h"
#include "base/settings/partner.h"
#include "base/text/cp932.h"

#include <algorithm>
#include <cstring>
#include <set>

namespace fuzzcheck {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

QString hex(QByteArrayView bytes)
{
    return QString::fromLatin1(bytes.toByteArray().toHex(' '));
}

// The first byte where two files differ, for a readable report.
QString firstDifference(const QByteArray &a, const QByteArray &b)
{
    qsizetype at = 0;
    while (at < a.size() && at < b.size() && a[at] == b[at])
        ++at;
    return QStringLiteral("byte %1: %2 / %3").arg(at).arg(hex(a.mid(at, 16)), hex(b.mid(at, 16)));
}

// Decoding then encoding again. Every character comes back as the bytes it came from, except where
// the code page has two codes for one character (the NEC and IBM copies of the same kanji and
// symbols): such a code comes back as the one Windows writes, which decodes to the same character.
void checkCodeRoundTrip(QByteArrayView bytes, const QString &decoded, QStringList &broken)
{
    if (decoded.size() > bytes.size() || decoded.size() * 2 < bytes.size())
        broken << QStringLiteral("%1 bytes decoded to %2 characters").arg(bytes.size()).arg(decoded.size());

    // A character that did not decode is written as "?", so the encoded text always reads back.
    const QByteArray encoded = text::toCp932(decoded);
    QString readable = decoded;
    readable.replace(QChar(kReplacement), u'?');
    if (text::fromCp932(encoded) != readable)
        broken << QStringLiteral("re-encoded text reads back differently: %1").arg(hex(encoded.left(64)));

    if (decoded.contains(QChar(kReplacement)))
        return;
    qsizetype pos = 0;
    for (const QChar ch : decoded) {
        const QByteArray unit = text::toCp932(QStringView(&ch, 1));
        if (pos + unit.size() > bytes.size()) {
            broken << QStringLiteral("U+%1 re-encodes past the end of the input")
                          .arg(static_cast<uint>(ch.unicode()), 4, 16, QChar(u'0'));
            return;
        }
        const QByteArrayView original = bytes.sliced(pos, unit.size());
        const bool sameCharacter = unit.size() == 2 && text::fromCp932(original) == QString(ch);
        if (original != unit && !sameCharacter) {
            broken << QStringLiteral("byte %1 (%2) decoded to U+%3, which encodes as %4")
                          .arg(pos)
                          .arg(hex(original))
                          .arg(static_cast<uint>(ch.unicode()), 4, 16, QChar(u'0'))
                          .arg(hex(unit));
            return;
        }
        pos += unit.size();
    }
    if (pos != bytes.size())
        broken << QStringLiteral("decoded text re-encodes to %1 of %2 bytes").arg(pos).arg(bytes.size());
}

// A byte below hex 40 (a line break, a digit, a blank) is never the second byte of a pair, so it is
// always a character of its own and always a boundary: whatever stands before it, a damaged pair
// included, cannot swallow it. Decoding the pieces between such bytes one by one must give the
// same text as decoding the whole.
void checkResynchronisation(QByteArrayView bytes, const QString &decoded, QStringList &broken)
{
    QString pieces;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= bytes.size(); ++i) {
        if (i < bytes.size() && static_cast<uchar>(bytes[i]) >= 0x40)
            continue;
        pieces += text::fromCp932(bytes.sliced(start, i - start));
        if (i < bytes.size())
            pieces += QChar(char16_t{static_cast<uchar>(bytes[i])});
        start = i + 1;
    }
    if (pieces != decoded)
        broken << QStringLiteral("a byte below hex 40 did not stand as a character of its own");
}

// The longest head that fits a byte limit: within the limit, a head of the whole encoding, and
// never one character shorter than it could be.
void checkPrefix(const QString &decoded, qsizetype limit, QStringList &broken)
{
    const QByteArray encoded = text::toCp932(decoded);
    const QByteArray head = text::cp932Prefix(decoded, limit);
    if (head.size() > limit || !encoded.startsWith(head)) {
        broken << QStringLiteral("cp932Prefix(%1) gave %2").arg(limit).arg(hex(head.left(64)));
        return;
    }
    const qsizetype chars = text::fromCp932(head).size();
    if (chars < decoded.size() && head.size() + text::toCp932(decoded.mid(chars, 1)).size() <= limit)
        broken << QStringLiteral("cp932Prefix(%1) stopped early at %2 bytes").arg(limit).arg(head.size());
}

void checkClassify(QStringView datagram, QStringList &broken)
{
    const protocol::Kind kind = protocol::classify(datagram);
    const int value = static_cast<int>(kind);
    if (value < 0 || value > static_cast<int>(protocol::Kind::Message)) {
        broken << QStringLiteral("classify gave kind %1").arg(value);
        return;
    }
    const QStringView head = datagram.left(protocol::kTagWidth);
    // "hh:mm" in ASCII digits right after the tag: the start time of the notices and presence
    // answers. Without it such a tag is the name of a user who sent an ordinary message.
    const QStringView time = datagram.mid(protocol::kTagWidth, 5);
    const auto digit = [&](qsizetype i) { return time[i] >= u'0' && time[i] <= u'9'; };
    const bool startTime =
        time.size() == 5 && digit(0) && digit(1) && time[2] == u':' && digit(3) && digit(4);
    if (kind == protocol::Kind::Message) {
        for (const protocol::TagRow &row : protocol::kTags) {
            if (head == row.tag && (startTime || !protocol::carriesStartTime(row.kind)))
                broken << QStringLiteral("a datagram starting with tag %1 was taken for a message")
                              .arg(static_cast<int>(row.kind));
        }
    } else if (head != protocol::tagOf(kind)) {
        broken << QStringLiteral("kind %1 given to a datagram that does not start with its tag").arg(value);
    } else if (protocol::carriesStartTime(kind) && !startTime) {
        broken
            << QStringLiteral("kind %1 given to a datagram without the start time after its tag").arg(value);
    }
}

void checkFields(QStringView datagram, QStringList &broken)
{
    const protocol::MessageFields f = protocol::splitMessage(datagram);
    const auto startsAt = [&](QStringView field, qsizetype offset) {
        return field.isEmpty() ||
               (field.data() == datagram.data() + offset && offset + field.size() <= datagram.size());
    };
    if (f.name.size() > protocol::kNameWidth || f.time.size() > protocol::kTimeWidth ||
        !startsAt(f.name, 0) || !startsAt(f.time, protocol::kNameWidth) ||
        !startsAt(f.text, protocol::kTextStart - 1))
        broken << QStringLiteral("message fields outside their places in a %1-character text")
                      .arg(datagram.size());
    else if (QString(f.name.toString()).append(f.time).append(f.text) != datagram)
        broken
            << QStringLiteral("message fields do not add up to the %1-character text").arg(datagram.size());
}

// A record unlike the defaults in every field, so that a field the reader cannot read back shows.
core::Options unlikeDefaults()
{
    core::Options opt;
    const QString odd = QStringLiteral("\x01never written");
    for (QString *field :
         {&opt.iconNo, &opt.password, &opt.pwCurrentEntry, &opt.pwNewEntry, &opt.userName, &opt.tipText,
          &opt.sendTitle, &opt.fontName, &opt.fontSize, &opt.fontColor, &opt.backColor})
        *field = odd;
    for (bool *flag : {&opt.posCenter, &opt.posLeftUp, &opt.posLeftLow, &opt.posRightUp, &opt.posRightLow,
                       &opt.fontItalic, &opt.fontBold, &opt.fontUnderline, &opt.fontStrikethru})
        *flag = !*flag;
    for (qint32 *field :
         {&opt.sendConfirm, &opt.sendConfirmMin, &opt.recvConfirm, &opt.recvConfirmMin, &opt.rejectOthers,
          &opt.addOnHold, &opt.pwEnabled, &opt.randomIcon, &opt.autoErase, &opt.logEnabled, &opt.tipEnabled,
          &opt.startLocked, &opt.notifyStartEnd, &opt.blinkIcon, &opt.logSave})
        *field = -1234567;
    return opt;
}

} // namespace

QStringList checkDatagram(QByteArrayView bytes)
{
    QStringList broken;
    const QString decoded = text::fromCp932(bytes);
    checkCodeRoundTrip(bytes, decoded, broken);
    checkResynchronisation(bytes, decoded, broken);
    checkPrefix(decoded, bytes.isEmpty() ? 0 : static_cast<uchar>(bytes[0]) % (bytes.size() + 1), broken);
    checkClassify(decoded, broken);
    checkFields(decoded, broken);
    // Any text at all, not only what CP932 decodes to: the same bytes read as UTF-16 units.
    QString units(bytes.size() / 2, Qt::Uninitialized);
    if (!units.isEmpty())
        std::memcpy(units.data(), bytes.data(), static_cast<std::size_t>(units.size()) * sizeof(char16_t));
    checkClassify(units, broken);
    checkFields(units, broken);
    return broken;
}

QStringList checkOptionsFile(const QByteArray &bytes)
{
    QStringList broken;
    core::Options first;
    const settings::OptionsFileState state = settings::parseOptions(bytes, first);
    if (state == settings::OptionsFileState::Foreign) {
        if (settings::formatOptions(first) != settings::formatOptions(core::Options{}))
            broken << QStringLiteral("a foreign file changed the options");
        return broken;
    }
    if (state != settings::OptionsFileState::Read) {
        broken << QStringLiteral("parsing bytes gave state %1").arg(static_cast<int>(state));
        return broken;
    }
    const QByteArray once = settings::formatOptions(first);
    core::Options second = unlikeDefaults();
    if (settings::parseOptions(once, second) != settings::OptionsFileState::Read) {
        broken << QStringLiteral("a written options file is not read as ours");
        return broken;
    }
    const QByteArray twice = settings::formatOptions(second);
    if (once != twice)
        broken << QStringLiteral("options change on a second read: ") + firstDifference(once, twice);
    return broken;
}

QStringList checkAddressFile(const QByteArray &bytes)
{
    QStringList broken;
    const std::optional<settings::AddressFile> first = settings::parseAddressFile(bytes);
    if (!first)
        return broken;
    const QByteArray once = settings::formatAddressFile(*first);
    const std::optional<settings::AddressFile> second = settings::parseAddressFile(once);
    if (!second) {
        broken << QStringLiteral("a written address file is not read as ours");
        return broken;
    }
    const QByteArray twice = settings::formatAddressFile(*second);
    if (once != twice)
        broken << QStringLiteral("partner changes on a second read: ") + firstDifference(once, twice);
    return broken;
}

DispatchRig::DispatchRig()
    : m_alone(std::make_unique<testkit::TestCopy>(m_net, QStringLiteral("127.0.0.2"))),
      m_paired(std::make_unique<testkit::TestCopy>(m_net, QStringLiteral("127.0.0.4")))
{
    // The paired copy takes the sender for its partner and has the options that change what an
    // arrival does: a user name for its answers, the start and end notices, the blinking icon.
    m_paired->writePartner(QStringLiteral("相手"), kSender);
    m_paired->writeOptions([](core::Options &opt) {
        opt.userName = QStringLiteral("ﾌｧｽﾞ");
        opt.notifyStartEnd = 1;
        opt.blinkIcon = true;
    });
    if (!m_alone->start() || !m_paired->start())
        qFatal("a copy for the dispatch did not start");
    m_net.flush();
    m_net.clearLog();
    m_alone->dialogs.clear();
    m_paired->dialogs.clear();
}

DispatchRig::~DispatchRig() = default;

QStringList DispatchRig::arrive(const QByteArray &bytes)
{
    QStringList broken;
    // How much time passes after the datagram is read from its last byte, so that the timer steps
    // (the call animation, the blink, the notices closing) run on what each arrival left behind.
    const uchar elapsed = bytes.isEmpty() ? 0 : static_cast<uchar>(bytes.back());
    for (testkit::TestCopy *copy : {m_alone.get(), m_paired.get()}) {
        copy->copy->dispatcher().arrive(bytes, kSender);
        core::TrayIcon &tray = copy->trayIcon();
        if ((elapsed & 1) && tray.isCalling())
            tray.callStep();
        if ((elapsed & 2) && tray.isBlinking())
            tray.blinkStep();
        send::SendNotices &notices = copy->notices();
        if ((elapsed & 4) && notices.reactionTimer().isActive())
            notices.reactionTick();
        if ((elapsed & 4) && notices.smallTimer().isActive())
            notices.smallTick();
    }
    m_net.flush();
    for (testkit::TestCopy *copy : {m_alone.get(), m_paired.get()}) {
        for (const testkit::ScriptedDialogs::Shown &box : copy->dialogs.shown())
            broken << QStringLiteral("%1 showed a box: %2").arg(copy->address(), box.text);
        copy->dialogs.clear();
        if (copy->copy->hasEnded())
            broken << QStringLiteral("%1 ended").arg(copy->address());
    }
    for (const testkit::SentDatagram &d : m_net.sent()) {
        if (d.to != kSender || d.port != 57979 || d.result != 0)
            broken << QStringLiteral("%1 sent to %2 port %3 (result %4): %5")
                          .arg(d.from, d.to)
                          .arg(d.port)
                          .arg(d.result)
                          .arg(d.text().left(40));
    }
    m_net.clearLog();
    return broken;
}

namespace {

// How far behind the newest count a datagram of the partner still opens (UDP reorders a little).
constexpr quint64 kReorderWindow = 64;
// The datagrams a script keeps to send again, changed or not.
constexpr qsizetype kKeptDatagrams = 64;
constexpr quint64 kHere = 0x0123456789ABCDEF;
constexpr quint64 kThere = 0xFEDCBA9876543210;

protocol::SealState sealState(quint64 self, unsigned char keyByte)
{
    protocol::SealState s;
    for (std::size_t i = 0; i < s.key.size(); ++i)
        s.key[i] = static_cast<unsigned char>(keyByte + i * 7);
    s.self = self;
    return s;
}

bool sameState(const protocol::SealState &a, const protocol::SealState &b)
{
    return a.key == b.key && a.self == b.self && a.nextCount == b.nextCount && a.seen == b.seen;
}

// The script's bytes, one after the other; zeros past its end.
class Script {
public:
    explicit Script(const QByteArray &bytes) : m_bytes(bytes) {}
    bool more() const { return m_at < m_bytes.size(); }
    uchar byte() { return more() ? static_cast<uchar>(m_bytes[m_at++]) : 0; }
    int word()
    {
        // Two statements: the operands of | may be read in either order.
        const int high = byte();
        return high << 8 | byte();
    }
    QByteArray take(qsizetype n)
    {
        QByteArray out = m_bytes.mid(m_at, n);
        m_at += out.size();
        return out;
    }

private:
    const QByteArray &m_bytes;
    qsizetype m_at = 1; // the first byte chose the script
};

// The receiving copy and what it must answer to each datagram of its partner.
struct Receiver {
    protocol::SealState state = sealState(kHere, 0x5A);
    std::set<quint64> opened;
    quint64 highest = 0;

    protocol::OpenResult expected(quint64 count) const
    {
        if (opened.empty())
            return protocol::OpenResult::Opened;
        if (opened.count(count) > 0 || (count < highest && highest - count > kReorderWindow))
            return protocol::OpenResult::Replayed;
        return protocol::OpenResult::Opened;
    }
    // Opens `datagram`; says what broke when the result is not `want`, when anything but an
    // Opened changed the state, or when what opened is not `plain`.
    void open(const QByteArray &datagram, protocol::OpenResult want, const QByteArray &plain,
              const QString &what, QStringList &broken)
    {
        const protocol::SealState before = state;
        QByteArray opened;
        const protocol::OpenResult got = protocol::open(state, datagram, opened);
        if (got != want)
            broken << QStringLiteral("%1 gave result %2, not %3: %4")
                          .arg(what)
                          .arg(static_cast<int>(got))
                          .arg(static_cast<int>(want))
                          .arg(hex(datagram.left(48)));
        if (got != protocol::OpenResult::Opened && !sameState(before, state))
            broken << what + QStringLiteral(" changed the state without opening");
        if (got == protocol::OpenResult::Opened && opened != plain)
            broken << what + QStringLiteral(" opened to other bytes: ") + hex(opened.left(48));
    }
};

// A datagram the partner sealed, and what it sealed.
struct Sealed {
    QByteArray datagram;
    QByteArray plain;
    quint64 count = 0;
};

QStringList checkSealedScript(Script &script)
{
    QStringList broken;
    Receiver here;
    protocol::SealState there = sealState(kThere, 0x5A);
    protocol::SealState stranger = sealState(kThere, 0xA5);
    std::vector<Sealed> kept;
    for (int step = 0; script.more() && broken.isEmpty(); ++step) {
        const uchar op = script.byte() % 8;
        const QString what = QStringLiteral("step %1 (%2)").arg(step).arg(op);
        if (op == 0 || op == 5 || op == 7) {
            // The partner seals; this copy seals (and someone sends it back); another pair seals.
            const QByteArray plain = script.take(script.byte());
            protocol::SealState &sealer = op == 0 ? there : op == 5 ? here.state : stranger;
            const quint64 count = sealer.nextCount;
            const QByteArray datagram = protocol::seal(sealer, plain);
            if (!protocol::isSealed(datagram) || datagram.size() != plain.size() + protocol::kSealOverhead ||
                sealer.nextCount != count + 1)
                broken << what + QStringLiteral(": sealed %1 bytes into %2")
                                     .arg(plain.size())
                                     .arg(hex(datagram.left(48)));
            if (op == 5)
                here.open(datagram, protocol::OpenResult::Reflected, {}, what, broken);
            else if (op == 7)
                here.open(datagram, protocol::OpenResult::Damaged, {}, what, broken);
            else if (static_cast<qsizetype>(kept.size()) < kKeptDatagrams)
                kept.push_back({datagram, plain, count});
            continue;
        }
        if (op == 6) {
            // Lost on the way: counts the receiver never sees.
            there.nextCount += script.byte() + 1u;
            continue;
        }
        if (kept.empty())
            continue;
        const Sealed &d = kept[script.byte() % kept.size()];
        QByteArray changed = d.datagram;
        if (op == 2) {
            const qsizetype at = script.word() % changed.size();
            changed[at] = static_cast<char>(changed[at] ^ (script.byte() % 255 + 1));
        } else if (op == 3) {
            changed.truncate(script.word() % changed.size());
        } else if (op == 4) {
            changed += script.take(script.byte() % 16 + 1);
            if (changed.size() == d.datagram.size())
                changed += '\0';
        }
        if (op != 1) {
            here.open(changed, protocol::OpenResult::Damaged, {}, what + QStringLiteral(", changed"), broken);
            continue;
        }
        const protocol::OpenResult want = here.expected(d.count);
        here.open(d.datagram, want, d.plain, what + QStringLiteral(", count %1").arg(d.count), broken);
        if (want == protocol::OpenResult::Opened) {
            here.opened.insert(d.count);
            here.highest = std::max(here.highest, d.count);
        }
    }
    return broken;
}

} // namespace

QStringList checkSealed(const QByteArray &input)
{
    if (!input.isEmpty() && (static_cast<uchar>(input[0]) & 1) != 0) {
        Script script(input);
        return checkSealedScript(script);
    }
    QStringList broken;
    const QByteArray datagram = input.mid(1);
    // Without the key nothing opens, whatever the receiver has seen of its partner before.
    Receiver fresh;
    fresh.open(datagram, protocol::OpenResult::Damaged, {}, QStringLiteral("a datagram from anyone"), broken);
    Receiver seen;
    seen.state.seen[0] = {kThere, 1000, 0x5555};
    seen.open(datagram, protocol::OpenResult::Damaged, {},
              QStringLiteral("a datagram from anyone, after the partner's"), broken);
    // The same bytes typed as a pairing code: read only as exactly 20 ASCII digits.
    const std::optional<QByteArray> digits = protocol::pairCodeDigits(QString::fromUtf8(datagram));
    if (digits && (digits->size() != 20 ||
                   std::any_of(digits->begin(), digits->end(), [](char c) { return c < '0' || c > '9'; })))
        broken << QStringLiteral("a typed code read as %1").arg(hex(*digits));
    return broken;
}

} // namespace fuzzcheck
