#pragma once

#include "base/core/context.h"
#include "base/settings/partner.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

namespace settings {

// The partner registration window. It shows its model and hands its buttons to the handlers.
class PartnerWindow final : public QWidget {
    Q_OBJECT
public:
    PartnerWindow(core::Context &context, Partner &partner);

    QGroupBox *frame = nullptr;
    QLabel *nameCaption = nullptr;
    QLineEdit *name = nullptr;
    QLabel *addressCaption = nullptr;
    QLineEdit *address = nullptr;
    QPushButton *registerButton = nullptr;
    QPushButton *closeButton = nullptr;
    QPushButton *checkButton = nullptr;
    QPushButton *pairButton = nullptr;
    QLabel *checkResult = nullptr;
    QLabel *picture = nullptr;
    QLabel *mutualPicture = nullptr;
    QLabel *oneSidedPicture = nullptr;
    QLabel *nobodyPicture = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void refresh();

    core::Context &m_context;
    Partner &m_partner;
};

} // namespace settings
