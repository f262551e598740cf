#include "base/settings/passwordprompt.h"

namespace settings {

PasswordPrompt::PasswordPrompt(core::Context &context) : m_context(context)
{
    context.followIconSet(slot);
    // The lock entry puts the lock on; only the right password lifts it, where one is set.
    core::MenuModel &menu = context.menu;
    menu.setAction(core::MenuId::Lock, [this, &menu] {
        if (!menu.isLocked())
            menu.lock();
        else if (!m_context.opt.passwordProtected())
            menu.unlock();
        else
            ask(Purpose::Unlock);
    });
    connect(this, &PasswordPrompt::unlockAllowed, this, [&menu] { menu.unlock(); });
}

void PasswordPrompt::ask(Purpose why)
{
    m_purpose = why;
    window().show();
}

void PasswordPrompt::submit()
{
    const QString typed = window().view().password;
    const int errorBox = platform::box::okOnly | platform::box::critical;
    if (typed.isEmpty()) {
        m_context.box(QStringLiteral("ﾊﾟｽﾜｰﾄﾞを入力してください。"), errorBox);
        return;
    }
    if (typed != m_context.opt.password) {
        m_context.box(QStringLiteral("ﾊﾟｽﾜｰﾄﾞが違います。"), errorBox);
        return;
    }
    const Purpose why = m_purpose;
    slot.unload();
    if (why == Purpose::Registration)
        emit registrationAllowed();
    else if (why == Purpose::Unlock)
        emit unlockAllowed();
}

void PasswordPrompt::cancel()
{
    slot.unload();
}

} // namespace settings
