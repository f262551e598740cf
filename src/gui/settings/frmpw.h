#pragma once

#include "base/settings/password.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

namespace settings {

class FrmPw final : public QWidget {
    Q_OBJECT
public:
    FrmPw(core::Context &context, PasswordWindow &window);

    QLabel *Label2 = nullptr;
    QLabel *Label1 = nullptr;
    QLineEdit *TxtPw = nullptr;
    QPushButton *CmdOK = nullptr;
    QPushButton *Command2 = nullptr;
    QLabel *Image1 = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    core::Context &m_context;
    PasswordWindow &m_window;
};

} // namespace settings
