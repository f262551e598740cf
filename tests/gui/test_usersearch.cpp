#include "base/receive/usersearch.h"
#include "base/text/cp932.h"
#include "gui/kit/slotwidget.h"
#include "gui/kit/twipsgeometry.h"
#include "gui/receive/usersearchwindow.h"
#include "support/testcopy.h"

#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTest>

using namespace Qt::StringLiterals;
using receive::UserRow;
using testkit::FakeNetwork;
using testkit::TestCopy;

Q_DECLARE_METATYPE(receive::UserRow)
Q_DECLARE_METATYPE(core::Box)

namespace receive {
// A failing comparison prints the row, its zero characters written out.
char *toString(const UserRow &row)
{
    QStringList cells{row.userName, row.hostName, row.address, row.partnerAddress, row.displayName};
    for (QString &cell : cells)
        cell = u'[' + QString(cell).replace(QChar(u'\0'), u"\\0"_s) + u']';
    return QTest::toString(cells.join(u", "_s));
}
} // namespace receive

namespace {

const QString kSearchTag = u"ADDRESS検索"_s;
const QString kAnswerTag = u"ADDRESS検索結果"_s;

QString zeros(qsizetype n)
{
    return QString(n, QChar(u'\0'));
}
QString blanks(qsizetype n)
{
    return QString(n, u' ');
}

struct Who {
    QString login;
    QString host;
    QString userName;
    QString partner; // empty: none registered
};

// A whole copy on the fake network that takes part in user searches: it answers every search and
// lists every answer it gets.
struct SearchingCopy {
    SearchingCopy(FakeNetwork &net, const QString &address, const Who &who)
        : copy(net, address), search(copy.context(), copy.copy->outbox(), copy.partner())
    {
        copy.identity.login = who.login;
        copy.identity.host = who.host;
        copy.writeOptions([&who](core::Options &o) { o.userName = who.userName; });
        if (!who.partner.isEmpty())
            copy.writePartner(u"相手"_s, who.partner);
        if (!copy.start())
            qFatal("a searching copy did not start");
        search.buildIdentity(who.login.left(20), who.host);
        copy.copy->dispatcher().setHandler(
            protocol::Kind::SearchRequest,
            [this](const protocol::Arrival &arrival) { search.answerSearch(arrival.sender.address); });
        copy.copy->dispatcher().setHandler(
            protocol::Kind::SearchResult,
            [this](const protocol::Arrival &arrival) { search.takeAnswer(arrival); });
    }

    // An answer arriving from `sender`, as the network would hand it over.
    void arrive(const QString &datagram, const QString &sender)
    {
        copy.copy->dispatcher().arrive(text::toCp932(datagram), sender);
    }
    const QList<UserRow> &rows() { return search.window().view().rows; }

    TestCopy copy;
    receive::UserSearch search;
};

// Alice searches; Bob has a host name that fills its field and a long display name; Carol has no
// partner. Bob refuses messages from anyone but his partner.
struct ThreeCopies {
    ThreeCopies()
        : alice(net, u"127.0.0.2"_s, {u"alice"_s, u"alice-pc"_s, u"ｱﾘｽ"_s, u"127.0.0.3"_s}),
          bob(net, u"127.0.0.3"_s,
              {u"bob"_s, u"abcdefghij0123456789"_s, u"とても長い表示名を持っている利用者さんの名前です"_s,
               u"127.0.0.2"_s}),
          carol(net, u"127.0.0.4"_s, {u"carol"_s, u"carol"_s, u"ｷｬﾛﾙ"_s, QString()})
    {
        bob.copy.opt().rejectOthers = 1;
        net.flush(); // the start notices
        net.clearLog();
    }

    FakeNetwork net;
    SearchingCopy alice;
    SearchingCopy bob;
    SearchingCopy carol;
};

// Alice's list after a search of the three: her own copy hears her broadcast too.
QList<UserRow> expectedRows()
{
    return {
        {u"alice"_s + zeros(15), u"alice-pc "_s, u"127.0.0.2"_s, u"127.0.0.3 "_s, u"ｱﾘｽ"_s},
        {u"bob"_s + zeros(17), QString(), u"127.0.0.3"_s, u"127.0.0.2 "_s,
         u"とても長い表示名を持っている利用者さんの"_s},
        {u"carol"_s + zeros(15), u"carol "_s, u"127.0.0.4"_s, u" "_s, u"ｷｬﾛﾙ"_s},
    };
}

} // namespace

