#pragma once

#include "base/core/context.h"

#include <QObject>

namespace settings {

struct PasswordView {
    QString password;
};
class PasswordWindowModel final : public core::ViewModel<PasswordView> {
public:
    PasswordWindowModel() : ViewModel(QStringLiteral("ﾊﾟｽﾜｰﾄﾞ入力"), core::IconId::normal(0)) {}
};

// The password window, asked before the partner registration opens and before the operation lock
// is lifted while a password is set.
class PasswordPrompt final : public QObject {
    Q_OBJECT
public:
    // Why the window is open.
    enum class Purpose { None, Registration, Unlock };

    explicit PasswordPrompt(core::Context &context);

    core::WindowSlot<PasswordWindowModel> slot;
    PasswordWindowModel &window() { return slot.get(); }

    void ask(Purpose why);
    // "OK": the right password lets the purpose go ahead; a wrong one is said so.
    void submit();
    // "ｷｬﾝｾﾙ" and the close box.
    void cancel();

    Purpose purpose() const { return m_purpose; }

signals:
    // The password was right, for the registration or for lifting the operation lock.
    void registrationAllowed();
    void unlockAllowed();

private:
    core::Context &m_context;
    Purpose m_purpose = Purpose::None;
};

} // namespace settings
