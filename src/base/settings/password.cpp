#include "base/settings/password.h"

namespace settings {

void PasswordWindow::ask(Purpose why)
{
    m_purpose = why;
    frmPw().show();
}

void PasswordWindow::cmdOkClick()
{
    const QString typed = frmPw().view().TxtPw;
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

void PasswordWindow::command2Click()
{
    slot.unload();
}

} // namespace settings
