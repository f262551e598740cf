#pragma once

#include "base/core/context.h"
#include "base/core/windows.h"
#include "base/protocol/ledger.h"
#include "base/protocol/sending.h"

#include <QTimer>

namespace send {

// The send-result notice (FrmSndOK) and the reaction notice (FrmRcvOK).
struct SendResultView {
    QString text = QStringLiteral("あなたのﾒｯｾｰｼﾞは拒否されました。");
    QString date;
    QString time;
};
class SendResultWindowModel final : public core::ViewModel<SendResultView> {
public:
    SendResultWindowModel() : ViewModel(QStringLiteral("ミルトアンヌ　送信確認 "), core::IconId::normal(0)) {}
};
struct ReactionView {
    QString text = QStringLiteral("メッセージは確認されました。");
    QString date;
    QString time;
};
class ReactionWindowModel final : public core::ViewModel<ReactionView> {
public:
    ReactionWindowModel() : ViewModel(QStringLiteral("ミルトアンヌ　着信確認"), core::IconId::normal(0)) {}
};
// The small notice (FrmSROK): a picture and the time.
struct SmallNoticeView {
    QString time;
    bool showsDelivery = true; // a delivered message
    bool showsReaction = true; // a reaction of the partner
};
class SmallNoticeWindowModel final : public core::ViewModel<SmallNoticeView> {
public:
    SmallNoticeWindowModel() : ViewModel(QString(), core::IconId::normal(0)) {}
};

// The notices that tell the user what became of a message sent: delivered, refused, unconfirmed,
// and the addressee's reaction, as the options ask for them (a refusal and silence always).
class SendNotices final : public QObject {
    Q_OBJECT
public:
    // How long a reaction notice stays when it closes by itself.
    static constexpr int kNoticeMs = 10000;

    explicit SendNotices(core::Context &context);
    // Tells of what `sending` announces from now on.
    void follow(protocol::Sending &sending);

    core::WindowSlot<SendResultWindowModel> &sendResultSlot() { return m_sendResultSlot; }
    core::WindowSlot<ReactionWindowModel> &reactionSlot() { return m_reactionSlot; }
    core::WindowSlot<SmallNoticeWindowModel> &smallSlot() { return m_smallSlot; }
    SendResultWindowModel &sendResult() { return m_sendResultSlot.get(); }
    ReactionWindowModel &reaction() { return m_reactionSlot.get(); }
    SmallNoticeWindowModel &small() { return m_smallSlot.get(); }

    // The notices' timers; a tick unloads the notice.
    QTimer &reactionTimer() { return m_reactionTimer; }
    QTimer &smallTimer() { return m_smallTimer; }
    void reactionTick() { m_reactionSlot.unload(); }
    void smallTick() { m_smallSlot.unload(); }

private:
    void delivered(const protocol::SentEntry &entry, bool byLetter);
    void unconfirmed(const protocol::SentEntry &entry);
    void reacted(const protocol::SentEntry &entry);
    void showSendResult(const QString &text, quint64 about);
    void showSmall();
    static void runTimer(QTimer &timer, bool on);

    core::Context &m_context;
    core::WindowSlot<SendResultWindowModel> m_sendResultSlot;
    core::WindowSlot<ReactionWindowModel> m_reactionSlot;
    core::WindowSlot<SmallNoticeWindowModel> m_smallSlot;
    QTimer m_reactionTimer;
    QTimer m_smallTimer;
    quint64 m_sendResultAbout = 0; // the entry the send-result notice speaks of
};

} // namespace send
