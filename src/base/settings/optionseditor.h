#pragma once

#include "base/core/context.h"

namespace settings {

// The controls of the options dialog (FrmOpt). A check box holds the record's number until it is
// clicked, then 0 or 1; it shows ticked when not 0. A disabled box keeps its value.
struct OptionsView {
    int page = 1; // 1 送受信, 2 ﾊﾟｽﾜｰﾄﾞ, 3 表示, 4 ﾕｰｻﾞｰ情報, 5 その他

    int sendConfirm = 0, sendConfirmSmall = 0, recvConfirm = 0, recvConfirmSmall = 0, autoErase = 0;
    int rejectOthers = 0, addOnHold = 0, logEnabled = 0, logSave = 0, notifyStartEnd = 0, blinkIcon = 0;
    int startAtLogin = 0;            // not in the options file: whether the autostart entry is there
    int desktopNotifications = 1;    // not in the options file either: the program's config file
    bool startAtLoginOffered = true; // the desktop has an autostart folder
    bool sendConfirmSmallEnabled = true, recvConfirmSmallEnabled = true, autoEraseEnabled = true,
         logSaveEnabled = true;

    int passwordEnabled = 0;
    QString storedPassword, currentPassword, newPassword;
    bool currentPasswordEnabled = true, newPasswordEnabled = true;

    bool posLeftUp = false, posRightUp = false, posLeftLow = false, posRightLow = false, posCenter = false;
    QString fontName, fontSize, sendTitle;
    quint32 fontColor = 0xFFFFFF; // the swatch's background

    QString userName;

    int randomIcon = 0, tipEnabled = 0, startLocked = 0;
    QString tipText;
    bool tipTextEnabled = true;

    // The control that should get the input focus next ("currentPassword", "newPassword", "userName").
    QString focus;
};

class OptionsWindowModel final : public core::ViewModel<OptionsView> {
public:
    OptionsWindowModel() : ViewModel(QStringLiteral("ｵﾌﾟｼｮﾝ指定"), core::IconId::normal(0)) {}
};

// The check boxes whose clicks change what else may be used.
enum class OptionsCheck { Send, Recv, Log, Tip, Password };

// The options dialog's handlers: opening it with the record's values, the dependent enabling,
// the tabs, the password step and the three buttons, and the font and colour pickers.
class OptionsEditor final : public QObject {
    Q_OBJECT
public:
    explicit OptionsEditor(core::Context &context) : m_context(context)
    {
        context.followIconSet(slot);
        context.menu.setAction(core::MenuId::Options, [this] { open(); });
    }

    core::WindowSlot<OptionsWindowModel> slot;
    OptionsWindowModel &window() { return slot.get(); }

    // "動作環境の設定...(&O) ".
    void open();
    // A click on a check box that others depend on (its new value is already in the model).
    void checkClicked(OptionsCheck which);
    void showPage(int tab);
    void accept();
    void apply();
    void cancel();
    // "OK" on the password page.
    void setPassword() { applyPassword(); }
    void chooseFont();
    void chooseColor();

    // The password boxes' enabled states from ChkPw1 and the stored password.
    void enablePasswordBoxes();
    // The dialog into the record.
    void takeDialogValues();

signals:
    // The desktop notifications were turned on or off, and the config file says so.
    void desktopNotificationsSwitched(bool on);

private:
    enum class Saving { Saved, NotSaved, Failed };
    // The password page's step: set, change or remove the password. Failed when the options file
    // could not be written (the user has been told, and the old password stays).
    Saving applyPassword();
    // What OK and 更新 do: the password step when something is typed or ticked on the password
    // page, the whole dialog into the record and the file otherwise.
    Saving save();
    Saving saveDialog();
    // Whether the password page differs from the record it was filled from.
    bool passwordPageEdited();
    void fillFromRecord();
    // The dialog's start-at-login box into the autostart entry when the user changed it, and back
    // from what is so.
    void applyStartAtLogin();
    void showStartAtLogin();
    // The same for the desktop notifications and the config file.
    void applyDesktopNotifications();
    void showDesktopNotifications();
    void resetPasswordPage();

    core::Context &m_context;
    // What the start-at-login box showed when the dialog was filled: the entry is written or
    // removed only when the user has changed the box.
    int m_startAtLoginShown = 0;
    int m_desktopNotificationsShown = 1;
};

} // namespace settings
