#include "base/core/context.h"

#include "base/text/cp932.h"

#include <QDir>
#include <QRandomGenerator>

namespace core {

namespace {
constexpr int kTimerMs = 500;
}

Context::Context(const Services &s)
    : services(s),
      sentHistory({QStringLiteral(" 送信日"), QStringLiteral("送信時間"),
                   QStringLiteral("受信時間（相手が受信した時間）"), QStringLiteral("送信ﾒｯｾｰｼﾞ")}),
      receivedHistory({QStringLiteral(" 受信日"), QStringLiteral("送信時間（相手が送信した時間）"),
                       QStringLiteral("受信時間"), QStringLiteral("受信ﾒｯｾｰｼﾞ")}),
      random([](int n) { return static_cast<int>(QRandomGenerator::global()->bounded(n)); })
{
    opt.fontName = s.defaultFontName;
    callAnimationTimer.setInterval(kTimerMs);
    blinkTimer.setInterval(kTimerMs);
    for (WindowSlotBase *slot : std::initializer_list<WindowSlotBase *>{
             &letterSlot, &partnerSlot, &sendResultSlot, &reactionSlot, &smallNoticeSlot})
        followIconSet(*slot);
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
        if (result == platform::FileResult::Failed) {
            // Whatever the cause (no permission, a read-only disk, a quota, no free inode), the
            // user hears of it, with the file named so that it can be looked into.
            box(QStringLiteral("ﾌｧｲﾙを保存できませんでした。") + QChar(u'\r') +
                    QDir::toNativeSeparators(services.files.lastFailedFile()) + QChar(u'\r') +
                    QStringLiteral("(ﾌｧｲﾙまたはﾌｫﾙﾀﾞに書き込めません)"),
                platform::box::okOnly | platform::box::critical, title);
            return result;
        }
        if (result != platform::FileResult::DiskFull)
            return result;
        if (box(diskFullText, platform::box::retryCancel | platform::box::critical, title) !=
            platform::box::retry)
            return result;
    }
}

void Context::fillTrayRecord()
{
    platform::TrayRecord &trayRecord = state.trayRecord;
    trayRecord = platform::TrayRecord{};
    trayRecord.hIcon = state.trayPicture.handle();
    // The tip field holds 64 bytes; a longer text is cut on a character boundary, never mid-kanji.
    const QString tip = opt.tipEnabled == 1 ? opt.tipText : QString();
    if (tip != m_tipSource || m_tipBytes.isNull()) {
        m_tipBytes = text::cp932Prefix(tip, platform::TrayRecord::tipBytes);
        m_tipSource = tip;
    }
    trayRecord.szTip = m_tipBytes;
}

int Context::trayCall(platform::TrayOp op)
{
    state.trayResult = services.tray.notify(op, state.trayRecord);
    return state.trayResult;
}

void Context::changeTray(IconId icon)
{
    state.trayPicture = icon;
    fillTrayRecord();
    trayCall(platform::TrayOp::Modify);
}

IconId Context::restingTrayPicture() const
{
    return messageWaiting() ? receivedWindow.icon() : composeWindow.icon();
}

void Context::lockOn()
{
    state.locked = true;
    menu.setChecked(MenuId::Lock, true);
    state.composeEntryEnabled = menu.enabled(MenuId::Compose);
    state.receivedEntryEnabled = menu.enabled(MenuId::ShowReceived);
    for (MenuId id :
         {MenuId::Compose, MenuId::ShowReceived, MenuId::History, MenuId::SendClipboard, MenuId::UserSearch,
          MenuId::Partner, MenuId::Settings, MenuId::Letter, MenuId::About, MenuId::Quit,
          MenuId::SeparatorBeforeQuit, MenuId::SeparatorBeforeAbout, MenuId::SeparatorBeforeLock,
          MenuId::SeparatorBeforePartner, MenuId::SeparatorBeforeHistory})
        menu.setVisible(id, false);
}

void Context::lockOff()
{
    for (MenuId id : {MenuId::Compose, MenuId::ShowReceived, MenuId::History, MenuId::SendClipboard,
                      MenuId::Partner, MenuId::Settings, MenuId::Letter, MenuId::About, MenuId::Quit,
                      MenuId::SeparatorBeforeQuit, MenuId::SeparatorBeforeAbout, MenuId::SeparatorBeforeLock,
                      MenuId::SeparatorBeforePartner, MenuId::SeparatorBeforeHistory})
        menu.setVisible(id, true);
    state.locked = false;
    menu.setChecked(MenuId::Lock, false);
    menu.setEnabled(MenuId::Compose, state.composeEntryEnabled);
    menu.setEnabled(MenuId::ShowReceived, state.receivedEntryEnabled);
    for (MenuId id :
         {MenuId::History, MenuId::SendClipboard, MenuId::UserSearch, MenuId::Partner, MenuId::Settings,
          MenuId::IconSet, MenuId::Options, MenuId::Letter, MenuId::About, MenuId::Quit})
        menu.setEnabled(id, true);
}

void Context::applyIconSet(int set)
{
    composeWindow.setIcon(IconId::normal(set));
    receivedWindow.setIcon(IconId::received(set));
    emit iconSetApplied(set);
}

void Context::followIconSet(WindowSlotBase &slot)
{
    connect(&slot, &WindowSlotBase::loaded, this,
            [this, &slot] { slot.loadedModel()->setIcon(IconId::normal(iconSet())); });
    connect(this, &Context::iconSetApplied, &slot, [&slot](int set) {
        if (WindowModel *window = slot.loadedModel())
            window->setIcon(IconId::normal(set));
    });
}

void Context::applyTextStyles()
{
    TextStyle style;
    style.fontName = opt.fontName;
    bool ok = false;
    if (const double size = opt.fontSize.toDouble(&ok); ok && size > 0)
        style.fontSize = size;
    if (const quint32 color = opt.fontColor.toUInt(&ok); ok)
        style.color = color & 0xFFFFFF;
    style.italic = opt.fontItalic;
    style.bold = opt.fontBold;
    style.underline = opt.fontUnderline;
    style.strikethru = opt.fontStrikethru;
    if (const quint32 back = opt.backColor.toUInt(&ok); ok)
        style.backColor = back & 0xFFFFFF;
    composeWindow.edit([&](ComposeView &v) { v.messageStyle = style; });
    receivedWindow.edit([&](ReceivedView &v) {
        v.messageStyle = style;
        v.replyStyle = style;
    });
}

void Context::setWeekday()
{
    // Qt counts Monday as 1 and Sunday as 7; the program counts Sunday as 1.
    static constexpr char16_t kDays[] = u"日月火水木金土";
    state.weekdayNumber = now().date().dayOfWeek() % 7 + 1;
    state.weekday = QString(QChar(kDays[state.weekdayNumber - 1]));
}

int Context::box(const QString &text, int style, const QString &title)
{
    const int answer = services.dialogs.messageBox(text, style, title);
    state.lastAnswer = QString::number(answer);
    return answer;
}

} // namespace core
