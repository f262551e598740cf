#pragma once

#include "base/core/context.h"

#include <QObject>

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
class PasswordWindow final : public QObject {
    Q_OBJECT
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

signals:
    // The password was right, for the registration or for lifting the operation lock.
    void registrationAllowed();
    void unlockAllowed();

private:
    core::Context &m_context;
    Purpose m_purpose = Purpose::None;
};

} // namespace settings
