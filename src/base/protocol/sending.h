#pragma once

#include "base/core/options.h"
#include "base/core/partnerrecord.h"
#include "base/platform/clock.h"
#include "base/platform/dialogs.h"
#include "base/protocol/dispatch.h"
#include "base/protocol/ledger.h"
#include "base/protocol/send.h"
#include "base/protocol/tags.h"
#include "base/protocol/wire.h"

#include <QObject>
#include <QTimer>

#include <optional>

namespace protocol {

// The sender's side of a message: it goes out, and for every message sent, what comes back for it
// (the acknowledgement or refusal, then the reaction) is matched to it. Each message is an entry
// of the ledger; every answer is about one of them. What became of an entry is announced; the
// notices, the history and the letter follow.
class Sending final : public QObject {
    Q_OBJECT
public:
    // How long a sent message waits for its "送信" or "OTHER送信" before it counts as unconfirmed.
    static constexpr int kAnswerMs = 10000;

    Sending(Outbox &outbox, platform::Clock &clock, platform::Dialogs &dialogs,
            const core::RegisteredPartner &partner, const core::Options &options);

    // Takes what comes back for the messages sent.
    void plugInto(Dispatcher &dispatcher);

    // Who this copy is on the wire: the login name that signs its messages when no user name is set.
    void setLoginName(const QString &loginName) { m_loginName = loginName; }
    // The head the copy's messages and letters carry, written at `time` (now when not given).
    MessageHead head(std::optional<QTime> time = {}) const;

    // Sends `text` as an ordinary message to `address` and enters it in the ledger; refused with
    // a word, and nothing sent, when it does not fit one datagram. `name` says who that is when
    // it is not the partner (a reply to someone else).
    bool sendMessage(const core::Peer &to, const QString &text, const QString &name = {});
    // The same to the partner; refused with a word when the text is empty or nobody is registered.
    bool sendToPartner(const QString &text);
    // A letter went to `address` in answer to its message: an entry that the next reaction from
    // there is about.
    void letterHandedOver(const core::Peer &to, const QString &text);

    // What comes back; `sender` is where it came from. Each answers the entry the ledger names,
    // and changes nothing when there is none.

    // "送信" arrived.
    void deliveredBy(const core::Peer &sender);
    // "OTHER送信" arrived.
    void refusedBy(const core::Peer &sender);
    // A letter arrived: it stands for the "送信" of the message it answers, which a copy sends
    // no more once it has answered with its letter.
    void letterArrived(const core::Peer &sender);
    // "Open確認", "保留" or "破棄" arrived.
    void reactionFrom(Kind kind, const core::Peer &sender);
    // Runs when the oldest message without an answer has waited kAnswerMs: every message that
    // has waited that long by the copy's clock is told as unconfirmed.
    QTimer &answerTimer() { return m_answerTimer; }
    void answerTimeout();

    const SentLedger &ledger() const { return m_ledger; }
    SentLedger &ledger() { return m_ledger; }

signals:
    // A message was delivered; `byLetter` when a letter in answer stood for its "送信".
    void delivered(const protocol::SentEntry &entry, bool byLetter);
    void refused(const protocol::SentEntry &entry);
    // Nothing came back for the message in time.
    void unconfirmed(const protocol::SentEntry &entry);
    // Its addressee read, held or closed it unread (a letter too).
    void reacted(const protocol::SentEntry &entry);

private:
    void armAnswerTimer();

    Outbox &m_outbox;
    platform::Clock &m_clock;
    platform::Dialogs &m_dialogs;
    const core::RegisteredPartner &m_partner;
    const core::Options &m_options;
    QString m_loginName;
    SentLedger m_ledger;
    QTimer m_answerTimer;
    quint64 m_armedFor = 0; // the entry the answer timer counts for
};

} // namespace protocol
