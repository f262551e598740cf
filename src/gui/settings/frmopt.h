#pragma once

#include "base/settings/optionsdialog.h"

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
class FrmOpt final : public QWidget {
    Q_OBJECT
public:
    FrmOpt(core::Context &context, OptionsDialog &dialog);

    QTabBar *TabStrip1 = nullptr;
    QStackedWidget *pages = nullptr;
    QCheckBox *ChkSend = nullptr, *ChkSndMin = nullptr, *ChkRecv = nullptr, *ChkRcvMin = nullptr,
              *ChkTime = nullptr, *ChkOther = nullptr, *ChkAdd = nullptr, *ChkLog = nullptr,
              *ChkHzn = nullptr, *ChkTuti = nullptr, *ChkBlink = nullptr, *ChkPw1 = nullptr,
              *ChkIcon = nullptr, *ChkTip = nullptr, *ChkLock = nullptr;
    QLineEdit *TxtPw1 = nullptr, *TxtPw2 = nullptr, *TxtPw3 = nullptr, *TxtFont = nullptr, *TxtSize = nullptr,
              *TxtTitle = nullptr, *TxtName = nullptr, *TxtToolTip = nullptr;
    QLabel *TxtColor = nullptr;
    QRadioButton *OptLeftup = nullptr, *OptRightup = nullptr, *OptLeftlow = nullptr, *OptRightlow = nullptr,
                 *OptCenter = nullptr;
    QPushButton *CmdPok = nullptr, *CmdFont = nullptr, *CmdColor = nullptr, *CmdOK = nullptr,
                *CmdCancel = nullptr, *CmdWrite = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QWidget *buildSendPage();
    QWidget *buildPasswordPage();
    QWidget *buildDisplayPage();
    QWidget *buildUserPage();
    QWidget *buildOtherPage();
    QCheckBox *check(const QString &caption, const char *name, int OptView::*field,
                     std::optional<OptCheck> dependents = std::nullopt);
    QLineEdit *line(const char *name, QString OptView::*field);
    QRadioButton *radio(const QString &caption, const char *name, bool OptView::*field);
    void refresh();

    core::Context &m_context;
    OptionsDialog &m_dialog;
    bool m_refreshing = false;
};

} // namespace settings
