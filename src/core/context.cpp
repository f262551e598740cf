#include "core/context.h"

#include "text/cp932.h"

namespace core {

Context::Context(const Services &s) : services(s)
{
    opt.fontName = s.defaultFontName;
}

Context::~Context() = default;

LetterWindowModel &Context::frmLetter()
{
    if (!m_letter) {
        m_letter = std::make_unique<LetterWindowModel>();
        emit letterLoadedChanged(true);
    }
    return *m_letter;
}

void Context::unloadLetter()
{
    if (!m_letter)
        return;
    m_letter.reset();
    emit letterLoadedChanged(false);
}

void Context::nidSet()
{
    platform::TrayRecord &nid = state.nid;
    nid = platform::TrayRecord{};
    nid.hIcon = state.trayIcon.handle();
    // The tip field holds 64 bytes; a longer text is cut on a character boundary, never mid-kanji.
    const QString tip = opt.tipEnabled == 1 ? opt.tipText : QString();
    nid.szTip = text::cp932Prefix(tip, platform::TrayRecord::tipBytes);
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

bool Context::messageWaiting() const
{
    return frmRecv.icon().handle() == state.nid.hIcon;
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
    frmSnd.setTxtMsgStyle(style);
    frmRecv.setTextStyles(style, style);
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
