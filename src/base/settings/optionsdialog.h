#pragma once

#include "base/core/context.h"

namespace settings {

// The controls of the options dialog, FrmOpt. Check boxes hold 0 or 1; a disabled box keeps its
// value.
struct OptView {
    int tab = 1; // 1 送受信, 2 ﾊﾟｽﾜｰﾄﾞ, 3 表示, 4 ﾕｰｻﾞｰ情報, 5 その他

    int ChkSend = 0, ChkSndMin = 0, ChkRecv = 0, ChkRcvMin = 0, ChkTime = 0;
    int ChkOther = 0, ChkAdd = 0, ChkLog = 0, ChkHzn = 0, ChkTuti = 0, ChkBlink = 0;
    bool ChkSndMinEnabled = true, ChkRcvMinEnabled = true, ChkTimeEnabled = true, ChkHznEnabled = true;

    int ChkPw1 = 0;
    QString TxtPw1, TxtPw2, TxtPw3;
    bool TxtPw2Enabled = true, TxtPw3Enabled = true;

    bool OptLeftup = false, OptRightup = false, OptLeftlow = false, OptRightlow = false, OptCenter = false;
    QString TxtFont, TxtSize, TxtTitle;
    quint32 TxtColor = 0xFFFFFF; // the swatch's background

    QString TxtName;

    int ChkIcon = 0, ChkTip = 0, ChkLock = 0;
    QString TxtToolTip;
    bool TxtToolTipEnabled = true;

    // The control that should get the input focus next ("TxtPw2", "TxtPw3", "TxtName").
    QString focus;
};

class OptWindowModel final : public core::ViewModel<OptView> {
public:
    OptWindowModel() : ViewModel(QStringLiteral("ｵﾌﾟｼｮﾝ指定"), core::IconId::normal(0)) {}
};

// The check boxes whose clicks change what else may be used.
enum class OptCheck { Send, Recv, Log, Tip, Pw1 };

// The options dialog's handlers: opening it with the record's values, the dependent enabling,
// the tabs, the password step and the three buttons, and the font and colour pickers.
class OptionsDialog final {
public:
    explicit OptionsDialog(core::Context &context) : m_context(context) {}

    core::WindowSlot<OptWindowModel> slot;
    OptWindowModel &frmOpt() { return slot.get(); }

    // "動作環境の設定...(&O) ".
    void open();
    // A click on a check box that others depend on (its new value is already in the model).
    void checkClicked(OptCheck which);
    void tabClick(int tab);
    void cmdOkClick();
    void cmdWriteClick();
    void cmdCancelClick();
    // "OK" on the password page.
    void cmdPokClick() { pwApply(); }
    void cmdFontClick();
    void cmdColorClick();

    // The password boxes' enabled states from ChkPw1 and the stored password.
    void pwEnable();
    // The password page's step: set, change or remove the password. True when it saved.
    bool pwApply();
    // The dialog into the record.
    void optRead();

private:
    void fillFromRecord();
    void resetPasswordPage();

    core::Context &m_context;
};

} // namespace settings
