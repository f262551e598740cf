#pragma once

#include "base/core/context.h"
#include "base/core/partnerrecord.h"
#include "base/core/trayicon.h"
#include "base/history/history.h"
#include "base/protocol/arrival.h"
#include "base/protocol/dispatch.h"
#include "base/protocol/send.h"
#include "base/protocol/waitingfile.h"
#include "base/protocol/wire.h"

#include <QElapsedTimer>
#include <QHash>
#include <QTimer>

#include <deque>
#include <memory>

namespace receive {

// Where the message in the received window stands.
enum class ReceivedState {
    Empty,     // nothing has arrived yet
    Waiting,   // arrived; not yet replied to, opened, held or closed
    Held,      // its reply was put off ("返信保留"): no longer waiting, but kept to be answered
    DealtWith, // replied to, opened or closed
};

// The received-message window (FrmRecv): the message of one person, whose address its buttons
// answer and whose name its caption gives. Messages of anyone else wait their turn behind it.
struct ReceivedView {
    QString message;            // the received text, line breaks as CR LF
    QString reply;              // the reply being written
    bool messageVisible = true; // hidden while the message is closed
    QString openCloseCaption;   // "OPEN" or "CLOSE"
    QString weekdayPanel;       // panel 2 of the status bar
    core::TextStyle messageStyle;
    core::TextStyle replyStyle;
    core::Peer sender;  // who wrote it: every answer of the window goes there
    QString senderName; // the name field as captions show it; may be empty
    QString senderTime; // the time field of its newest message
    ReceivedState state = ReceivedState::Empty;
    int waitingBehind = 0; // other people whose messages wait for the window
};
class ReceivedWindowModel final : public core::ViewModel<ReceivedView> {
public:
    ReceivedWindowModel() : ViewModel(QStringLiteral("ミルトアンヌ　受信ﾒｯｾｰｼﾞ"), core::IconId::received(0))
    {
    }

    // The message in the window has not been dealt with.
    bool waiting() const { return view().state == ReceivedState::Waiting; }
    // Something waits: the message in the window, or someone's behind it.
    bool anythingWaits() const { return waiting() || view().waitingBehind > 0; }
};

// How much held text the received window keeps, in characters (1 MiB): anyone on the network can
// add to a held message, and a text without end would at last be too big to show.
constexpr qsizetype kHeldTextLimit = 128 * 1024;
// What stands where older held text was cut.
inline const QString kHeldTextCut = QStringLiteral("（以前の受信内容は長すぎるため省略しました）");
// Adds a message to the held text after " | ". Past kHeldTextLimit the oldest text goes, down to
// three quarters of the limit, so that the next arrivals again cost only their own length; the
// newest message is always kept whole, and kHeldTextCut marks the cut.
void appendToHeld(QString &held, QStringView message);

// A message that came to wait, as the desktop may be told of it: never its text, since reading it
// in the window is what tells its sender it was read.
struct WaitingNote {
    // The sender as the received window's caption names them; empty for the partner while the
    // options are behind a password, when the caption names nobody.
    QString from;
    QDateTime arrivedAt;
    bool letter = false;
};

// The receiver's side of a message: taking it in out of sight, acknowledging it, signalling it in
// the tray, and opening it. The received window holds one person's message; a message of anyone
// else waits behind it, in order of arrival, until the window is free. What waits unread or held
// when the copy ends is kept in a file of its own and waits again at the next start.
class Receiving final : public QObject {
    Q_OBJECT
public:
    // At most this many other people's messages wait behind the window, and their texts take at
    // most kHeldTextLimit characters together; a stranger's message past either is refused as
    // the partner-only filter refuses it. The partner's always waits.
    static constexpr qsizetype kMaxWaitingBehind = 64;
    // Saving what waits is put off this long after the last save, so that a burst of arrivals
    // writes the file a few times, not once for each.
    static constexpr int kSaveDelayMs = 500;
    static inline const QString kWaitingFile = QStringLiteral("waitFile.json");

    Receiving(core::Context &context, protocol::Outbox &outbox, core::TrayIcon &tray,
              const core::RegisteredPartner &partner, history::History &history);

