#include "base/settings/partner.h"

#include "base/protocol/tags.h"
#include "base/text/address.h"
#include "base/text/fields.h"
#include "base/text/quotedfields.h"

namespace settings {
namespace {

const QString kMarker = QStringLiteral("adrFile");
const QString kFileName = QStringLiteral("adrFile.dat");
constexpr qint64 kMaxFileBytes = 1024 * 1024;
constexpr int kErrorBox = platform::box::okOnly | platform::box::critical;

} // namespace

std::optional<AddressFile> parseAddressFile(const QByteArray &bytes)
{
    text::QuotedFieldReader reader(bytes);
    if (reader.next() != kMarker)
        return std::nullopt;
    AddressFile partner;
    partner.name = reader.next().value_or(QString());
    partner.address = reader.next().value_or(QString());
    return partner;
}

QByteArray formatAddressFile(const AddressFile &partner)
{
    return text::writeQuotedLines({{kMarker}, {partner.name, partner.address}});
}

void Partner::readFile()
{
    core::Context &context = m_context;
    const QString path = context.dataFile(kFileName);
    context.services.files.removeReplaceLeftovers(path);
    QByteArray bytes;
    if (context.services.files.read(path, bytes, kMaxFileBytes) != platform::FileResult::Ok)
        return;
    const std::optional<AddressFile> partner = parseAddressFile(bytes);
    if (!partner) {
        context.box(QStringLiteral("ミルトアンヌのﾌｧｲﾙではありません"), platform::box::okOnly,
                    core::kErrorTitle);
        return;
    }
    // Compared with every sender's address, so held in the form senders arrive with.
    m_registered = {partner->name, text::dottedQuad(partner->address)};
    m_slot.get().edit([&](PartnerView &v) {
        v.name = m_registered.name;
        v.address = m_registered.address;
    });
}

Partner::Partner(core::Context &context, protocol::Outbox &outbox) : m_context(context), m_outbox(outbox)
{
    context.menu.setAction(core::MenuId::Partner, [this] { open(); });
    context.followIconSet(m_slot);
    m_checkTimer.setSingleShot(true);
    m_checkTimer.setInterval(kCheckWaitMs);
    connect(&m_checkTimer, &QTimer::timeout, this, &Partner::checkTimeout);
}

void Partner::open()
{
    if (m_context.opt.passwordProtected()) {
        // Without a password window to answer, the registration stays closed rather than unguarded.
        emit passwordNeeded();
        return;
    }
    showWindow();
}

void Partner::plugInto(protocol::Dispatcher &dispatcher)
{
    dispatcher.addHandler(protocol::Kind::PresenceOk,
                          [this](const protocol::Arrival &a) { presenceAnswered(a, true); });
    dispatcher.addHandler(protocol::Kind::PresenceOneSided,
                          [this](const protocol::Arrival &a) { presenceAnswered(a, false); });
}

void Partner::showWindow()
{
    PartnerWindowModel &window = m_slot.get();
    window.edit([&](PartnerView &v) {
        v.name = m_registered.name;
        v.address = m_registered.address;
    });
    window.show();
}

bool Partner::addressTyped(const QString &address)
{
    if (!address.isEmpty())
        return true;
    m_context.box(QStringLiteral("IPｱﾄﾞﾚｽは必ず指定してください。"), kErrorBox, core::kErrorTitle);
    return false;
}

void Partner::registerPartner()
{
    const PartnerView &v = m_slot.get().view();
    if (!addressTyped(v.address))
        return;
    // What is typed is kept as the address it means ("198.18.0.05" is 198.18.0.5); "255" is
    // refused in either form, so that no spelling reaches a broadcast address.
    const QString address = text::dottedQuad(v.address);
    if (v.address.contains(QStringLiteral("255")) || address.contains(QStringLiteral("255"))) {
        m_context.box(QStringLiteral("入力されたIPｱﾄﾞﾚｽは指定できません。"), kErrorBox, core::kErrorTitle);
        return;
    }
    const AddressFile partner{v.name, address};
    const QByteArray bytes = formatAddressFile(partner);
    const QString path = m_context.dataFile(kFileName);
    const platform::FileResult saved =
        m_context.withDiskRetry([&] { return m_context.services.files.replace(path, bytes, false); },
                                QStringLiteral("ディスクの空き容量が不足しています。"), core::kErrorTitle);
    // A registration that could not be saved changes nothing: the old partner stays.
    if (saved != platform::FileResult::Ok)
        return;
    m_registered = {partner.name, partner.address};
    emit registeredChanged();
    m_slot.get().edit([&](PartnerView &view) { view.address = partner.address; });
    // The received window's answers still go to whoever wrote what it holds.
    m_context.box(QStringLiteral("保存しました。"), platform::box::information);
}

void Partner::setRegistered(core::RegisteredPartner partner)
{
    m_registered = std::move(partner);
    emit registeredChanged();
}

void Partner::checkPresence()
{
    PartnerWindowModel &window = m_slot.get();
    if (!addressTyped(window.view().address))
        return;
    const QString address = text::dottedQuad(window.view().address);
    window.edit([](PartnerView &v) {
        v.checkResult.clear();
        v.checkHint.clear();
    });
    // Only asked: the partner, and where messages go, change with "登録" alone.
    // Asked sealed when it is the paired partner's address: only then can the partner answer that
    // it has us as its partner.
    const core::Peer asked(address, m_registered.paired && address == m_registered.address);
    m_outbox.send(asked, protocol::tagOf(protocol::Kind::PresenceRequest));
    m_asked = {asked, m_context.now(), false};
    m_checkTimer.start();
}

void Partner::presenceAnswered(const protocol::Arrival &answer, bool mutual)
{
    // Anyone can send an answer: only one to a check just made is heard. A PC with two addresses
    // may answer from the one that was not asked, so the first answer from anywhere counts; after
    // it, only the asked address still speaks (a late answer after "いないね～！").
    // A sealed question is answered sealed: a plain answer to it is anyone's.
    if (!m_asked.at.isValid() || qAbs(m_asked.at.msecsTo(m_context.now())) > kAnswerMs ||
        (m_asked.answered && answer.sender != m_asked.peer) || (m_asked.peer.sealed && !answer.sender.sealed))
        return;
    m_asked.answered = true;
    PartnerWindowModel &window = m_slot.get();
    window.edit([&](PartnerView &v) {
        v.checkResult = mutual ? QStringLiteral("いるよ～") : QStringLiteral("片想い中");
        v.answeredMutual = mutual;
        v.answeredOneSided = !mutual;
        v.answeredNobody = false;
        v.checkHint.clear();
    });
    window.setCaption(QStringLiteral("ミルトアンヌ　起動時間：") +
                      text::charsBetween(answer.text, 12, 16).toString());
}

void Partner::checkTimeout()
{
    m_checkTimer.stop();
    PartnerWindowModel *window = m_slot.ifLoaded();
    if (window == nullptr || !window->view().checkResult.isEmpty())
        return;
    window->edit([](PartnerView &v) {
        v.checkResult = QStringLiteral("いないね～！");
        v.answeredMutual = false;
        v.answeredOneSided = false;
        v.answeredNobody = true;
        // The usual reason besides a partner that is not running, and the one users cannot see.
        v.checkHint = QStringLiteral("応答がありません。相手のミルトアンヌが起動していないか、"
                                     "どちらかのﾌｧｲｱｳｫｰﾙが UDP 57979 番をふさいでいる可能性があります。");
    });
}

void Partner::close()
{
    m_checkTimer.stop();
    m_slot.unload();
}

} // namespace settings
