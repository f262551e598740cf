#include "base/settings/optionseditor.h"

#include "base/settings/autostart.h"
#include "base/settings/optfile.h"
#include "base/settings/programconfig.h"
#include "base/text/quotedfields.h"

namespace settings {
namespace {

const QString kConfirmTitle = QStringLiteral("確認");
constexpr int kPasswordTab = 2;

} // namespace

void OptionsEditor::open()
{
    fillFromRecord();
    const bool offered = !m_context.services.autostartFile.isEmpty();
    window().edit([&](OptionsView &v) { v.startAtLoginOffered = offered; });
    showStartAtLogin();
    showDesktopNotifications();
    enablePasswordBoxes();
    window().show();
}

void OptionsEditor::showDesktopNotifications()
{
    m_desktopNotificationsShown = desktopNotificationsOn(m_context.services.configFile) ? 1 : 0;
    window().edit([this](OptionsView &v) { v.desktopNotifications = m_desktopNotificationsShown; });
}

void OptionsEditor::applyDesktopNotifications()
{
    if (window().view().desktopNotifications == m_desktopNotificationsShown)
        return;
    const bool on = window().view().desktopNotifications != 0;
    const QString &path = m_context.services.configFile;
    if (setDesktopNotificationsOn(path, on)) {
        emit desktopNotificationsSwitched(on);
    } else {
        // What is in force stays what the file says, here as at the next start.
        m_context.box(
            QStringLiteral("ﾃﾞｽｸﾄｯﾌﾟ通知の設定を保存できませんでした。\r\n%1 に書き込めません。").arg(path),
            platform::box::okOnly | platform::box::critical, core::kErrorTitle);
    }
    showDesktopNotifications();
}

void OptionsEditor::showStartAtLogin()
{
    m_startAtLoginShown = startsAtLogin(m_context) ? 1 : 0;
    window().edit([this](OptionsView &v) { v.startAtLogin = m_startAtLoginShown; });
}

void OptionsEditor::applyStartAtLogin()
{
    // An entry the user did not touch here stays as it is: one the desktop switched off stays off,
    // one the user edited keeps the edits.
    if (window().view().startAtLogin == m_startAtLoginShown)
        return;
    setStartAtLogin(m_context, window().view().startAtLogin != 0);
    // After a failure the box shows what is so, not what was asked for.
    showStartAtLogin();
}

void OptionsEditor::fillFromRecord()
{
    const core::Options &o = m_context.opt;
    window().edit([&](OptionsView &v) {
        v.sendConfirm = o.sendConfirm;
        v.sendConfirmSmall = o.sendConfirmMin;
        v.recvConfirm = o.recvConfirm;
        v.recvConfirmSmall = o.recvConfirmMin;
        v.autoErase = o.autoErase;
        v.logEnabled = o.logEnabled;
        v.logSave = o.logSave;
        v.rejectOthers = o.rejectOthers;
        v.addOnHold = o.addOnHold;
        v.sendConfirmSmallEnabled = v.sendConfirm != 0;
        v.recvConfirmSmallEnabled = v.recvConfirm != 0;
        v.autoEraseEnabled = v.recvConfirm != 0;
        v.tipEnabled = o.tipEnabled;
        v.tipText = o.tipText;
        v.tipTextEnabled = v.tipEnabled != 0;
        v.logSaveEnabled = v.logEnabled != 0;
        v.passwordEnabled = o.pwEnabled;
        v.storedPassword = o.password;
        v.currentPassword = o.pwCurrentEntry;
        v.newPassword = o.pwNewEntry;
        // One button, the position that acts, whatever the file says of the others.
        const core::WindowPosition position = o.windowPosition();
        v.posLeftUp = position == core::WindowPosition::LeftUp;
        v.posRightUp = position == core::WindowPosition::RightUp;
        v.posLeftLow = position == core::WindowPosition::LeftLow;
        v.posRightLow = position == core::WindowPosition::RightLow;
        v.posCenter = position == core::WindowPosition::Center;
        v.randomIcon = o.randomIcon;
        v.userName = o.userName;
        v.startLocked = o.startLocked;
        v.notifyStartEnd = o.notifyStartEnd;
        v.blinkIcon = o.blinkIcon;
        v.sendTitle = o.sendTitle;
    });
}

void OptionsEditor::checkClicked(OptionsCheck which)
{
    if (which == OptionsCheck::Password) {
        enablePasswordBoxes();
        return;
    }
    window().edit([which](OptionsView &v) {
        switch (which) {
        case OptionsCheck::Send:
            v.sendConfirmSmallEnabled = v.sendConfirm != 0;
            break;
        case OptionsCheck::Recv:
            v.recvConfirmSmallEnabled = v.recvConfirm != 0;
            v.autoEraseEnabled = v.recvConfirm != 0;
            break;
        case OptionsCheck::Log:
            v.logSaveEnabled = v.logEnabled != 0;
            break;
        case OptionsCheck::Tip:
            v.tipTextEnabled = v.tipEnabled != 0;
            break;
        case OptionsCheck::Password:
            break;
        }
    });
}

void OptionsEditor::resetPasswordPage()
{
    const core::Options &o = m_context.opt;
    window().edit([&](OptionsView &v) {
        v.passwordEnabled = o.pwEnabled;
        v.storedPassword = o.password;
        v.currentPassword = o.pwCurrentEntry;
        v.newPassword = o.pwNewEntry;
    });
    enablePasswordBoxes();
}

void OptionsEditor::showPage(int tab)
{
    // What was typed on the password page counts only through its own OK.
    if (window().view().page == kPasswordTab)
        resetPasswordPage();
    const core::Options &o = m_context.opt;
    window().edit([&](OptionsView &v) {
        v.page = tab;
        if (tab == 3) {
            v.fontName = o.fontName;
            v.fontSize = o.fontSize;
            v.fontColor = o.backColor.toUInt() & 0xFFFFFF;
        } else if (tab == 4) {
            v.focus = QStringLiteral("TxtName");
        }
    });
}

void OptionsEditor::enablePasswordBoxes()
{
    window().edit([](OptionsView &v) {
        if (v.passwordEnabled != 0) {
            if (v.storedPassword.isEmpty())
                v.currentPassword.clear();
            else
                v.currentPasswordEnabled = true;
            v.newPasswordEnabled = true;
        } else {
            v.currentPasswordEnabled = !v.storedPassword.isEmpty();
            v.newPasswordEnabled = false;
        }
    });
}

bool OptionsEditor::passwordPageEdited()
{
    const OptionsView &v = window().view();
    const core::Options &o = m_context.opt;
    return v.passwordEnabled != o.pwEnabled || v.storedPassword != o.password ||
           v.currentPassword != o.pwCurrentEntry || v.newPassword != o.pwNewEntry;
}

OptionsEditor::Saving OptionsEditor::applyPassword()
{
    OptionsWindowModel &form = window();
    const OptionsView v = form.view();
    const int errorBox = platform::box::okOnly | platform::box::critical;
    if (v.passwordEnabled == 0 && v.storedPassword.isEmpty() && v.currentPassword.isEmpty())
        return Saving::NotSaved;
    if (v.currentPassword != v.storedPassword) {
        m_context.box(QStringLiteral("現ﾊﾟｽﾜｰﾄﾞが誤っています。"), errorBox, core::kErrorTitle);
        form.edit([&](OptionsView &w) {
            w.currentPasswordEnabled = true;
            w.focus = QStringLiteral("TxtPw2");
            if (v.passwordEnabled != 0)
                w.newPassword.clear();
        });
        return Saving::NotSaved;
    }
    QString done;
    if (v.passwordEnabled != 0) {
        if (v.newPassword.isEmpty()) {
            m_context.box(QStringLiteral("新ﾊﾟｽﾜｰﾄﾞを入力してください。"), errorBox, core::kErrorTitle);
            form.edit([](OptionsView &w) { w.focus = QStringLiteral("TxtPw3"); });
            return Saving::NotSaved;
        }
        // A password the options file would give back changed could never be typed again.
        if (!text::storesExactly(v.newPassword)) {
            m_context.box(QStringLiteral("ﾊﾟｽﾜｰﾄﾞに使用できない文字が含まれています。"), errorBox,
                          core::kErrorTitle);
            form.edit([](OptionsView &w) { w.focus = QStringLiteral("TxtPw3"); });
            return Saving::NotSaved;
        }
        done = QStringLiteral("ﾊﾟｽﾜｰﾄﾞは設定されました。");
        form.edit([](OptionsView &w) {
            w.storedPassword = w.newPassword;
            w.currentPassword.clear();
            w.newPassword.clear();
            w.currentPasswordEnabled = true;
        });
    } else {
        if (!v.newPassword.isEmpty()) {
            m_context.box(QStringLiteral("ｽﾍﾟｰｽを入力してください。"), errorBox, core::kErrorTitle);
            form.edit([](OptionsView &w) { w.focus = QStringLiteral("TxtPw3"); });
            return Saving::NotSaved;
        }
        done = QStringLiteral("ﾊﾟｽﾜｰﾄﾞは解除されました。");
        form.edit([](OptionsView &w) {
            w.storedPassword.clear();
            w.currentPassword.clear();
            w.newPassword.clear();
            w.currentPasswordEnabled = false;
            w.newPasswordEnabled = false;
        });
    }
    if (saveDialog() == Saving::Failed) {
        // A password that is not in the file is not taken either: the old one stays, here as on
        // the next start.
        resetPasswordPage();
        return Saving::Failed;
    }
    m_context.box(done, platform::box::information, kConfirmTitle);
    return Saving::Saved;
}

OptionsEditor::Saving OptionsEditor::saveDialog()
{
    const core::Options before = m_context.opt;
    takeDialogValues();
    if (!writeOptionsFile(m_context)) {
        // The save has said why it failed. What is not in the file is not in force either, so
        // that this run and the next one agree.
        m_context.opt = before;
        return Saving::Failed;
    }
    applyStartAtLogin();
    applyDesktopNotifications();
    return Saving::Saved;
}

void OptionsEditor::takeDialogValues()
{
    OptionsWindowModel &form = window();
    // Protection without a password would lock the user out.
    if (form.view().passwordEnabled != 0 && form.view().storedPassword.isEmpty())
        form.edit([](OptionsView &v) { v.passwordEnabled = 0; });
    const OptionsView &v = form.view();
    core::Options &o = m_context.opt;
    o.sendConfirm = v.sendConfirm;
    o.sendConfirmMin = v.sendConfirmSmall;
    o.recvConfirm = v.recvConfirm;
    o.recvConfirmMin = v.recvConfirmSmall;
    o.rejectOthers = v.rejectOthers;
    o.addOnHold = v.addOnHold;
    o.pwEnabled = v.passwordEnabled;
    o.password = v.storedPassword;
    o.pwCurrentEntry = v.currentPassword;
    o.pwNewEntry = v.newPassword;
    // The buttons show the position that acts; the file's flags stay as they were read until the
    // user picks another, which then stands alone.
    if (const core::WindowPosition picked =
            core::windowPositionOf(v.posCenter, v.posRightUp, v.posRightLow, v.posLeftUp, v.posLeftLow);
        picked != o.windowPosition())
        o.setWindowPosition(picked);
    o.randomIcon = v.randomIcon;
    o.userName = v.userName;
    o.autoErase = v.autoErase;
    o.logEnabled = v.logEnabled;
    o.logSave = v.logSave;
    o.tipEnabled = v.tipEnabled;
    o.tipText = v.tipText;
    o.startLocked = v.startLocked;
    o.notifyStartEnd = v.notifyStartEnd;
    o.blinkIcon = v.blinkIcon;
    o.sendTitle = v.sendTitle;
}

OptionsEditor::Saving OptionsEditor::save()
{
    // A password page left as it was filled has nothing for the password step to check (after a
    // password was set, say): OK and 更新 then save the dialog as on any other page.
    if (window().view().page == kPasswordTab && passwordPageEdited())
        return applyPassword();
    return saveDialog();
}

void OptionsEditor::accept()
{
    // A save that failed keeps the dialog open with what the user chose, to try again or cancel.
    if (save() != Saving::Failed)
        slot.unload();
}

void OptionsEditor::apply()
{
    save();
}

void OptionsEditor::cancel()
{
    slot.unload();
}

void OptionsEditor::chooseFont()
{
    core::Options &o = m_context.opt;
    platform::FontChoice preset;
    preset.name = o.fontName;
    preset.size = o.fontSize.toDouble();
    preset.italic = o.fontItalic;
    preset.bold = o.fontBold;
    preset.underline = o.fontUnderline;
    preset.strikeOut = o.fontStrikethru;
    const std::optional<platform::FontChoice> font = m_context.services.dialogs.chooseFont(preset);
    // A cancelled dialog changes nothing, not even the form of the size.
    if (!font)
        return;
    const platform::FontChoice &chosen = *font;
    // Qt's font dialog has no colour of its own, so the text colour is asked for right after it.
    // Cancelling the font cancels both; cancelling the colour keeps the colour as it was.
    if (const std::optional<quint32> color = m_context.services.dialogs.chooseColor(o.fontColor.toUInt()))
        o.fontColor = QString::number(*color);
    window().edit([&](OptionsView &v) {
        v.fontName = chosen.name;
        v.fontSize = QString::number(chosen.size);
    });
    o.fontName = chosen.name;
    o.fontSize = QString::number(chosen.size);
    o.fontItalic = chosen.italic;
    o.fontBold = chosen.bold;
    o.fontUnderline = chosen.underline;
    o.fontStrikethru = chosen.strikeOut;
    m_context.applyTextStyles();
}

void OptionsEditor::chooseColor()
{
    // A cancelled colour dialog changes nothing.
    const std::optional<quint32> chosen =
        m_context.services.dialogs.chooseColor(m_context.opt.backColor.toUInt());
    if (!chosen)
        return;
    window().edit([&](OptionsView &v) { v.fontColor = *chosen; });
    m_context.opt.backColor = QString::number(*chosen);
    m_context.applyTextStyles();
}

} // namespace settings