    // The weekday of the start-up day, which the window's status bar shows with every message.
    void setWeekday(const QString &weekday) { m_weekday = weekday; }
    ReceivedWindowModel &window() { return m_window; }
    const ReceivedWindowModel &window() const { return m_window; }
    // Takes ordinary messages and letters.
    void plugInto(protocol::Dispatcher &dispatcher);

    // An ordinary message or a letter arrived. False when it was refused (by the partner-only
    // filter, or because too much waits): its sender then has its whole answer.
    bool receive(const protocol::Arrival &arrival);
    // "OTHER送信" to the sender: refused.
    void answerRefused(const core::Peer &sender);
    // "送信" to the sender.
    void acknowledge(const core::Peer &sender);
    // Opens the received-message window, naming the sender while a message waits; when the one
    // there was dealt with and someone else's waits, that one comes in first.
    void openReceived();

    // The received window's message was replied to, opened, held or closed (`state`): it no
    // longer waits, and the tray says whether anything else does.
    void dealtWith(ReceivedState state);
    // The received window was hidden: a message waiting behind it comes in, once the one there
    // was dealt with (or only held).
    void windowLeft();
    // The received-history row of the message in the window; null while history is off.
    const std::shared_ptr<core::HistoryRow> &windowRow() const { return m_windowRow; }
    // A reply to `address` was never confirmed: its text goes back into the reply box of that
    // person's message, now or when one of theirs next comes into the window (as a reply being
    // written does when someone else's message takes the window).
    void keepUnsentReply(const core::Peer &to, const QString &text);

    // Start-up: the messages that waited when the copy last ended wait again.
    void restoreWaiting();
    // Writes what waits (or removes the file when nothing does) if it changed since the last
    // save; the end of the copy calls it, a timer otherwise.
    void saveWaiting();
    QTimer &saveTimer() { return m_saveTimer; }

signals:
    // A message or a letter arrived and waits; at start-up, the first of those that waited when
    // the copy last ended.
    void messageWaits(const receive::WaitingNote &note);
    // Something waits now where nothing did, or the other way round (the window model's
    // anythingWaits).
    void waitingChanged(bool waits);

private:
    // A message waiting behind the window.
    struct Queued {
        protocol::WaitingMessage message;
        std::shared_ptr<core::HistoryRow> row;
        bool held = false; // held in the window, it gave way to someone else's message
    };
    // Brings the first message waiting behind the window into it (or, failing one, a held one),
    // when the one there was dealt with and the window is hidden (or `evenWhileShown`); a held
    // message there goes to the back. True when one came in.
    bool bringNext(bool evenWhileShown);
    // A message of someone other than the person in the window: it waits behind the window, and
    // comes into it at once when the window is free. False when it was refused: too much waits.
    bool waitBehind(const core::Peer &sender, const protocol::MessageFields &fields, bool fromPartner);
    void takeIntoWindow(Queued next);
    // The message in the window, as it would wait behind it or in the file.
    protocol::WaitingMessage windowMessage() const;
    void signalArrival();
    // The received entry of the menu enabled and the compose entry disabled, as while a message
    // waits or is held (kept aside under the operation lock).
    void enableReceivedEntry();
    QString caption() const;
    // The sender of a message as captions name them (see WaitingNote::from).
    QString captionName(const core::Peer &sender, const QString &name) const;
    void changed();
    qsizetype strangersWaitingText() const;

    core::Context &m_context;
    protocol::Outbox &m_outbox;
    core::TrayIcon &m_tray;
    const core::RegisteredPartner &m_partner;
    history::History &m_history;
    QString m_weekday;
    ReceivedWindowModel m_window;
    std::deque<Queued> m_behind;
    std::shared_ptr<core::HistoryRow> m_windowRow;
    QDateTime m_windowArrivedAt;
    QHash<core::Peer, QString> m_unsentReplies;
    QTimer m_saveTimer;
    QElapsedTimer m_sinceSave;
    bool m_unsaved = false;
    bool m_waits = false;
};

} // namespace receive
