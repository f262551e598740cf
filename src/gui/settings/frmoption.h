#pragma once

#include "base/core/context.h"
#include "base/settings/iconselection.h"

#include <QButtonGroup>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

#include <array>

namespace shell {

// The icon selection window: a radio button for each of the ten sets, beside its normal and its
// received picture. It lives for the run and only hides.
class FrmOption final : public QWidget {
    Q_OBJECT
public:
    FrmOption(core::Context &context, settings::IconSelection &selection);

    std::array<QRadioButton *, core::kIconSets> Option1{};
    std::array<QLabel *, core::kIconSets> Image1{}; // normal pictures
    std::array<QLabel *, core::kIconSets> Image2{}; // received pictures
    QPushButton *CmdOK = nullptr;
    QPushButton *CmdCancel = nullptr;
    QFrame *Line1 = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void refresh();

    settings::IconSelection &m_selection;
    QButtonGroup m_group;
};

} // namespace shell
