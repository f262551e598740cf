#include "protocol/sending.h"

#include "history/rowsteps.h"
#include "protocol/send.h"
#include "protocol/tags.h"
#include "protocol/wire.h"
#include "text/fields.h"

namespace protocol {

Sending::Sending(core::Context &context) : m_context(context)
{
    // A notice's timer counts from the moment the notice loads.
    for (auto [timer, slot] : {std::pair<QTimer *, core::WindowSlotBase *>{&m_reactionTimer, &context.rcvOkSlot},
                               std::pair<QTimer *, core::WindowSlotBase *>{&m_smallTimer, &context.srOkSlot}}) {
        timer->setSingleShot(true);
        timer->setInterval(kNoticeMs);
        connect(slot, &core::WindowSlotBase::loaded, timer, qOverload<>(&QTimer::start));
        connect(slot, &core::WindowSlotBase::unloading, timer, &QTimer::stop);
    }
    connect(&m_reactionTimer, &QTimer::timeout, this, &Sending::reactionTick);
    connect(&m_smallTimer, &QTimer::timeout, this, &Sending::smallTick);
}

void Sending::reactionTick()
{
    m_context.rcvOkSlot.unload();
}

void Sending::smallTick()
{
    m_context.srOkSlot.unload();
}

void Sending::openCompose()
{
    core::Context &c = m_context;
    if (c.Timer1.isActive()) {
        c.Timer1.stop();
        c.changeTray(core::IconId::normal(c.iconSet()));
    }
    c.frmSnd.edit([](core::MainView &v) { v.txtMsg.clear(); });
    c.frmSnd.setCaption(c.opt.sendTitle);
    c.frmSnd.show();
}

void Sending::cmdSendClick()
{
    core::Context &c = m_context;
    const QString text = c.frmSnd.view().txtMsg;
    if (text.isEmpty()) {
        c.box(QStringLiteral("ﾒｯｾｰｼﾞを入力してください。"), platform::box::exclamation);
        return;
    }
    if (c.state.aiteAdr.isEmpty()) {
        c.box(QStringLiteral("お相手登録を行ってください。"), platform::box::exclamation);
        return;
    }
    c.state.sendAdr = c.state.aiteAdr;
    fillMsgHead(c.state.msgHead, c.opt.userName, c.now().time());
    sendDatagram(c, c.state.aiteAdr, ordinaryMessage(c.state.msgHead, text), [&c] { c.frmSnd.hide(); });
}

void Sending::cmdCancelClick()
{
    m_context.frmSnd.hide();
}

void Sending::mnuClipClick()
{
    core::Context &c = m_context;
    platform::Clipboard &clipboard = c.services.clipboard;
    if (!clipboard.hasText()) {
        c.box(QStringLiteral("ｸﾘｯﾌﾟﾎﾞｰﾄﾞ上にﾃｷｽﾄがありません。"), platform::box::exclamation);
        return;
    }
    const QString text = text::wireLineBreaks(clipboard.text());
    c.frmSnd.edit([&](core::MainView &v) { v.txtMsg = text; });
    cmdSendClick();
    clipboard.clear();
}

void Sending::delivered()
{
    core::Context &c = m_context;
    // What the compose box holds now is what the partner got, as far as anyone can tell.
    history::sentAcknowledged(c, c.frmSnd.view().txtMsg);
    if (c.opt.sendConfirm != 1)
        return;
    if (c.opt.sendConfirmMin != 1) {
        showSendResult();
        return;
    }
    core::SmallNoticeWindowModel &small = c.frmSROK(); // loading starts its timer; a send notice has none
    m_smallTimer.stop();
    small.edit([](core::SmallNoticeView &v) {
        v.image1 = true;
        v.image2 = false;
    });
    showSmall();
}

void Sending::refused()
{
    showSendResult();
}

void Sending::reaction()
{
    core::Context &c = m_context;
    core::LetterWindowModel &letter = c.frmLetter();
    if (letter.view().statusPanel.startsWith(QStringLiteral("確認"))) {
        // The partner's first reaction after a letter was delivered answers the letter.
        letter.edit([](core::LetterView &v) { v.statusPanel.prepend(u'>'); });
        return;
    }
    history::partnerNotice(c, classify(c.state.rcvData) == Kind::Discarded);
    if (c.opt.recvConfirm != 1)
        return;
    if (c.opt.recvConfirmMin != 1) {
        const QDateTime now = c.now();
        core::ReactionWindowModel &notice = c.frmRcvOK();
        notice.edit([&](core::ReactionView &v) {
            v.label2 = text::shortDate(now.date());
            v.label3 = text::shortTime(now.time());
        });
        runTimer(m_reactionTimer, c.opt.autoErase != 0);
        notice.show();
        return;
    }
    core::SmallNoticeWindowModel &small = c.frmSROK();
    runTimer(m_smallTimer, c.opt.autoErase != 0);
    small.edit([](core::SmallNoticeView &v) {
        v.image1 = false;
        v.image2 = true;
    });
    showSmall();
}

void Sending::showSendResult()
{
    const QDateTime now = m_context.now();
    core::SendResultWindowModel &notice = m_context.frmSndOK();
    notice.edit([&](core::SendResultView &v) {
        v.label2 = text::shortDate(now.date());
        v.label3 = text::shortTime(now.time());
    });
    notice.show();
}

void Sending::showSmall()
{
    core::SmallNoticeWindowModel &small = m_context.frmSROK();
    small.edit([&](core::SmallNoticeView &v) { v.label1 = text::hhmmss(m_context.now().time()); });
    small.show();
}

void Sending::runTimer(QTimer &timer, bool on)
{
    // A timer that already counts keeps counting from the notice's load.
    if (!on)
        timer.stop();
    else if (!timer.isActive())
        timer.start();
}

} // namespace protocol
