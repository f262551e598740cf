#pragma once

#include "base/core/context.h"
#include "base/settings/pairing.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

namespace settings {

// The pairing window: whether the conversation is sealed, the code to show or to type, and
// "解除". It shows its model and hands its buttons to the pairing part.
class PairingWindow final : public QWidget {
    Q_OBJECT
public:
    PairingWindow(core::Context &context, Pairing &pairing);

    QLabel *status = nullptr;
    QPushButton *showButton = nullptr;
    QLabel *code = nullptr;
    QLineEdit *typed = nullptr;
    QPushButton *enterButton = nullptr;
    QLabel *result = nullptr;
    QLabel *dropped = nullptr;
    QPushButton *unpairButton = nullptr;
    QPushButton *closeButton = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void refresh();

    Pairing &m_pairing;
};

} // namespace settings
