#include "base/settings/pairing.h"

#include "base/core/product.h"
#include "base/protocol/tags.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <sodium.h>

namespace settings {
namespace {

const QString kAddress = QStringLiteral("partner");
const QString kKey = QStringLiteral("key");
const QString kSelf = QStringLiteral("self");
const QString kSealFrom = QStringLiteral("sealFrom");
const QString kHeard = QStringLiteral("heard");
const QString kNumber = QStringLiteral("number");
const QString kSeen = QStringLiteral("seen");
// A key file is a few hundred bytes; anything much bigger is not one.
constexpr qint64 kMostBytes = 4096;

// 64-bit numbers go as text: JSON numbers are doubles.
QString number(quint64 n)
{
    return QString::number(n);
}
quint64 numberOf(const QJsonObject &o, const QString &name)
{
    return o.value(name).toString().toULongLong();
}

} // namespace

Pairing::Pairing(core::Context &context, Partner &partner, protocol::Outbox &outbox)
    : m_context(context), m_partner(partner), m_outbox(outbox)
{
    context.followIconSet(m_slot);
    m_confirmTimer.setInterval(kConfirmAskMs);
    connect(&m_confirmTimer, &QTimer::timeout, this, &Pairing::askPartner);
    m_saveTimer.setSingleShot(true);
    m_saveTimer.setInterval(kSaveDelayMs);
    connect(&m_saveTimer, &QTimer::timeout, this, [this] { writeFile(); });
    connect(&partner, &Partner::registeredChanged, this, &Pairing::partnerChanged);
    connect(&partner, &Partner::pairingRequested, this, qOverload<>(&Pairing::open));
    outbox.setSealer(this);
}

void Pairing::plugInto(protocol::Dispatcher &dispatcher)
{
    dispatcher.setSealer(this);
    dispatcher.addWatcher([this](const protocol::Arrival &a) {
        if (!m_state || a.sender.sealed || a.sender.address != m_pairedAddress)
            return;
        // The user search is plain between paired copies too.
        const protocol::Kind kind = protocol::classify(a.text);
        if (kind != protocol::Kind::SearchRequest && kind != protocol::Kind::SearchResult)
            count(&Counts::plain);
    });
}

void Pairing::readFile()
{
    const QString path = m_context.dataFile(kFileName);
    m_context.services.files.removeReplaceLeftovers(path);
    QByteArray bytes;
    if (m_context.services.files.read(path, bytes, kMostBytes) != platform::FileResult::Ok)
        return;
    const QJsonObject o = QJsonDocument::fromJson(bytes).object();
    const QByteArray key = QByteArray::fromBase64(o.value(kKey).toString().toLatin1());
    sodium_memzero(bytes.data(), static_cast<std::size_t>(bytes.size()));
    protocol::SealState state;
    state.self = numberOf(o, kSelf);
    state.nextCount = numberOf(o, kSealFrom);
    const QJsonArray heard = o.value(kHeard).toArray();
    for (qsizetype i = 0; i < heard.size() && i < qsizetype{protocol::SealState::kSendersKept}; ++i) {
        const QJsonObject from = heard.at(i).toObject();
        // Which of the counts just below the highest came is not kept: none of them is taken again.
        state.seen.at(static_cast<std::size_t>(i)) = {numberOf(from, kNumber), numberOf(from, kSeen),
                                                      ~quint64{0}};
    }
    const QString address = o.value(kAddress).toString();
    // A key for someone else (the address file was changed without us) is no key.
    if (key.size() != protocol::kPairKeyBytes || state.self == 0 || state.nextCount == 0 ||
        address.isEmpty() || address != m_partner.registered().address) {
        m_context.services.files.remove(path);
        return;
    }
    std::copy(key.begin(), key.end(), state.key.begin());
    m_state = state;
    m_pairedAddress = address;
    // The counts sealed before the end may have gone past what the file said: go on above them.
    m_reservedTo = state.nextCount;
    writeFile();
    m_partner.setPaired(true);
}

bool Pairing::writeFile()
{
    m_saveTimer.stop();
    if (!m_state)
        return true;
    if (m_state->nextCount + kCountStep / 2 > m_reservedTo)
        m_reservedTo = m_state->nextCount + kCountStep;
    const QByteArray key =
        QByteArray(reinterpret_cast<const char *>(m_state->key.data()), protocol::kPairKeyBytes);
    QJsonArray heard;
    for (const protocol::SealState::Seen &from : m_state->seen) {
        if (from.number != 0)
            heard.append(QJsonObject{{kNumber, number(from.number)}, {kSeen, number(from.highest)}});
    }
    QByteArray bytes = QJsonDocument(QJsonObject{{kAddress, m_pairedAddress},
                                                 {kKey, QString::fromLatin1(key.toBase64())},
                                                 {kSelf, number(m_state->self)},
                                                 {kSealFrom, number(m_reservedTo)},
                                                 {kHeard, heard}})
                           .toJson();
    const platform::FileResult result =
        m_context.services.files.replace(m_context.dataFile(kFileName), bytes, true);
    sodium_memzero(bytes.data(), static_cast<std::size_t>(bytes.size()));
    return result == platform::FileResult::Ok;
}

void Pairing::saveNow()
{
    if (m_saveTimer.isActive())
        writeFile();
}

QByteArray Pairing::seal(const QByteArray &plain)
{
    if (!m_state)
        return {};
    // Never a count the file does not cover: a crash would otherwise bring it back.
    if (m_state->nextCount >= m_reservedTo)
        writeFile();
    return protocol::seal(*m_state, plain);
}

std::optional<QByteArray> Pairing::open(const QByteArray &sealed)
{
    QByteArray plain;
    protocol::OpenResult result = protocol::OpenResult::Damaged;
    if (m_state) {
        const protocol::SealState::Seen before = m_state->seen.front();
        result = protocol::open(*m_state, sealed, plain);
        if (result == protocol::OpenResult::Opened) {
            const bool newNumber = m_state->seen.front().number != before.number;
            if (newNumber || m_unconfirmed) {
                m_unconfirmed.reset();
                m_confirmTimer.stop();
                if (PairingWindowModel *window = m_slot.ifLoaded())
                    window->edit([](PairingView &v) {
                        v.result = QStringLiteral("お相手と暗号化して話せることを確かめました。");
                    });
            }
            // A number not heard before is written at once: after a crash it must not be new again.
            if (newNumber)
                writeFile();
            else if (!m_saveTimer.isActive())
                m_saveTimer.start();
            refresh();
            return plain;
        }
    }
    // The code shown here: the partner typed it, and this is its first datagram.
    if (m_shown && result == protocol::OpenResult::Damaged) {
        protocol::SealState shown = *m_shown;
        if (protocol::open(shown, sealed, plain) == protocol::OpenResult::Opened && take(shown)) {
            if (PairingWindowModel *window = m_slot.ifLoaded())
                window->edit([](PairingView &v) {
                    v.result = QStringLiteral("お相手がコードを入力しました。暗号化しました。");
                });
            refresh();
            return plain;
        }
    }
    if (!m_state)
        count(&Counts::unpaired);
    else if (result == protocol::OpenResult::Replayed)
        count(&Counts::replayed);
    else if (result == protocol::OpenResult::Reflected)
        count(&Counts::reflected);
    else
        count(&Counts::damaged);
    return std::nullopt;
}

void Pairing::count(quint64 Counts::*which)
{
    ++(m_counts.*which);
    refresh();
}

std::optional<protocol::PairKey> Pairing::keyOf(const QString &code)
{
    if (m_partner.registered().address.isEmpty()) {
        m_context.box(QStringLiteral("お相手登録を行ってください。"), platform::box::exclamation);
        return std::nullopt;
    }
    const std::optional<QByteArray> digits = protocol::pairCodeDigits(code);
    if (!digits) {
        m_context.box(QStringLiteral("コードは 20 桁の数字です（4 桁ずつ 5 組）。"),
                      platform::box::exclamation);
        return std::nullopt;
    }
    std::optional<protocol::PairKey> key = protocol::derivePairKey(*digits);
    if (!key)
        m_context.box(QStringLiteral("メモリが足りないため、鍵を作れませんでした。"), platform::box::critical,
                      core::kErrorTitle);
    return key;
}

bool Pairing::take(const protocol::SealState &state)
{
    const std::optional<protocol::SealState> before = m_state;
    const QString beforeAddress = m_pairedAddress;
    const quint64 beforeReserved = m_reservedTo;
    m_state = state;
    m_pairedAddress = m_partner.registered().address;
    m_reservedTo = 0;
    const platform::FileResult saved = m_context.withDiskRetry(
        [this] { return writeFile() ? platform::FileResult::Ok : platform::FileResult::Failed; },
        QStringLiteral("ディスクの空き容量が不足しています。"), core::kErrorTitle);
    if (saved != platform::FileResult::Ok) {
        // A key that is not in its file would be lost at the end: nothing changes.
        m_state = before;
        m_pairedAddress = beforeAddress;
        m_reservedTo = beforeReserved;
        m_context.box(QStringLiteral("鍵を保存できませんでした。暗号化していません。"),
                      platform::box::critical, core::kErrorTitle);
        return false;
    }
    // A shown code has done its work, or is overtaken by the one typed: it pairs nobody else.
    m_shown.reset();
    if (PairingWindowModel *window = m_slot.ifLoaded())
        window->edit([](PairingView &v) { v.code.clear(); });
    m_partner.setPaired(true);
    refresh();
    return true;
}

bool Pairing::pairWith(const QString &code)
{
    const std::optional<protocol::PairKey> key = keyOf(code);
    if (!key)
        return false;
    // The same code again (typed twice, say) goes on with the same key and counts.
    if (m_state && m_state->key == *key && m_pairedAddress == m_partner.registered().address)
        return take(*m_state);
    protocol::SealState state;
    state.key = *key;
    state.self = protocol::newSealerNumber();
    return take(state);
}

void Pairing::open()
{
    PairingWindowModel &loaded = window();
    refresh();
    loaded.show();
}

void Pairing::showCode()
{
    const QString code = protocol::newPairCode();
    const std::optional<protocol::PairKey> key = keyOf(code);
    if (!key)
        return;
    protocol::SealState state;
    state.key = *key;
    state.self = protocol::newSealerNumber();
    m_shown = state;
    window().edit([&](PairingView &v) {
        v.code = code;
        v.result = QStringLiteral("お相手の「暗号化…」の窓で、このコードを入力してもらってください。");
    });
}

void Pairing::enterCode()
{
    Before before{m_state, m_pairedAddress};
    if (!pairWith(window().view().typed))
        return;
    m_unconfirmed = std::move(before);
    m_asks = 0;
    askPartner();
    m_confirmTimer.start();
    window().edit([](PairingView &v) {
        v.typed.clear();
        v.result = QStringLiteral("お相手の応答を待っています…");
    });
}

void Pairing::askPartner()
{
    if (m_asks++ >= kConfirmAsks) {
        confirmTimeout();
        return;
    }
    // The partner's answer, sealed with the same key, confirms the code.
    m_outbox.send(m_partner.registered().peer(), protocol::tagOf(protocol::Kind::PresenceRequest));
}

void Pairing::confirmTimeout()
{
    m_confirmTimer.stop();
    if (!m_unconfirmed)
        return;
    const Before before = std::move(*m_unconfirmed);
    m_unconfirmed.reset();
    if (before.state && before.address == m_partner.registered().address) {
        m_state = before.state;
        m_pairedAddress = before.address;
        writeFile();
    } else {
        forget();
    }
    if (PairingWindowModel *window = m_slot.ifLoaded()) {
        window->edit([](PairingView &v) {
            v.result =
                QStringLiteral("お相手から暗号化された応答がありませんでした。コードが違うか、お相手の窓に"
                               "コードが表示されていません。元のままにしました。");
        });
    }
    refresh();
}

void Pairing::forget()
{
    m_confirmTimer.stop();
    m_saveTimer.stop();
    m_unconfirmed.reset();
    m_state.reset();
    m_pairedAddress.clear();
    m_context.services.files.remove(m_context.dataFile(kFileName));
    m_partner.setPaired(false);
    refresh();
}

void Pairing::unpair()
{
    const bool was = paired();
    forget();
    if (PairingWindowModel *window = m_slot.ifLoaded())
        window->edit(
            [was](PairingView &v) { v.result = was ? QStringLiteral("暗号化を解除しました。") : QString(); });
}

void Pairing::close()
{
    m_slot.unload();
}

void Pairing::partnerChanged()
{
    if (!m_state)
        return;
    // The key is the partner it was made with: another partner is not paired.
    if (m_partner.registered().address != m_pairedAddress)
        forget();
    else
        m_partner.setPaired(true);
}

void Pairing::refresh()
{
    PairingWindowModel *window = m_slot.ifLoaded();
    if (window == nullptr)
        return;
    const core::RegisteredPartner &partner = m_partner.registered();
    const QString who = partner.name.trimmed().isEmpty() ? partner.address : partner.name.trimmed();
    window->edit([&](PairingView &v) {
        v.sealed = m_state.has_value();
        v.confirmed = m_state && m_state->heardFromPartner();
        if (partner.address.isEmpty())
            v.status = QStringLiteral("お相手が登録されていません。");
        else if (!v.sealed)
            v.status = QStringLiteral("%1 さんとの会話は暗号化されていません。").arg(who);
        else if (!v.confirmed)
            v.status =
                QStringLiteral("%1 さんとの会話は暗号化されています（お相手からはまだ何も届いていません）。")
                    .arg(who);
        else
            v.status = QStringLiteral("%1 さんとの会話は暗号化されています。").arg(who);
        const Counts &n = m_counts;
        v.dropped =
            n.total() == 0
                ? QString()
                : QStringLiteral("受け取らずに捨てたデータ：%1 件（開けない %2、再送 %3、はね返り %4、"
                                 "鍵がないとき %5、暗号化なし %6）")
                      .arg(n.total())
                      .arg(n.damaged)
                      .arg(n.replayed)
                      .arg(n.reflected)
                      .arg(n.unpaired)
                      .arg(n.plain);
    });
}

} // namespace settings
