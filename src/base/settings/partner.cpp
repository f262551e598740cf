#include "base/settings/partner.h"

#include "base/protocol/send.h"
#include "base/protocol/tags.h"
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

void rdAdrSub(core::Context &context)
{
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
    core::SharedState &s = context.state;
    s.aiteName = partner->name;
    s.sendAdr = partner->address;
    context.frmAddress().edit([&](core::AddressView &v) {
        v.txtName1 = s.aiteName;
        v.txtIp1 = s.sendAdr;
    });
    s.aiteAdr = s.sendAdr;
}

Partner::Partner(core::Context &context) : m_context(context)
{
    m_checkTimer.setSingleShot(true);
    m_checkTimer.setInterval(kCheckWaitMs);
    connect(&m_checkTimer, &QTimer::timeout, this, &Partner::checkTimeout);
}

void Partner::mnuAiteClick()
{
    if (m_context.opt.pwEnabled == 1) {
        // Without a password window to answer, the registration stays closed rather than unguarded.
        emit passwordNeeded();
        return;
    }
    adrEdit();
}

void Partner::adrEdit()
{
    core::AddressWindowModel &window = m_context.frmAddress();
    window.edit([&](core::AddressView &v) {
        v.txtName1 = m_context.state.aiteName;
        v.txtIp1 = m_context.state.aiteAdr;
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

void Partner::cmdOkClick()
{
    const core::AddressView &v = m_context.frmAddress().view();
    if (!addressTyped(v.txtIp1))
        return;
    if (v.txtIp1.contains(QStringLiteral("255"))) {
        m_context.box(QStringLiteral("入力されたIPｱﾄﾞﾚｽは指定できません。"), kErrorBox, core::kErrorTitle);
        return;
    }
    const AddressFile partner{v.txtName1, v.txtIp1};
    const QByteArray bytes = formatAddressFile(partner);
    const QString path = m_context.dataFile(kFileName);
    const platform::FileResult saved =
        m_context.withDiskRetry([&] { return m_context.services.files.replace(path, bytes, false); },
                                QStringLiteral("ディスクの空き容量が不足しています。"), core::kErrorTitle);
    // A registration that could not be saved changes nothing: the old partner stays.
    if (saved != platform::FileResult::Ok)
        return;
    core::SharedState &s = m_context.state;
    s.aiteName = partner.name;
    s.aiteAdr = partner.address;
    // The received window's answers still go to whoever wrote what it holds.
    m_context.box(QStringLiteral("保存しました。"), platform::box::information);
}

void Partner::cmdCheckClick()
{
    core::AddressWindowModel &window = m_context.frmAddress();
    const QString address = window.view().txtIp1;
    if (!addressTyped(address))
        return;
    window.edit([](core::AddressView &v) { v.lblCheck.clear(); });
    // Only asked: the partner, and where messages go, change with "登録" alone.
    protocol::sendDatagram(m_context, address, protocol::tagOf(protocol::Kind::PresenceRequest));
    m_context.state.presenceAskedAdr = address;
    m_context.state.presenceAskedAt = m_context.now();
    m_checkTimer.start();
}

void Partner::checkTimeout()
{
    m_checkTimer.stop();
    core::AddressWindowModel *window = m_context.addressSlot.ifLoaded();
    if (window == nullptr || !window->view().lblCheck.isEmpty())
        return;
    window->edit([](core::AddressView &v) {
        v.lblCheck = QStringLiteral("いないね～！");
        v.image2 = false;
        v.image3 = false;
        v.image4 = true;
    });
}

void Partner::cmdCancelClick()
{
    m_checkTimer.stop();
    m_context.addressSlot.unload();
}

} // namespace settings
