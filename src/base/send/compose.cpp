#include "base/send/compose.h"

#include "base/text/fields.h"

namespace send {

namespace {
// The compose window offers these again: to the partner, never confirmed, not yet superseded.
bool offeredAgain(const protocol::SentEntry &e)
{
    return e.toPartner && e.delivery == protocol::SentEntry::Delivery::Unconfirmed && !e.offerWithdrawn;
}
} // namespace

Compose::Compose(core::Context &context, protocol::Sending &sending, core::TrayIcon &tray)
    : m_context(context), m_sending(sending), m_tray(tray)
{
    context.menu.setAction(core::MenuId::Compose, [this] { open(); });
    context.menu.setAction(core::MenuId::SendClipboard, [this] { sendClipboard(); });
    connect(&context, &core::Context::iconSetApplied, this,
            [this](int set) { m_window.setIcon(core::IconId::normal(set)); });
    connect(&context, &core::Context::textStylesApplied, this, [this](const core::TextStyle &style) {
        m_window.edit([&](ComposeView &v) { v.messageStyle = style; });
    });
}

void Compose::open()
{
    m_tray.stopAnimations(false);
    if (!m_window.isVisible()) {
        QStringList offered;
        for (const protocol::SentEntry &entry : m_sending.ledger().entries()) {
            if (offeredAgain(entry))
                offered << entry.text;
        }
        m_window.edit([&](ComposeView &v) { v.message = offered.join(QStringLiteral("\r\n")); });
    }
    m_window.setCaption(m_context.opt.sendTitle);
    m_window.show();
}

bool Compose::send()
{
    if (!m_sending.sendToPartner(m_window.view().message))
        return false;
    m_window.hide();
    // What was offered again has been dealt with: sent again, or put aside for something else.
    for (protocol::SentEntry &entry : m_sending.ledger().entries()) {
        if (offeredAgain(entry))
            entry.offerWithdrawn = true;
    }
    return true;
}

void Compose::sendClipboard()
{
    platform::Clipboard &clipboard = m_context.services.clipboard;
    if (!clipboard.hasText()) {
        m_context.box(QStringLiteral("ｸﾘｯﾌﾟﾎﾞｰﾄﾞ上にﾃｷｽﾄがありません。"), platform::box::exclamation);
        return;
    }
    // A text that could not go stays on the clipboard, where the user has it.
    if (m_sending.sendToPartner(text::wireLineBreaks(clipboard.text())))
        clipboard.clear();
}

} // namespace send
