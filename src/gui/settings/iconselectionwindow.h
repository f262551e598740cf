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

namespace settings {

// The icon selection window: a radio button for each of the ten sets, beside its normal and its
// received picture. It lives for the run and only hides.
class IconSelectionWindow final : public QWidget {
    Q_OBJECT
public:
    IconSelectionWindow(core::Context &context, settings::IconSelection &selection);

    std::array<QRadioButton *, core::kIconSets> setButtons{};
    std::array<QLabel *, core::kIconSets> normalPictures{};   // normal pictures
    std::array<QLabel *, core::kIconSets> receivedPictures{}; // received pictures
    QPushButton *okButton = nullptr;
    QPushButton *cancelButton = nullptr;
    QFrame *separator = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void refresh();

    settings::IconSelection &m_selection;
    QButtonGroup m_group;
};

} // namespace settings
