#include "base/protocol/sending.h"

#include "base/protocol/send.h"
#include "base/protocol/wire.h"
#include "base/text/fields.h"

namespace protocol {

namespace {
const QString kDeliveredText = QStringLiteral("メッセージは正しく送信されました。");
const QString kRefusedText = QStringLiteral("あなたのﾒｯｾｰｼﾞは拒否されました。");
const QString kUnconfirmedText = QStringLiteral("ﾒｯｾｰｼﾞの到着を確認できませんでした。\n");
const QString kPartnerAbsentText = QStringLiteral("お相手が起動していない可能性があります。");
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
SentEntry::Reaction reactionOf(Kind kind)
{
    switch (kind) {
    case Kind::Held:
        return SentEntry::Reaction::Held;
    case Kind::Discarded:
        return SentEntry::Reaction::ClosedUnread;
    default:
        return SentEntry::Reaction::Read;
    }
}
// The compose window offers these again: to the partner, never confirmed, not yet superseded.
bool offeredAgain(const SentEntry &e)
{
    return e.toPartner && e.delivery == SentEntry::Delivery::Unconfirmed && !e.offerWithdrawn;
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
    m_answerTimer.setTimerType(Qt::PreciseTimer);
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
    if (!c.composeWindow.isVisible()) {
        QStringList offered;
        for (const SentEntry &entry : m_ledger.entries()) {
            if (offeredAgain(entry))
                offered << entry.text;
        }
        c.composeWindow.edit([&](core::ComposeView &v) { v.message = offered.join(QStringLiteral("\r\n")); });
    }
    c.composeWindow.setCaption(c.opt.sendTitle);
    c.composeWindow.show();
}

bool Sending::sendComposed()
{
    core::Context &c = m_context;
    if (!sendToPartner(c.composeWindow.view().message, [&c] { c.composeWindow.hide(); }))
        return false;
    // What was offered again has been dealt with: sent again, or put aside for something else.
    for (SentEntry &entry : m_ledger.entries()) {
        if (offeredAgain(entry))
            entry.offerWithdrawn = true;
    }
    return true;
}

bool Sending::sendToPartner(const QString &text, const std::function<void()> &afterSend)
{
    core::Context &c = m_context;
    if (text.isEmpty()) {
        c.box(QStringLiteral("ﾒｯｾｰｼﾞを入力してください。"), platform::box::exclamation);
        return false;
    }
    if (c.state.partnerAddress.isEmpty()) {
        c.box(QStringLiteral("お相手登録を行ってください。"), platform::box::exclamation);
        return false;
    }
    return sendMessage(c.state.partnerAddress, text, {}, afterSend);
}

bool Sending::sendMessage(const QString &address, const QString &text, const QString &name,
                          const std::function<void()> &afterSend)
{
    core::Context &c = m_context;
    const QDateTime now = c.now();
    const MessageHead head = messageHead(signature(c.opt.userName, c.state.loginName), now.time());
    const QString datagram = ordinaryMessage(head, text);
    if (!fitsOneDatagram(datagram)) {
        c.box(tooLongText(QStringLiteral("ﾒｯｾｰｼﾞが長すぎて送信できません。"), head.headName + head.headTime),
              platform::box::exclamation);
        return false;
    }
    // The entry is made first: `afterSend` may change what the arguments refer to.
    SentEntry entry;
    entry.to = address;
    entry.toPartner = address == c.state.partnerAddress;
    entry.toName = entry.toPartner ? QString() : name;
    entry.text = text;
    entry.sentAt = now;
    sendDatagram(c, entry.to, datagram, afterSend);
    m_ledger.add(std::move(entry));
    armAnswerTimer();
    return true;
}

void Sending::letterHandedOver(const QString &address, const QString &text)
{
    SentEntry entry;
    entry.kind = SentEntry::Kind::Letter;
    entry.to = address;
    entry.toPartner = address == m_context.state.partnerAddress;
    entry.text = text;
    entry.sentAt = m_context.now();
    entry.delivery = SentEntry::Delivery::Delivered;
    m_ledger.add(std::move(entry));
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
    // A text that could not go stays on the clipboard, where the user has it.
    if (sendToPartner(text::wireLineBreaks(clipboard.text()), {}))
        clipboard.clear();
}

void Sending::armAnswerTimer()
{
    const SentEntry *oldest = m_ledger.oldestAwaiting();
    if (oldest == nullptr) {
        m_answerTimer.stop();
        return;
    }
    // Already counting for that very message: nothing to change.
    if (m_answerTimer.isActive() && m_armedFor == oldest->id)
        return;
    m_armedFor = oldest->id;
    const qint64 waited = oldest->sentAt.msecsTo(m_context.now());
    m_answerTimer.start(static_cast<int>(qBound<qint64>(0, qint64{kAnswerMs} - waited, qint64{kAnswerMs})));
}

void Sending::delivered(const QString &sender)
{
    core::Context &c = m_context;
    // Copies on Windows follow their refusal with a "送信" for the same message; the refusal stands.
    if (m_ledger.takeRefusalTrailer(sender, c.now()))
        return;
    SentEntry *entry = m_ledger.answeredBy(sender);
    if (entry == nullptr)
        return;
    m_ledger.settle(*entry, SentEntry::Delivery::Delivered);
    const quint64 id = entry->id;
    m_sentRows.delivered(c, entry->to, entry->text);
    armAnswerTimer();
    // A send-result notice still telling this very message's silence must not go on saying so
    // when it is not shown afresh below.
    if (core::SendResultWindowModel *open = c.sendResultSlot.ifLoaded(); open && m_sendResultAbout == id)
        open->edit([](core::SendResultView &v) { v.text = kDeliveredText; });
    if (c.opt.sendConfirm != 1)
        return;
    if (c.opt.sendConfirmMin != 1) {
        showSendResult(kDeliveredText, id);
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
    SentEntry *entry = m_ledger.answeredBy(sender);
    if (entry == nullptr)
        return;
    m_ledger.settle(*entry, SentEntry::Delivery::Refused);
    m_ledger.expectRefusalTrailer(sender, m_context.now());
    const quint64 id = entry->id;
    armAnswerTimer();
    showSendResult(kRefusedText, id);
}

void Sending::letterArrived(const QString &sender)
{
    SentEntry *entry = m_ledger.answeredBy(sender);
    if (entry == nullptr)
        return;
    // The letter is the proof of delivery: the message goes into the history like any delivered
    // one, and the letter itself, arriving in the received window, is the notice.
    m_ledger.settle(*entry, SentEntry::Delivery::Delivered);
    m_sentRows.delivered(m_context, entry->to, entry->text);
    armAnswerTimer();
}

void Sending::answerTimeout()
{
    const QDateTime now = m_context.now();
    while (SentEntry *entry = m_ledger.oldestAwaiting()) {
        if (entry->sentAt.msecsTo(now) < kAnswerMs)
            break;
        m_ledger.settle(*entry, SentEntry::Delivery::Unconfirmed);
        tellSilence(*entry);
    }
    armAnswerTimer();
}

void Sending::tellSilence(const SentEntry &entry)
{
    // Silence is said, whatever the options: a text to the partner waits in the compose window
    // for another try, a reply to anyone else in the received window.
    if (entry.toPartner) {
        showSendResult(kUnconfirmedText + kPartnerAbsentText, entry.id);
        return;
    }
    const QString who = entry.toName.trimmed().isEmpty()
                            ? entry.to
                            : entry.toName.trimmed() + QStringLiteral("（") + entry.to + QStringLiteral("）");
    showSendResult(kUnconfirmedText + who + QStringLiteral("が起動していない可能性があります。"), entry.id);
    emit replyUnconfirmed(entry.to, entry.text);
}

void Sending::reaction(Kind kind, const QString &sender)
{
    core::Context &c = m_context;
    SentEntry *entry = m_ledger.reactedToBy(sender);
    if (entry == nullptr)
        return;
    entry->reaction = reactionOf(kind);
    if (entry->kind == SentEntry::Kind::Letter) {
        // The reaction to a letter marks the letter's status instead of opening a notice.
        core::LetterWindowModel *letter = c.letterSlot.ifLoaded();
        if (letter != nullptr && letter->view().state == core::LetterState::Delivered)
            letter->edit([](core::LetterView &v) { v.state = core::LetterState::Answered; });
        return;
    }
    m_sentRows.reacted(c, entry->to, kind == Kind::Discarded);
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

void Sending::showSendResult(const QString &text, quint64 about)
{
    const QDateTime now = m_context.now();
    core::SendResultWindowModel &notice = m_context.sendResultNotice();
    m_sendResultAbout = about;
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
