#include "base/send/notices.h"

#include "base/text/fields.h"

namespace send {

using protocol::SentEntry;

namespace {
const QString kDeliveredText = QStringLiteral("メッセージは正しく送信されました。");
const QString kRefusedText = QStringLiteral("あなたのﾒｯｾｰｼﾞは拒否されました。");
const QString kUnconfirmedText = QStringLiteral("ﾒｯｾｰｼﾞの到着を確認できませんでした。\n");
const QString kPartnerAbsentText = QStringLiteral("お相手が起動していない可能性があります。");
QString reactionText(SentEntry::Reaction reaction)
{
    switch (reaction) {
    case SentEntry::Reaction::Held:
        return QStringLiteral("メッセージは返信保留されています。");
    case SentEntry::Reaction::ClosedUnread:
        return QStringLiteral("メッセージは未確認のまま閉じられました。");
    default:
        return QStringLiteral("メッセージは確認されました。");
    }
}
} // namespace

SendNotices::SendNotices(core::Context &context) : m_context(context)
{
    // A notice's timer counts from the moment the notice loads.
    for (auto [timer, slot] : {std::pair<QTimer *, core::WindowSlotBase *>{&m_reactionTimer, &m_reactionSlot},
                               std::pair<QTimer *, core::WindowSlotBase *>{&m_smallTimer, &m_smallSlot}}) {
        timer->setSingleShot(true);
        timer->setInterval(kNoticeMs);
        connect(slot, &core::WindowSlotBase::loaded, timer, qOverload<>(&QTimer::start));
        connect(slot, &core::WindowSlotBase::unloading, timer, &QTimer::stop);
    }
    connect(&m_reactionTimer, &QTimer::timeout, this, &SendNotices::reactionTick);
    connect(&m_smallTimer, &QTimer::timeout, this, &SendNotices::smallTick);
    for (core::WindowSlotBase *slot :
         std::initializer_list<core::WindowSlotBase *>{&m_sendResultSlot, &m_reactionSlot, &m_smallSlot})
        context.followIconSet(*slot);
}

void SendNotices::follow(protocol::Sending &sending)
{
    connect(&sending, &protocol::Sending::delivered, this, &SendNotices::delivered);
    connect(&sending, &protocol::Sending::refused, this,
            [this](const SentEntry &entry) { showSendResult(kRefusedText, entry.id); });
    connect(&sending, &protocol::Sending::unconfirmed, this, &SendNotices::unconfirmed);
    connect(&sending, &protocol::Sending::reacted, this, &SendNotices::reacted);
}

void SendNotices::delivered(const SentEntry &entry, bool byLetter)
{
    // The letter that stood for the "送信", arriving in the received window, is the notice.
    if (byLetter)
        return;
    const core::Options &opt = m_context.opt;
    // A send-result notice still telling this very message's silence must not go on saying so
    // when it is not shown afresh below.
    if (SendResultWindowModel *open = m_sendResultSlot.ifLoaded(); open && m_sendResultAbout == entry.id)
        open->edit([](SendResultView &v) { v.text = kDeliveredText; });
    if (!opt.confirmsDelivery())
        return;
    if (!opt.smallDeliveryNotice()) {
        showSendResult(kDeliveredText, entry.id);
        return;
    }
    SmallNoticeWindowModel &small = m_smallSlot.get(); // loading starts its timer; a send notice has none
    m_smallTimer.stop();
    small.edit([](SmallNoticeView &v) {
        v.showsDelivery = true;
        v.showsReaction = false;
    });
    showSmall();
}

void SendNotices::unconfirmed(const SentEntry &entry)
{
    // Silence is said, whatever the options: a text to the partner waits in the compose window
    // for another try, a reply to anyone else in the received window.
    if (entry.toPartner) {
        showSendResult(kUnconfirmedText + kPartnerAbsentText, entry.id);
        return;
    }
    const QString who = entry.toName.trimmed().isEmpty() ? entry.to.address
                                                         : entry.toName.trimmed() + QStringLiteral("（") +
                                                               entry.to.address + QStringLiteral("）");
    showSendResult(kUnconfirmedText + who + QStringLiteral("が起動していない可能性があります。"), entry.id);
}

void SendNotices::reacted(const SentEntry &entry)
{
    const core::Options &opt = m_context.opt;
    // The reaction to a letter shows in the letter's own status instead.
    if (entry.kind == SentEntry::Kind::Letter || !opt.confirmsReaction())
        return;
    if (!opt.smallReactionNotice()) {
        // Each reaction says what happened, whatever an earlier notice still open said.
        const QString what = reactionText(entry.reaction);
        const QDateTime now = m_context.now();
        ReactionWindowModel &notice = m_reactionSlot.get();
        notice.edit([&](ReactionView &v) {
            v.text = what;
            v.date = text::shortDate(now.date());
            v.time = text::shortTime(now.time());
        });
        runTimer(m_reactionTimer, opt.erasesNotices());
        notice.show();
        return;
    }
    SmallNoticeWindowModel &small = m_smallSlot.get();
    runTimer(m_smallTimer, opt.erasesNotices());
    small.edit([](SmallNoticeView &v) {
        v.showsDelivery = false;
        v.showsReaction = true;
    });
    showSmall();
}

void SendNotices::showSendResult(const QString &text, quint64 about)
{
    const QDateTime now = m_context.now();
    SendResultWindowModel &notice = m_sendResultSlot.get();
    m_sendResultAbout = about;
    notice.edit([&](SendResultView &v) {
        v.text = text;
        v.date = text::shortDate(now.date());
        v.time = text::shortTime(now.time());
    });
    notice.show();
}

void SendNotices::showSmall()
{
    SmallNoticeWindowModel &small = m_smallSlot.get();
    small.edit([&](SmallNoticeView &v) { v.time = text::hhmmss(m_context.now().time()); });
    small.show();
}

void SendNotices::runTimer(QTimer &timer, bool on)
{
    // A timer that already counts keeps counting from the notice's load.
    if (!on)
        timer.stop();
    else if (!timer.isActive())
        timer.start();
}

} // namespace send
