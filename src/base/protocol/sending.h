#pragma once

#include "base/core/context.h"
#include "base/protocol/tags.h"

#include <QTimer>

namespace protocol {

// The sender's side of a message: the compose window's send, and what comes back for it (the
// acknowledgement or refusal, then the partner's reaction) with the notices that report it.
class Sending final : public QObject {
    Q_OBJECT
public:
    // How long a reaction notice stays when it closes by itself.
    static constexpr int kNoticeMs = 10000;
    // How long a sent message waits for its "送信" or "OTHER送信" before the user is told that
    // nothing came back.
    static constexpr int kAnswerMs = 10000;

    // What the answers have told of the last message sent.
    enum class Outcome {
        Answered,    // delivered, or nothing sent yet
        Awaiting,    // sent, no answer yet
        Refused,     // "OTHER送信" came back
        Unconfirmed, // no answer within kAnswerMs; the user was told
    };

    explicit Sending(core::Context &context);

    // Opens the compose window with its title: empty, or holding the message that was never
    // confirmed, so that it is not lost.
    void openCompose();
    // "送信(&S)". True when the message went.
    bool sendComposed();
    // "ｷｬﾝｾﾙ ": hides the compose window; the text stays.
    void cancelCompose();
    // "ｸﾘｯﾌﾟﾎﾞｰﾄﾞ送信(&C)": the clipboard's text, sent like the send button sends, without
    // showing the window; the clipboard is emptied once the text went.
    void sendClipboard();

    // Sends `text` as an ordinary message to `address` and waits for its answer; refused with a
    // word, and nothing sent, when it does not fit one datagram. `afterSend` runs right after the
    // send. The compose window and the received window's reply both send this way.
    bool sendMessage(const QString &address, const QString &text,
                     const std::function<void()> &afterSend = {});

    // Only the copy the last message went to can say what became of it: every answer below from
    // any other address (`sender`), and a second answer to the same message, changes nothing.
    // Anyone on the network can send these datagrams.

    // "送信" arrived: history, then the send notice as the options say.
    void delivered(const QString &sender);
    // "OTHER送信" arrived: the refusal is shown whatever the options say.
    void refused(const QString &sender);
    // A letter arrived: from the copy the last message went to, it stands for that message's
    // "送信", which a copy sends no more once it has answered with its letter.
    void letterArrived(const QString &sender);
    // "Open確認", "保留" or "破棄" arrived.
    void reaction(Kind kind, const QString &sender);

    // The notices' timers; a tick unloads the notice.
    QTimer &reactionTimer() { return m_reactionTimer; }
    QTimer &smallTimer() { return m_smallTimer; }
    void reactionTick();
    void smallTick();
    // The wait for the answer of the last message sent.
    QTimer &answerTimer() { return m_answerTimer; }
    void answerTimeout();

private:
    void showSendResult(const QString &text);
    void showSmall();
    static void runTimer(QTimer &timer, bool on);
    // The datagram in hand came from where the last message went, which still awaits its answer.
    bool answersAwaitedMessage(const QString &sender) const;

    core::Context &m_context;
    QTimer m_reactionTimer;
    QTimer m_smallTimer;
    QTimer m_answerTimer;
    Outcome m_outcome = Outcome::Answered;
    QString m_lastText;    // the text of the last message sent
    QString m_lastAddress; // where it went; empty before the first
};

} // namespace protocol
