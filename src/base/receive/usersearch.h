#pragma once

#include "base/core/context.h"
#include "base/core/layout.h"
#include "base/core/partnerrecord.h"
#include "base/protocol/arrival.h"
#include "base/protocol/dispatch.h"
#include "base/protocol/send.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace receive {

// One answer to a user search, as the list shows it.
struct UserRow {
    QString userName;       // the answerer's 20-character login field, as it came
    QString hostName;       // its host field up to and including the first blank; empty without one
    QString address;        // where the answer came from
    QString partnerAddress; // its partner field up to and including the first blank; empty without one
    QString displayName;    // the first 20 characters of its display name

    friend bool operator==(const UserRow &, const UserRow &) = default;
};

// The user list window (FrmUser): one row per answer, in the order the answers were handled.
struct UserView {
    QList<UserRow> rows;
};
class UserWindowModel final : public core::ViewModel<UserView> {
public:
    UserWindowModel() : ViewModel(QStringLiteral("User一覧"), core::IconId::normal(0)) {}
};

// The user list window's controls, in twips, as it is first drawn.
struct UserLayout {
    core::Box list{-30, 0, 4695, 3015};
    core::Box picturePanel{4800, 120, 1215, 1935};
    core::Box searchButton{4800, 2160, 1215, 375};
    core::Box closeButton{4800, 2640, 1215, 375};
};
constexpr int kUserClientWidth = 6075;
constexpr int kUserClientHeight = 3435;

// The layout after a resize of the client area to `innerWidth` x `innerHeight` twips: the list
// fills the left and leaves room for the status bar, the buttons and the pictures keep to the
// right. A negative list size is left out and the rest still runs.
UserLayout layOutUser(UserLayout l, int innerWidth, int innerHeight, QStringList &refused);

// Finding the other copies on the network: this copy's answer to anyone's search, its own
// broadcast, and the list of the answers it gets.
class UserSearch final {
public:
    static constexpr int kFieldWidth = 20;
    // More rows than a local network has copies.
    static constexpr qsizetype kMaxRows = 1024;

    UserSearch(core::Context &context, protocol::Outbox &outbox, const core::RegisteredPartner &partner);

    // Builds the two identity fields from the login and host names that start-up read. Run once,
    // after those are known.
    void buildIdentity(const QString &loginName, const QString &hostName);
    // Answers searches and takes the answers to its own.
    void plugInto(protocol::Dispatcher &dispatcher);
    // The login name followed by zero characters, as a 20-byte buffer of the login call leaves it,
    // in 20 characters; and the host name in 20 characters.
    const QString &loginName20() const { return m_loginName20; }
    const QString &hostName20() const { return m_hostName20; }

    // Answers the search in hand, to whoever sent it: login, host, partner address and display
    // name. Every search gets an answer; neither the partner-only option nor the lock stops it.
    void answerSearch(const QString &asker);
    // Empties the list and broadcasts a search. A failing broadcast is passed over like every
    // other failing send, without a word: the empty list is the only sign. Returns 0 or the send's
    // failure number.
    int search();
    // While the list is shown: keeps the answer in hand as this search's own copy and lists its
    // row, replacing the row of an earlier answer from the same address; at most kMaxRows rows.
    // Answers that come while the list is closed are dropped.
    void takeAnswer(const protocol::Arrival &answer);

    // "ﾕｰｻﾞｰﾘｽﾄ表示(&U)": a new search, and the window shown in the middle of the screen.
    void open();
    // "再検索".
    void searchAgain() { search(); }
    // "閉じる" and the close box: the window unloads, and its rows with it.
    void close() { m_window.unload(); }

    core::WindowSlot<UserWindowModel> &slot() { return m_window; }
    // The window's model, loading it (hidden) when it is not loaded.
    UserWindowModel &window() { return m_window.get(); }

    // The last answer handled: the whole datagram and its three 20-character fields.
    const QString &answerDatagram() const { return m_answerDatagram; }
    const QString &answerLogin() const { return m_answerLogin; }
    const QString &answerHost() const { return m_answerHost; }
    const QString &answerPartner() const { return m_answerPartner; }

private:
    core::Context &m_context;
    protocol::Outbox &m_outbox;
    const core::RegisteredPartner &m_partner;
    core::WindowSlot<UserWindowModel> m_window;
    // Until buildIdentity runs the fields still have their width, so an early answer keeps its layout.
    QString m_loginName20 = QString(kFieldWidth, QChar(u'\0'));
    QString m_hostName20 = QString(kFieldWidth, u' ');
    QString m_answerDatagram;
    QString m_answerLogin;
    QString m_answerHost;
    QString m_answerPartner;
};

} // namespace receive
