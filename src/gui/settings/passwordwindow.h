#pragma once

#include "base/settings/passwordprompt.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

namespace settings {

class PasswordWindow final : public QWidget {
    Q_OBJECT
public:
    PasswordWindow(core::Context &context, PasswordPrompt &prompt);

    QLabel *noteLabel = nullptr;
    QLabel *promptLabel = nullptr;
    QLineEdit *password = nullptr;
    QPushButton *okButton = nullptr;
    QPushButton *cancelButton = nullptr;
    QLabel *picture = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    PasswordPrompt &m_prompt;
};

} // namespace settings
