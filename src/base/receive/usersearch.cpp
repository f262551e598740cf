#include "base/receive/usersearch.h"

#include "base/protocol/send.h"
#include "base/protocol/tags.h"
#include "base/text/cp932.h"
#include "base/text/fields.h"

#include <algorithm>

namespace receive {
namespace {

const QString kBroadcast = QStringLiteral("255.255.255.255");

// The start of `field` up to and including its first blank; empty when it has none.
QString upToFirstBlank(QStringView field)
{
    const qsizetype blank = field.indexOf(u' ');
    return blank < 0 ? QString() : field.left(blank + 1).toString();
}

} // namespace

UserLayout layOutUser(UserLayout l, int innerWidth, int innerHeight, QStringList &refused)
{
    core::LayoutSteps steps(refused);
    steps.size(l.list.height, innerHeight - 420, "ListView1.Height");
    steps.size(l.list.width, innerWidth - 1400, "ListView1.Width");
    l.searchButton.left = innerWidth - 1300;
    l.searchButton.top = innerHeight - 1350;
    l.closeButton.left = innerWidth - 1300;
    l.closeButton.top = innerHeight - 850;
    l.picturePanel.left = innerWidth - 1300;
    l.picturePanel.top = innerHeight - 3300;
    return l;
}

UserSearch::UserSearch(core::Context &context, protocol::Outbox &outbox,
                       const core::RegisteredPartner &partner)
    : m_context(context), m_outbox(outbox), m_partner(partner)
{
    context.menu.setAction(core::MenuId::UserSearch, [this] { open(); });
}

void UserSearch::plugInto(protocol::Dispatcher &dispatcher)
{
    dispatcher.addHandler(protocol::Kind::SearchRequest,
                          [this](const protocol::Arrival &a) { answerSearch(a.sender.address); });
    dispatcher.addHandler(protocol::Kind::SearchResult,
                          [this](const protocol::Arrival &a) { takeAnswer(a); });
}

void UserSearch::buildIdentity(const QString &loginName, const QString &hostName)
{
    // The login call fills a 20-byte buffer of zero bytes, so the name is followed by zero
    // characters rather than blanks. The buffer holds bytes: a kanji name leaves fewer characters,
    // and the blanks of the 20-character field make up the rest. A name too long for the buffer is
    // cut on a character boundary rather than lost.
    QByteArray buffer = text::cp932Prefix(loginName, kFieldWidth);
    buffer.resize(kFieldWidth, '\0');
    m_loginName20 = text::fixedField(text::fromCp932(buffer), kFieldWidth);
    m_hostName20 = text::fixedField(hostName, kFieldWidth);
}

void UserSearch::answerSearch(const QString &asker)
{
    const QString partner = text::fixedField(m_partner.address, kFieldWidth);
    // The search is the one exchange that always stays plain: it goes to anyone who asks.
    m_outbox.send(core::Peer(asker), protocol::tagOf(protocol::Kind::SearchResult) + m_loginName20 +
                                         m_hostName20 + partner + m_context.opt.userName);
}

int UserSearch::search()
{
    window().edit([](UserView &v) { v.rows.clear(); });
    return m_outbox.send(core::Peer(kBroadcast), protocol::tagOf(protocol::Kind::SearchRequest));
}

void UserSearch::takeAnswer(const protocol::Arrival &answer)
{
    // Anyone can send answers, asked for or not: they are kept only while the list is open, one
    // row per address (a second answer replaces the first), and only so many.
    UserWindowModel *window = m_window.ifLoaded();
    if (window == nullptr || !window->isVisible())
        return;
    m_answerDatagram = answer.text;
    m_answerLogin = text::charsBetween(m_answerDatagram, 12, 31).toString();
    m_answerHost = text::charsBetween(m_answerDatagram, 32, 51).toString();
    m_answerPartner = text::charsBetween(m_answerDatagram, 52, 71).toString();
    const UserRow row{
        m_answerLogin,
        upToFirstBlank(m_answerHost),
        answer.sender.address,
        upToFirstBlank(m_answerPartner),
        text::charsBetween(m_answerDatagram, 72, 91).toString(),
    };
    window->edit([&row](UserView &v) {
        const auto same = std::find_if(v.rows.begin(), v.rows.end(),
                                       [&row](const UserRow &r) { return r.address == row.address; });
        if (same != v.rows.end())
            *same = row;
        else if (v.rows.size() < kMaxRows)
            v.rows.append(row);
    });
}

void UserSearch::open()
{
    m_context.menu.setVisible(core::MenuId::Tray, false);
    search();
    // The window centres itself when shown; the position options are not used for it.
    window().show();
}

} // namespace receive
