#pragma once

#include "core/context.h"

#include <functional>

namespace settings {

struct PwView {
    QString TxtPw;
};
class PwWindowModel final : public core::ViewModel<PwView> {
public:
    PwWindowModel() : ViewModel(QStringLiteral("ﾊﾟｽﾜｰﾄﾞ入力"), core::IconId::normal(0)) {}
};

// The password window, asked before the partner registration opens and before the operation lock
// is lifted while a password is set.
class PasswordWindow final {
public:
    // Why the window is open.
    enum class Purpose { None, Registration, Unlock };

    explicit PasswordWindow(core::Context &context) : m_context(context) {}

    core::WindowSlot<PwWindowModel> slot;
    PwWindowModel &frmPw() { return slot.get(); }

    void ask(Purpose why);
    // "OK": the right password lets the purpose go ahead; a wrong one is said so.
    void cmdOkClick();
    // "ｷｬﾝｾﾙ" and the close box.
    void command2Click();

    Purpose pwPurpose() const { return m_purpose; }
    // What each purpose does once the password was right.
    std::function<void()> adrEdit;
    std::function<void()> trueEnable;

private:
    core::Context &m_context;
    Purpose m_purpose = Purpose::None;
};

} // namespace settings