class TestUserSearch final : public QObject {
    Q_OBJECT
private slots:
    void searchListsEveryCopy();
    void answerGoesToTheSearcherOnly();
    void researchAndCloseEmptyTheList();
    void identityFields_data();
    void identityFields();
    void resultRow_data();
    void resultRow();
    void failingBroadcastIsPassedOver();
    void layout_data();
    void layout();
    void windowShowsTheListAndCloses();
};

void TestUserSearch::searchListsEveryCopy()
{
    ThreeCopies t;
    core::Context &alice = t.alice.copy.context();
    alice.menu.setVisible(core::MenuId::Tray, true);
    t.alice.search.open();
    QVERIFY(!alice.menu.visible(core::MenuId::Tray));
    QVERIFY(t.alice.search.window().isVisible());
    QCOMPARE(t.alice.search.window().caption(), u"User一覧"_s);
    QVERIFY(t.alice.rows().isEmpty());

    QCOMPARE(t.net.sent().size(), 1);
    const testkit::SentDatagram search = t.net.sent().first();
    QCOMPARE(search.to, u"255.255.255.255"_s);
    QCOMPARE(search.port, quint16(57979));
    QCOMPARE(search.text(), kSearchTag);

    t.net.flush();
    QCOMPARE(t.alice.rows(), expectedRows());
    // The last answer stays in the search's own variables.
    QCOMPARE(t.alice.search.answerLogin(), u"carol"_s + zeros(15));
    QCOMPARE(t.alice.search.answerHost(), u"carol"_s + blanks(15));
    QCOMPARE(t.alice.search.answerPartner(), blanks(20));
    // Only the searcher lists anything.
    QVERIFY(!t.bob.search.slot().isLoaded());
    QVERIFY(!t.carol.search.slot().isLoaded());
}

void TestUserSearch::answerGoesToTheSearcherOnly()
{
    ThreeCopies t;
    // Neither the partner-only option nor the lock keeps Bob from answering.
    t.bob.copy.copy->menuClicked(core::MenuId::Lock);
    QVERIFY(t.bob.copy.context().menu.checked(core::MenuId::Lock));
    t.net.clearLog();
    t.alice.search.search();
    t.net.flush();

    const QList<testkit::SentDatagram> fromBob = t.net.sentFrom(u"127.0.0.3"_s);
    QCOMPARE(fromBob.size(), 1);
    QCOMPARE(fromBob.first().to, u"127.0.0.2"_s);
    QCOMPARE(fromBob.first().port, quint16(57979));
    // The whole display name travels; only the list cuts it.
    QCOMPARE(fromBob.first().text(), kAnswerTag + u"bob"_s + zeros(17) + u"abcdefghij0123456789"_s +
                                         u"127.0.0.2"_s + blanks(11) +
                                         u"とても長い表示名を持っている利用者さんの名前です"_s);
    const QList<testkit::SentDatagram> fromCarol = t.net.sentFrom(u"127.0.0.4"_s);
    QCOMPARE(fromCarol.size(), 1);
    QCOMPARE(fromCarol.first().to, u"127.0.0.2"_s);
    QCOMPARE(fromCarol.first().text(),
             kAnswerTag + u"carol"_s + zeros(15) + u"carol"_s + blanks(15) + blanks(20) + u"ｷｬﾛﾙ"_s);
    QCOMPARE(t.net.sentTo(u"255.255.255.255"_s).size(), 1);
}

