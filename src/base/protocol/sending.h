#pragma once

#include "base/core/context.h"
#include "base/history/rowsteps.h"
#include "base/protocol/ledger.h"
#include "base/protocol/tags.h"

#include <QTimer>

namespace protocol {

// The sender's side of a message: the compose window's send, and, for every message sent, what
// comes back for it (the acknowledgement or refusal, then the reaction) with the notices that
// report it. Each message is an entry of the ledger; every answer is about one of them.
class Sending final : public QObject {
    Q_OBJECT
public:
    // How long a reaction notice stays when it closes by itself.
    static constexpr int kNoticeMs = 10000;
    // How long a sent message waits for its "送信" or "OTHER送信" before the user is told that
    // nothing came back.
    static constexpr int kAnswerMs = 10000;

    explicit Sending(core::Context &context);

    // Opens the compose window with its title. A window already open keeps what is being typed;
    // otherwise it opens empty, or with the texts to the partner that were never confirmed, so
    // that they are not lost.
    void openCompose();
    // "送信(&S)". True when the message went.
    bool sendComposed();
    // "ｷｬﾝｾﾙ ": hides the compose window; the text stays.
    void cancelCompose();
    // "ｸﾘｯﾌﾟﾎﾞｰﾄﾞ送信(&C)": the clipboard's text, sent to the partner as the send button sends
    // (whatever the compose window holds stays there); the clipboard is emptied once it went.
    void sendClipboard();

    // Sends `text` as an ordinary message to `address` and enters it in the ledger; refused with
    // a word, and nothing sent, when it does not fit one datagram. `name` says who that is when
    // it is not the partner (a reply to someone else). `afterSend` runs right after the send.
    bool sendMessage(const QString &address, const QString &text, const QString &name = {},
                     const std::function<void()> &afterSend = {});
    // A letter went to `address` in answer to its message: an entry that the next reaction from
    // there is about.
    void letterHandedOver(const QString &address, const QString &text);

    // What comes back; `sender` is where it came from. Each answers the entry the ledger names,
    // and changes nothing when there is none.

    // "送信" arrived: history, then the send notice as the options say.
    void delivered(const QString &sender);
    // "OTHER送信" arrived: the refusal is shown whatever the options say.
    void refused(const QString &sender);
    // A letter arrived: it stands for the "送信" of the message it answers, which a copy sends
    // no more once it has answered with its letter.
    void letterArrived(const QString &sender);
    // "Open確認", "保留" or "破棄" arrived.
    void reaction(Kind kind, const QString &sender);

    // The notices' timers; a tick unloads the notice.
    QTimer &reactionTimer() { return m_reactionTimer; }
    QTimer &smallTimer() { return m_smallTimer; }
    void reactionTick();
    void smallTick();
    // Runs when the oldest message without an answer has waited kAnswerMs: every message that
    // has waited that long by the copy's clock is told as unconfirmed.
    QTimer &answerTimer() { return m_answerTimer; }
    void answerTimeout();

    const SentLedger &ledger() const { return m_ledger; }
    const history::SentRows &sentRows() const { return m_sentRows; }

signals:
    // A reply to someone other than the partner was never confirmed: its text, for the received
    // window to offer to that person again.
    void replyUnconfirmed(const QString &address, const QString &text);

private:
    bool sendToPartner(const QString &text, const std::function<void()> &afterSend);
    void armAnswerTimer();
    void tellSilence(const SentEntry &entry);
    void showSendResult(const QString &text, quint64 about);
    void showSmall();
    static void runTimer(QTimer &timer, bool on);

    core::Context &m_context;
    SentLedger m_ledger;
    history::SentRows m_sentRows;
    QTimer m_reactionTimer;
    QTimer m_smallTimer;
    QTimer m_answerTimer;
    quint64 m_sendResultAbout = 0; // the entry the send-result notice speaks of
    quint64 m_armedFor = 0;        // the entry the answer timer counts for
};

} // namespace protocol
