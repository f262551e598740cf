#include "base/protocol/sending.h"

#include "base/history/rowsteps.h"
#include "base/protocol/send.h"
#include "base/protocol/wire.h"
#include "base/text/fields.h"

namespace protocol {

namespace {
const QString kDeliveredText = QStringLiteral("メッセージは正しく送信されました。");
const QString kRefusedText = QStringLiteral("あなたのﾒｯｾｰｼﾞは拒否されました。");
const QString kUnconfirmedText =
    QStringLiteral("ﾒｯｾｰｼﾞの到着を確認できませんでした。\nお相手が起動していない可能性があります。");
QString reactionText(Kind kind)
{
    switch (kind) {
    case Kind::Held:
        return QStringLiteral("メッセージは返信保留されています。");
    case Kind::Discarded:
        return QStringLiteral("メッセージは未確認のまま閉じられました。");
    default:
        return QStringLiteral("メッセージは確認されました。");
    }
}
} // namespace

Sending::Sending(core::Context &context) : m_context(context)
{
    // A notice's timer counts from the moment the notice loads.
    for (auto [timer, slot] :
         {std::pair<QTimer *, core::WindowSlotBase *>{&m_reactionTimer, &context.reactionSlot},
          std::pair<QTimer *, core::WindowSlotBase *>{&m_smallTimer, &context.smallNoticeSlot}}) {
        timer->setSingleShot(true);
        timer->setInterval(kNoticeMs);
        connect(slot, &core::WindowSlotBase::loaded, timer, qOverload<>(&QTimer::start));
        connect(slot, &core::WindowSlotBase::unloading, timer, &QTimer::stop);
    }
    connect(&m_reactionTimer, &QTimer::timeout, this, &Sending::reactionTick);
    connect(&m_smallTimer, &QTimer::timeout, this, &Sending::smallTick);
    m_answerTimer.setSingleShot(true);
    m_answerTimer.setInterval(kAnswerMs);
    connect(&m_answerTimer, &QTimer::timeout, this, &Sending::answerTimeout);
}

void Sending::reactionTick()
{
    m_context.reactionSlot.unload();
}

void Sending::smallTick()
{
    m_context.smallNoticeSlot.unload();
}

void Sending::openCompose()
{
    core::Context &c = m_context;
    if (c.callAnimationTimer.isActive()) {
        c.callAnimationTimer.stop();
        c.changeTray(c.restingTrayPicture());
    }
    const QString offered = m_outcome == Outcome::Unconfirmed ? m_lastText : QString();
    c.composeWindow.edit([&](core::ComposeView &v) { v.message = offered; });
    c.composeWindow.setCaption(c.opt.sendTitle);
    c.composeWindow.show();
}

bool Sending::sendComposed()
{
    core::Context &c = m_context;
    const QString text = c.composeWindow.view().message;
    if (text.isEmpty()) {
        c.box(QStringLiteral("ﾒｯｾｰｼﾞを入力してください。"), platform::box::exclamation);
        return false;
    }
    if (c.state.partnerAddress.isEmpty()) {
        c.box(QStringLiteral("お相手登録を行ってください。"), platform::box::exclamation);
        return false;
    }
    // The received window keeps its own reply address (the sender of what it holds): a message
    // to the partner must not redirect the answers to a stranger's message to the partner.
    return sendMessage(c.state.partnerAddress, text, [&c] { c.composeWindow.hide(); });
}

bool Sending::sendMessage(const QString &address, const QString &text, const std::function<void()> &afterSend)
{
    core::Context &c = m_context;
    fillMessageHead(c.state.outgoingHead, c.opt.userName, c.now().time());
    const QString datagram = ordinaryMessage(c.state.outgoingHead, text);
    if (!fitsOneDatagram(datagram)) {
        c.box(QStringLiteral("ﾒｯｾｰｼﾞが長すぎて送信できません。"), platform::box::exclamation);
        return false;
    }
    sendDatagram(c, address, datagram, afterSend);
    m_lastText = text;
    m_lastAddress = address;
    m_outcome = Outcome::Awaiting;
    m_answerTimer.start();
    return true;
}

void Sending::cancelCompose()
{
    m_context.composeWindow.hide();
}

void Sending::sendClipboard()
{
    core::Context &c = m_context;
    platform::Clipboard &clipboard = c.services.clipboard;
    if (!clipboard.hasText()) {
        c.box(QStringLiteral("ｸﾘｯﾌﾟﾎﾞｰﾄﾞ上にﾃｷｽﾄがありません。"), platform::box::exclamation);
        return;
    }
    const QString text = text::wireLineBreaks(clipboard.text());
    c.composeWindow.edit([&](core::ComposeView &v) { v.message = text; });
    // A text that could not go stays on the clipboard, where the user has it.
    if (sendComposed())
        clipboard.clear();
}

bool Sending::answersAwaitedMessage(const QString &sender) const
{
    return (m_outcome == Outcome::Awaiting || m_outcome == Outcome::Unconfirmed) && sender == m_lastAddress;
}

void Sending::delivered(const QString &sender)
{
    core::Context &c = m_context;
    // Copies on Windows follow their refusal with a "送信" for the same message; the refusal stands.
    if (m_outcome == Outcome::Refused && sender == m_lastAddress) {
        m_outcome = Outcome::Answered;
        return;
    }
    if (!answersAwaitedMessage(sender))
        return;
    m_outcome = Outcome::Answered;
    m_answerTimer.stop();
    // A send-result notice still open (a refusal, or the silence of this very message) must not
    // go on saying so when it is not shown afresh below.
    if (core::SendResultWindowModel *open = c.sendResultSlot.ifLoaded())
        open->edit([](core::SendResultView &v) { v.text = kDeliveredText; });
    history::sentAcknowledged(c, m_lastText);
    if (c.opt.sendConfirm != 1)
        return;
    if (c.opt.sendConfirmMin != 1) {
        showSendResult(kDeliveredText);
        return;
    }
    core::SmallNoticeWindowModel &small = c.smallNotice(); // loading starts its timer; a send notice has none
    m_smallTimer.stop();
    small.edit([](core::SmallNoticeView &v) {
        v.showsDelivery = true;
        v.showsReaction = false;
    });
    showSmall();
}

void Sending::refused(const QString &sender)
{
    if (!answersAwaitedMessage(sender))
        return;
    m_outcome = Outcome::Refused;
    m_answerTimer.stop();
    showSendResult(kRefusedText);
}

void Sending::letterArrived(const QString &sender)
{
    if (!answersAwaitedMessage(sender))
        return;
    m_outcome = Outcome::Answered;
    m_answerTimer.stop();
}

void Sending::answerTimeout()
{
    m_answerTimer.stop();
    if (m_outcome != Outcome::Awaiting)
        return;
    // Silence is said, whatever the options: the text waits in the compose window for another try.
    m_outcome = Outcome::Unconfirmed;
    showSendResult(kUnconfirmedText);
}

void Sending::reaction(Kind kind, const QString &sender)
{
    core::Context &c = m_context;
    core::LetterWindowModel &letter = c.letterWindow();
    if (sender == c.state.partnerAddress && letter.view().state == core::LetterState::Delivered) {
        // The partner's first reaction after a letter was delivered answers the letter.
        letter.edit([](core::LetterView &v) { v.state = core::LetterState::Answered; });
        return;
    }
    if (m_lastAddress.isEmpty() || sender != m_lastAddress)
        return;
    history::partnerNotice(c, kind == Kind::Discarded);
    if (c.opt.recvConfirm != 1)
        return;
    if (c.opt.recvConfirmMin != 1) {
        // Each reaction says what happened, whatever an earlier notice still open said.
        const QString what = reactionText(kind);
        const QDateTime now = c.now();
        core::ReactionWindowModel &notice = c.reactionNotice();
        notice.edit([&](core::ReactionView &v) {
            v.text = what;
            v.date = text::shortDate(now.date());
            v.time = text::shortTime(now.time());
        });
        runTimer(m_reactionTimer, c.opt.autoErase != 0);
        notice.show();
        return;
    }
    core::SmallNoticeWindowModel &small = c.smallNotice();
    runTimer(m_smallTimer, c.opt.autoErase != 0);
    small.edit([](core::SmallNoticeView &v) {
        v.showsDelivery = false;
        v.showsReaction = true;
    });
    showSmall();
}

void Sending::showSendResult(const QString &text)
{
    const QDateTime now = m_context.now();
    core::SendResultWindowModel &notice = m_context.sendResultNotice();
    notice.edit([&](core::SendResultView &v) {
        v.text = text;
        v.date = text::shortDate(now.date());
        v.time = text::shortTime(now.time());
    });
    notice.show();
}

void Sending::showSmall()
{
    core::SmallNoticeWindowModel &small = m_context.smallNotice();
    small.edit([&](core::SmallNoticeView &v) { v.time = text::hhmmss(m_context.now().time()); });
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
