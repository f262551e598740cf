#pragma once

#include "base/settings/optionseditor.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QWidget>

namespace settings {

// The options dialog: five pages of controls following the dialog's model.
class OptionsWindow final : public QWidget {
    Q_OBJECT
public:
    OptionsWindow(core::Context &context, OptionsEditor &dialog);

    QTabBar *tabStrip = nullptr;
    QStackedWidget *pages = nullptr;
    QCheckBox *sendConfirm = nullptr, *sendConfirmSmall = nullptr, *recvConfirm = nullptr,
              *recvConfirmSmall = nullptr, *autoErase = nullptr, *rejectOthers = nullptr,
              *addOnHold = nullptr, *logEnabled = nullptr, *logSave = nullptr, *notifyStartEnd = nullptr,
              *blinkIcon = nullptr, *passwordEnabled = nullptr, *randomIcon = nullptr, *tipEnabled = nullptr,
              *startLocked = nullptr, *startAtLogin = nullptr, *desktopNotifications = nullptr;
    QLineEdit *storedPassword = nullptr, *currentPassword = nullptr, *newPassword = nullptr,
              *fontName = nullptr, *fontSize = nullptr, *sendTitle = nullptr, *userName = nullptr,
              *tipText = nullptr;
    QLabel *fontColor = nullptr;
    QRadioButton *posLeftUp = nullptr, *posRightUp = nullptr, *posLeftLow = nullptr, *posRightLow = nullptr,
                 *posCenter = nullptr;
    QPushButton *setPasswordButton = nullptr, *fontButton = nullptr, *colorButton = nullptr,
                *okButton = nullptr, *cancelButton = nullptr, *applyButton = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QWidget *buildSendPage();
    QWidget *buildPasswordPage();
    QWidget *buildDisplayPage();
    QWidget *buildUserPage();
    QWidget *buildOtherPage();
    QCheckBox *check(const QString &caption, const char *name, int OptionsView::*field,
                     std::optional<OptionsCheck> dependents = std::nullopt);
    QLineEdit *line(const char *name, QString OptionsView::*field);
    QRadioButton *radio(const QString &caption, const char *name, bool OptionsView::*field);
    void refresh();

    OptionsEditor &m_dialog;
    QLabel *m_otherPagePicture = nullptr; // the icon set in use, as the window's icon
    bool m_refreshing = false;
};

} // namespace settings