void TestUserSearch::researchAndCloseEmptyTheList()
{
    ThreeCopies t;
    receive::UserSearch &search = t.alice.search;
    search.open();
    t.net.flush();
    QCOMPARE(t.alice.rows().size(), 3);

    // "再検索" empties the list before its broadcast, and the new answers come in again.
    search.searchAgain();
    QVERIFY(t.alice.rows().isEmpty());
    t.net.flush();
    QCOMPARE(t.alice.rows(), expectedRows());

    // A second answer from the same address replaces its row; the list holds so many rows at most.
    const QString late =
        kAnswerTag + u"dave"_s + zeros(16) + u"dave-pc"_s + blanks(13) + blanks(20) + u"ﾃﾞｲﾌﾞ"_s;
    t.alice.arrive(late, u"127.0.0.9"_s);
    t.alice.arrive(late, u"127.0.0.9"_s);
    QCOMPARE(t.alice.rows().size(), 4);
    QCOMPARE(t.alice.rows().at(3).address, u"127.0.0.9"_s);
    for (int i = 0; i < receive::UserSearch::kMaxRows + 10; ++i)
        t.alice.arrive(late, u"10.0.%1.%2"_s.arg(i / 250).arg(i % 250 + 1));
    QCOMPARE(t.alice.rows().size(), receive::UserSearch::kMaxRows);

    // "閉じる" drops the rows with the window, and answers that come while it is closed are not kept.
    search.close();
    QVERIFY(!search.slot().isLoaded());
    t.alice.arrive(late, u"127.0.0.9"_s);
    QVERIFY(!search.slot().isLoaded());
}

void TestUserSearch::identityFields_data()
{
    QTest::addColumn<QString>("login");
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("loginField");
    QTest::addColumn<int>("loginBytes");
    QTest::addColumn<QString>("hostField");

    QTest::newRow("short ascii") << u"tester"_s << u"testhost"_s << u"tester"_s + zeros(14) << 20
                                 << u"testhost"_s + blanks(12);
    // The buffer counts bytes: four kanji take eight of them, and blanks fill the field up.
    QTest::newRow("kanji login") << u"山田太郎"_s << u"開発機"_s << u"山田太郎"_s + zeros(12) + blanks(4)
                                 << 24 << u"開発機"_s + blanks(17);
    QTest::newRow("half-width kana login")
        << u"ﾔﾏﾀﾞ"_s << u"pc"_s << u"ﾔﾏﾀﾞ"_s + zeros(16) << 20 << u"pc"_s + blanks(18);
    QTest::newRow("login filling the buffer") << u"abcdefghijklmnopqrst"_s << u"abcdefghijklmnopqrst"_s
                                              << u"abcdefghijklmnopqrst"_s << 20 << u"abcdefghijklmnopqrst"_s;
    QTest::newRow("long names are cut") << u"abcdefghijklmnopqrstuvwxyz"_s << u"host-with-a-very-long-name"_s
                                        << u"abcdefghijklmnopqrst"_s << 20 << u"host-with-a-very-lon"_s;
    // A kanji never straddles the end of the buffer.
    QTest::newRow("cut before a kanji")
        << u"a一二三四五六七八九十"_s << u"h"_s << u"a一二三四五六七八九"_s + zeros(1) + blanks(9) << 29
        << u"h"_s + blanks(19);
}

void TestUserSearch::identityFields()
{
    QFETCH(QString, login);
    QFETCH(QString, host);
    QFETCH(QString, loginField);
    QFETCH(int, loginBytes);
    QFETCH(QString, hostField);

    FakeNetwork net;
    SearchingCopy one(net, u"127.0.0.2"_s, {login, host, QString(), QString()});
    QCOMPARE(one.search.loginName20(), loginField);
    QCOMPARE(one.search.loginName20().size(), 20);
    QCOMPARE(text::toCp932(one.search.loginName20()).size(), loginBytes);
    QCOMPARE(one.search.hostName20(), hostField);
    QCOMPARE(one.search.hostName20().size(), 20);
}

