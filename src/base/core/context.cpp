#include "base/core/context.h"

#include "base/text/cp932.h"

#include <QRandomGenerator>

namespace core {

namespace {
constexpr int kTimerMs = 500;
}

Context::Context(const Services &s)
    : services(s), LvLog({QStringLiteral(" 送信日"), QStringLiteral("送信時間"),
                          QStringLiteral("受信時間（相手が受信した時間）"), QStringLiteral("送信ﾒｯｾｰｼﾞ")}),
      LvrcvLog({QStringLiteral(" 受信日"), QStringLiteral("送信時間（相手が送信した時間）"),
                QStringLiteral("受信時間"), QStringLiteral("受信ﾒｯｾｰｼﾞ")}),
      random([](int n) { return static_cast<int>(QRandomGenerator::global()->bounded(n)); })
{
    opt.fontName = s.defaultFontName;
    Timer1.setInterval(kTimerMs);
    Timer2.setInterval(kTimerMs);
}

int Context::iconSet() const
{
    bool ok = false;
    const int set = opt.iconNo.trimmed().toInt(&ok);
    return ok && set >= 0 && set < kIconSets ? set : 0;
}

Context::~Context() = default;

QString Context::dataFile(const QString &name) const
{
    return platform::dataFilePath(services.programDir, name);
}

platform::FileResult Context::withDiskRetry(const std::function<platform::FileResult()> &operation,
                                            const QString &diskFullText, const QString &title)
{
    for (;;) {
        const platform::FileResult result = operation();
        if (result != platform::FileResult::DiskFull)
            return result;
        if (box(diskFullText, platform::box::retryCancel | platform::box::critical, title) !=
            platform::box::retry)
            return result;
    }
}

void Context::nidSet()
{
    platform::TrayRecord &nid = state.nid;
    nid = platform::TrayRecord{};
    nid.hIcon = state.trayIcon.handle();
    // The tip field holds 64 bytes; a longer text is cut on a character boundary, never mid-kanji.
    const QString tip = opt.tipEnabled == 1 ? opt.tipText : QString();
    if (tip != m_tipSource || m_tipBytes.isNull()) {
        m_tipBytes = text::cp932Prefix(tip, platform::TrayRecord::tipBytes);
        m_tipSource = tip;
    }
    nid.szTip = m_tipBytes;
}

int Context::trayCall(platform::TrayOp op)
{
    state.nidResult = services.tray.notify(op, state.nid);
    return state.nidResult;
}

void Context::changeTray(IconId icon)
{
    state.trayIcon = icon;
    nidSet();
    trayCall(platform::TrayOp::Modify);
}

IconId Context::restingTrayPicture() const
{
    return messageWaiting() ? frmRecv.icon() : frmSnd.icon();
}

void Context::lockOn()
{
    menu.setChecked(MenuId::Lock, true);
    state.sndEnable = menu.enabled(MenuId::SendMsg);
    state.rcvEnable = menu.enabled(MenuId::RecvMsg);
    for (MenuId id : {MenuId::SendMsg, MenuId::RecvMsg, MenuId::Log, MenuId::Clip, MenuId::User, MenuId::Aite,
                      MenuId::Opt, MenuId::Letter, MenuId::About, MenuId::End, MenuId::Line1, MenuId::Line2,
                      MenuId::Line3, MenuId::Line4, MenuId::Line5})
        menu.setVisible(id, false);
}

void Context::trueEnable()
{
    for (MenuId id : {MenuId::SendMsg, MenuId::RecvMsg, MenuId::Log, MenuId::Clip, MenuId::Aite, MenuId::Opt,
                      MenuId::Letter, MenuId::About, MenuId::End, MenuId::Line1, MenuId::Line2, MenuId::Line3,
                      MenuId::Line4, MenuId::Line5})
        menu.setVisible(id, true);
    menu.setChecked(MenuId::Lock, false);
    menu.setEnabled(MenuId::SendMsg, state.sndEnable);
    menu.setEnabled(MenuId::RecvMsg, state.rcvEnable);
    for (MenuId id : {MenuId::Log, MenuId::Clip, MenuId::User, MenuId::Aite, MenuId::Opt, MenuId::Icon,
                      MenuId::Other, MenuId::Letter, MenuId::About, MenuId::End})
        menu.setEnabled(id, true);
}

void Context::applyIconSet(int set)
{
    const IconId normal = IconId::normal(set);
    frmSnd.setIcon(normal);
    if (LetterWindowModel *letter = letterSlot.ifLoaded())
        letter->setIcon(normal);
    frmAddress().setIcon(normal);
    for (WindowModel *notice :
         std::initializer_list<WindowModel *>{sndOkSlot.ifLoaded(), rcvOkSlot.ifLoaded()}) {
        if (notice != nullptr)
            notice->setIcon(normal);
    }
    frmRecv.setIcon(IconId::received(set));
    emit iconSetApplied(set);
}

void Context::fontSet()
{
    TextStyle style;
    style.fontName = opt.fontName;
    bool ok = false;
    if (const double size = opt.fontSize.toDouble(&ok); ok && size > 0)
        style.fontSize = size;
    if (const quint32 color = opt.fontColor.toUInt(&ok); ok)
        style.color = color & 0xFFFFFF;
    style.italic = truthOf(opt.fontItalic);
    style.bold = truthOf(opt.fontBold);
    style.underline = truthOf(opt.fontUnderline);
    style.strikethru = truthOf(opt.fontStrikethru);
    if (const quint32 back = opt.backColor.toUInt(&ok); ok)
        style.backColor = back & 0xFFFFFF;
    frmSnd.edit([&](MainView &v) { v.txtMsgStyle = style; });
    frmRecv.edit([&](ReceivedView &v) {
        v.text1Style = style;
        v.text2Style = style;
    });
}

void Context::youbiSet()
{
    // Qt counts Monday as 1 and Sunday as 7; the program counts Sunday as 1.
    static constexpr char16_t kDays[] = u"日月火水木金土";
    state.youbiNo = now().date().dayOfWeek() % 7 + 1;
    state.youbi = QString(QChar(kDays[state.youbiNo - 1]));
}

int Context::box(const QString &text, int style, const QString &title)
{
    const int answer = services.dialogs.messageBox(text, style, title);
    state.ans = QString::number(answer);
    return answer;
}

} // namespace core
