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
class FrmAddress final : public QWidget {
    Q_OBJECT
public:
    FrmAddress(core::Context &context, Partner &partner);

    QGroupBox *Frame1 = nullptr;
    QLabel *Label1 = nullptr;
    QLineEdit *TxtName1 = nullptr;
    QLabel *Label2 = nullptr;
    QLineEdit *TxtIp1 = nullptr;
    QPushButton *CmdOk = nullptr;
    QPushButton *CmdCancel = nullptr;
    QPushButton *CmdCheck = nullptr;
    QLabel *LblCheck = nullptr;
    QLabel *Image1 = nullptr;
    QLabel *Image2 = nullptr;
    QLabel *Image3 = nullptr;
    QLabel *Image4 = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void refresh();

    core::Context &m_context;
    Partner &m_partner;
};

} // namespace settings