void TestUserSearch::resultRow_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<UserRow>("row");

    const QString login = u"bob"_s + zeros(17);
    QTest::newRow("host shorter than its field")
        << kAnswerTag + login + u"bob-pc"_s + blanks(14) + u"127.0.0.2"_s + blanks(11) + u"ﾎﾞﾌﾞ"_s
        << UserRow{login, u"bob-pc "_s, u"127.0.0.7"_s, u"127.0.0.2 "_s, u"ﾎﾞﾌﾞ"_s};
    QTest::newRow("host filling its field")
        << kAnswerTag + login + u"abcdefghij0123456789"_s + u"127.0.0.2"_s + blanks(11) + u"ﾎﾞﾌﾞ"_s
        << UserRow{login, QString(), u"127.0.0.7"_s, u"127.0.0.2 "_s, u"ﾎﾞﾌﾞ"_s};
    QTest::newRow("blank inside the host name")
        << kAnswerTag + login + u"my pc"_s + blanks(15) + u"127.0.0.2"_s + blanks(11) + u"ﾎﾞﾌﾞ"_s
        << UserRow{login, u"my "_s, u"127.0.0.7"_s, u"127.0.0.2 "_s, u"ﾎﾞﾌﾞ"_s};
    QTest::newRow("no partner") << kAnswerTag + login + u"bob-pc"_s + blanks(14) + blanks(20) + u"ﾎﾞﾌﾞ"_s
                                << UserRow{login, u"bob-pc "_s, u"127.0.0.7"_s, u" "_s, u"ﾎﾞﾌﾞ"_s};
    QTest::newRow("partner field without a blank")
        << kAnswerTag + login + u"bob-pc"_s + blanks(14) + u"12345678901234567890"_s + u"ﾎﾞﾌﾞ"_s
        << UserRow{login, u"bob-pc "_s, u"127.0.0.7"_s, QString(), u"ﾎﾞﾌﾞ"_s};
    QTest::newRow("display name cut to 20, blanks kept")
        << kAnswerTag + login + u"bob-pc"_s + blanks(14) + blanks(20) + u"ｱｲｳ ｴｵ 01234567890123456789"_s
        << UserRow{login, u"bob-pc "_s, u"127.0.0.7"_s, u" "_s, u"ｱｲｳ ｴｵ 0123456789012"_s};
    QTest::newRow("no display name") << kAnswerTag + login + u"bob-pc"_s + blanks(14) + blanks(20)
                                     << UserRow{login, u"bob-pc "_s, u"127.0.0.7"_s, u" "_s, QString()};
    QTest::newRow("tag alone") << kAnswerTag
                               << UserRow{QString(), QString(), u"127.0.0.7"_s, QString(), QString()};
    QTest::newRow("cut inside the host field")
        << kAnswerTag + u"carol"_s + blanks(15) + u"carol"_s
        << UserRow{u"carol"_s + blanks(15), QString(), u"127.0.0.7"_s, QString(), QString()};
}

void TestUserSearch::resultRow()
{
    QFETCH(QString, answer);
    QFETCH(UserRow, row);

    FakeNetwork net;
    SearchingCopy one(net, u"127.0.0.2"_s, {u"alice"_s, u"alice-pc"_s, u"ｱﾘｽ"_s, QString()});
    one.search.window().show();
    one.arrive(answer, u"127.0.0.7"_s);
    QCOMPARE(one.rows(), QList<UserRow>{row});
    QCOMPARE(one.search.answerDatagram(), answer);
    QVERIFY(one.copy.dialogs.shown().isEmpty());
}

void TestUserSearch::failingBroadcastIsPassedOver()
{
    FakeNetwork net;
    TestCopy unstarted(net, u"127.0.0.2"_s); // no port yet: the send step fails
    receive::UserSearch search(unstarted.context(), unstarted.copy->outbox(), unstarted.partner());
    search.window().show();
    search.takeAnswer({kAnswerTag + u"bob"_s, core::Peer(u"127.0.0.3"_s)});
    QCOMPARE(search.window().view().rows.size(), 1);

    search.open();
    QVERIFY(search.window().view().rows.isEmpty());
    QVERIFY(search.window().isVisible());
    QCOMPARE(net.sent().size(), 1);
    QVERIFY(net.sent().first().result != 0);
    QVERIFY(unstarted.dialogs.shown().isEmpty());
    QCOMPARE(search.search(), net.sent().last().result);
}

