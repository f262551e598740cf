#pragma once

#include "base/core/context.h"
#include "base/core/trayicon.h"

#include <QObject>

namespace settings {

// The icon selection window (FrmOption): which of the ten sets' radio buttons is selected. The
// pictures beside the buttons are those of the sets themselves and never change.
struct IconSelectionView {
    int selectedSet = 0; // the selected button, 0-9; may differ from iconNo until OK applies it
};
class IconSelectionWindowModel final : public core::ViewModel<IconSelectionView> {
public:
    IconSelectionWindowModel() : ViewModel(QStringLiteral("ミルトアンヌ ｱｲｺﾝ変更"), core::IconId::normal(0))
    {
    }
};

// Choosing and applying an icon set. The window only hides, so its selection lives for the run.
class IconSelection final : public QObject {
    Q_OBJECT
public:
    IconSelection(core::Context &context, core::TrayIcon &tray);

    IconSelectionWindowModel window;

    // "ｱｲｺﾝ変更(&I)": shows the window with the selection the user left.
    void open();
    // A radio button was selected.
    void select(int set);
    // Applies the selected set to every window and the tray, saves the options, confirms.
    void apply();
    // "閉じる", and the close box: hides the window, keeping an unapplied selection.
    void close();

private:
    core::Context &m_context;
    core::TrayIcon &m_tray;
};

} // namespace settings