void TestUserSearch::layout_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<QStringList>("refused");
    QTest::addColumn<core::Box>("list");
    QTest::addColumn<QList<QPoint>>("rightColumn"); // where the pictures, "再検索" and "閉じる" go

    QTest::newRow("design size") << 6075 << 3435 << QStringList() << core::Box{-30, 0, 4675, 3015}
                                 << QList<QPoint>{{4775, 135}, {4775, 2085}, {4775, 2585}};
    QTest::newRow("grown") << 9000 << 6000 << QStringList() << core::Box{-30, 0, 7600, 5580}
                           << QList<QPoint>{{7700, 2700}, {7700, 4650}, {7700, 5150}};
    // The right-hand column moves with the window even when the list refused its size.
    QTest::newRow("too narrow") << 1300 << 3000 << QStringList{u"ListView1.Width"_s}
                                << core::Box{-30, 0, 4695, 2580}
                                << QList<QPoint>{{0, -300}, {0, 1650}, {0, 2150}};
    QTest::newRow("minimised") << 0 << 0 << QStringList{u"ListView1.Height"_s, u"ListView1.Width"_s}
                               << core::Box{-30, 0, 4695, 3015}
                               << QList<QPoint>{{-1300, -3300}, {-1300, -1350}, {-1300, -850}};
}

void TestUserSearch::layout()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(QStringList, refused);
    QFETCH(core::Box, list);
    QFETCH(QList<QPoint>, rightColumn);

    QStringList notSet;
    const receive::UserLayout l = receive::layOutUser({}, width, height, notSet);
    QCOMPARE(notSet, refused);
    QCOMPARE(l.list, list);
    QList<QPoint> at;
    for (const core::Box &b : {l.picturePanel, l.searchButton, l.closeButton})
        at << QPoint(b.left, b.top);
    QCOMPARE(at, rightColumn);
}

void TestUserSearch::windowShowsTheListAndCloses()
{
    ThreeCopies t;
    receive::UserSearch &search = t.alice.search;
    QObject owner;
    kit::SlotWidget<receive::UserSearchWindow> widget(
        search.slot(), owner, [&] { return new receive::UserSearchWindow(t.alice.copy.context(), search); });
    QVERIFY(widget.get() == nullptr);
    search.open();
    t.net.flush();
    receive::UserSearchWindow *w = widget.get();
    QVERIFY(w != nullptr);
    QVERIFY(w->isVisible());
    QCOMPARE(w->windowTitle(), u"User一覧"_s);

    QTreeWidget *list = w->list;
    const QStringList headings{u"UserName"_s, u"HostName"_s, u"IPｱﾄﾞﾚｽ"_s, u"相手のIPｱﾄﾞﾚｽ"_s, u"ﾕｰｻﾞｰ名"_s};
    QCOMPARE(list->columnCount(), int(headings.size()));
    for (int c = 0; c < list->columnCount(); ++c) {
        QCOMPARE(list->headerItem()->text(c), headings.at(c));
        QCOMPARE(list->columnWidth(c), kit::px(1440));
    }
    QCOMPARE(list->topLevelItemCount(), 3);
    // The zero characters after a login name do not show.
    const QStringList bob{u"bob"_s, QString(), u"127.0.0.3"_s, u"127.0.0.2 "_s,
                          u"とても長い表示名を持っている利用者さんの"_s};
    for (int c = 0; c < bob.size(); ++c)
        QCOMPARE(list->topLevelItem(1)->text(c), bob.at(c));

    // Centred on the screen, whatever the placement options say.
    t.alice.copy.opt().posCenter = false;
    t.alice.copy.opt().posLeftUp = true;
    search.open();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QVERIFY2((w->frameGeometry().center() - screen.center()).manhattanLength() <= 3,
             qPrintable(u"window at %1,%2"_s.arg(w->x()).arg(w->y())));
    t.net.flush();
    QCOMPARE(list->topLevelItemCount(), 3);

    // "再検索" clears the shown list at once.
    QTest::mouseClick(w->searchButton, Qt::LeftButton);
    QCOMPARE(list->topLevelItemCount(), 0);
    t.net.flush();
    QCOMPARE(list->topLevelItemCount(), 3);

    // The list stays clear of the status bar when the window grows.
    w->resize(kit::px(9000), kit::px(6000));
    QVERIFY(list->geometry().bottom() < w->statusBar->geometry().top());
    QVERIFY(w->closeButton->geometry().left() > list->geometry().right());

    const QPointer<receive::UserSearchWindow> alive(w);
    QTest::mouseClick(w->closeButton, Qt::LeftButton);
    QVERIFY(!search.slot().isLoaded());
    QVERIFY(widget.get() == nullptr);
    QTRY_VERIFY(alive.isNull());
}

QTEST_MAIN(TestUserSearch)
#include "test_usersearch.moc"
