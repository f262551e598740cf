#include "base/history/historyviewer.h"
#include "gui/history/historywindow.h"
#include "gui/kit/twipsgeometry.h"
#include "support/testcopy.h"

#include <QHeaderView>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;
using history::Box;
using history::HistoryViewer;
using history::Which;
using testkit::FakeNetwork;
using testkit::TestCopy;

namespace core {
char *toString(const Box &b)
{
    return QTest::toString(u"(%1, %2, %3 x %4)"_s.arg(b.left).arg(b.top).arg(b.width).arg(b.height));
}
} // namespace core

namespace {

const QString kSent = u"sent"_s;

// One started copy with its viewer, the lists filled by hand.
struct Bench {
    FakeNetwork net;
    TestCopy alice{net, u"127.0.0.2"_s};
    HistoryViewer &viewer = alice.copy->historyViewer();

    Bench() { QVERIFY(alice.start()); }
    core::Context &context() { return alice.context(); }
    history::HistoryWindowModel &historyWindow() { return alice.historyWindow(); }
    history::History &history() { return alice.history(); }
    const history::HistoryView &view() { return alice.historyWindow().view(); }
    core::HistoryList &list(const QString &which)
    {
        return which == kSent ? alice.history().sent() : alice.history().received();
    }
    // Rows "1" to "n", each field telling its row apart.
    void fill(const QString &which, int from, int to)
    {
        for (int i = from; i <= to; ++i)
            list(which).append({u"26/12/%1"_s.arg(i, 2, 10, QChar(u'0')),
                                u"09:00:%1"_s.arg(i, 2, 10, QChar(u'0')),
                                u"10:00:%1"_s.arg(i, 2, 10, QChar(u'0')), u"%1 %2"_s.arg(which).arg(i)});
    }
    void selectTabOf(const QString &which) { viewer.showTab(which == kSent ? Which::Sent : Which::Received); }
    void clickRow(const QString &which, qint32 position)
    {
        if (which == kSent)
            viewer.openSentRow(position);
        else
            viewer.openReceivedRow(position);
    }
};

} // namespace

// The history viewer: its steps on the lists and its window.
class TestViewer final : public QObject {
    Q_OBJECT
private slots:
    void openingCountsTheSelectedTab_data();
    void openingCountsTheSelectedTab();
    void clickingTheOnlyRow_data();
    void clickingTheOnlyRow();
    void stepsStopAtBothEnds_data();
    void stepsStopAtBothEnds();
    void okLeavesTheDetailPaneThenHides_data();
    void okLeavesTheDetailPaneThenHides();
    void clearEmptiesOnlyTheShownList_data();
    void clearEmptiesOnlyTheShownList();
    void closeBoxKeepsTheDetailPane();
    void rowsAddedWhileTheDetailPaneShowsAreReachable_data();
    void rowsAddedWhileTheDetailPaneShowsAreReachable();
    void stepsNeedTheDetailPaneAndItsRow_data();
    void stepsNeedTheDetailPaneAndItsRow();
    void layoutSkipsRefusedSteps_data();
    void layoutSkipsRefusedSteps();
    void detailLabelsStandInOneLine_data();
    void detailLabelsStandInOneLine();
    void windowOpensWithManyRows();
    void windowForwardsClicksAndKeys();
};

void TestViewer::openingCountsTheSelectedTab_data()
{
    QTest::addColumn<Which>("tab");
    QTest::addColumn<int>("sent");
    QTest::addColumn<int>("received");
    QTest::addColumn<QString>("countPanel");
    QTest::newRow("no rows, sent tab") << Which::Sent << 0 << 0 << u"送信件数： 0"_s;
    QTest::newRow("no rows, received tab left selected") << Which::Received << 0 << 0 << u"受信件数： 0"_s;
    QTest::newRow("sent tab counts the sent list") << Which::Sent << 2 << 3 << u"送信件数： 2"_s;
    QTest::newRow("received tab counts the received list") << Which::Received << 2 << 3 << u"受信件数： 3"_s;
}

void TestViewer::openingCountsTheSelectedTab()
{
    QFETCH(Which, tab);
    QFETCH(int, sent);
    QFETCH(int, received);
    QFETCH(QString, countPanel);
    Bench b;
    b.viewer.showTab(tab);
    // Rows entered after the tab was chosen: the count is taken when the window opens.
    b.fill(kSent, 1, sent);
    b.fill(u"received"_s, 1, received);
    b.viewer.open();
    QVERIFY(b.historyWindow().isVisible());
    QVERIFY(!b.view().detailVisible);
    QCOMPARE(b.view().countPanel, countPanel);
}

void TestViewer::clickingTheOnlyRow_data()
{
    QTest::addColumn<QString>("which");
    QTest::addColumn<Which>("shownList");
    QTest::addColumn<QString>("countPanel");
    QTest::newRow("sent") << kSent << Which::Sent << u"送信履歴： 1/1"_s;
    QTest::newRow("received") << u"received"_s << Which::Received << u"受信履歴： 1/1"_s;
}

void TestViewer::clickingTheOnlyRow()
{
    QFETCH(QString, which);
    QFETCH(Which, shownList);
    QFETCH(QString, countPanel);
    Bench b;
    b.fill(kSent, 1, 1);
    b.fill(u"received"_s, 1, 1);
    b.list(which).clear();
    b.list(which).append({u"26/12/08"_s, u"09:05:10"_s, u"09:06:00*"_s, u"first line\r\nsecond line"_s});
    b.viewer.open();
    b.selectTabOf(which);
    b.clickRow(which, 1);

    const history::HistoryView &v = b.view();
    QVERIFY(v.detailVisible);
    QCOMPARE(v.shownList, shownList);
    QCOMPARE(v.detailPosition, 1);
    QCOMPARE(v.countPanel, countPanel);
    QVERIFY(!v.backEnabled);
    QVERIFY(!v.nextEnabled);
    QVERIFY(!v.clearEnabled);
    QCOMPARE(v.detailDate, u"DATE： 26/12/08"_s);
    QCOMPARE(v.detailSendTime, u"送信時間： 09:05:10"_s);
    QCOMPARE(v.detailReceiveTime, u"受信時間： 09:06:00*"_s);
    QCOMPARE(v.detailText, u"first line\r\nsecond line"_s);
}

void TestViewer::stepsStopAtBothEnds_data()
{
    QTest::addColumn<QString>("which");
    QTest::addColumn<QString>("other");
    QTest::addColumn<QString>("label");
    QTest::newRow("sent") << kSent << u"received"_s << u"送信履歴： "_s;
    QTest::newRow("received") << u"received"_s << kSent << u"受信履歴： "_s;
}

void TestViewer::stepsStopAtBothEnds()
{
    QFETCH(QString, which);
    QFETCH(QString, other);
    QFETCH(QString, label);
    Bench b;
    b.fill(which, 1, 3);
    b.fill(other, 1, 5); // a longer neighbour list must not lend its count
    b.viewer.open();
    b.selectTabOf(which);
    b.clickRow(which, 1);
    const history::HistoryView &v = b.view();
    QVERIFY(!v.backEnabled);
    QVERIFY(v.nextEnabled);

    b.viewer.next();
    QCOMPARE(v.detailPosition, 2);
    QVERIFY(v.backEnabled && v.nextEnabled);
    QCOMPARE(v.detailText, which + u" 2"_s);
    QCOMPARE(v.countPanel, label + u"2/3"_s);

    b.viewer.next();
    QCOMPARE(v.detailPosition, 3);
    QVERIFY(!v.nextEnabled);
    QCOMPARE(v.detailDate, u"DATE： 26/12/03"_s);

    QSignalSpy changes(&b.historyWindow(), &core::WindowModel::changed);
    b.viewer.next();
    QCOMPARE(v.detailPosition, 3);
    QCOMPARE(changes.size(), 0);

    b.viewer.back();
    b.viewer.back();
    QCOMPARE(v.detailPosition, 1);
    QVERIFY(!v.backEnabled);
    QVERIFY(v.nextEnabled);
    QCOMPARE(v.detailSendTime, u"送信時間： 09:00:01"_s);
    QCOMPARE(v.detailReceiveTime, u"受信時間： 10:00:01"_s);
    QCOMPARE(v.countPanel, label + u"1/3"_s);
    changes.clear();
    b.viewer.back();
    QCOMPARE(v.detailPosition, 1);
    QCOMPARE(changes.size(), 0);
}

void TestViewer::okLeavesTheDetailPaneThenHides_data()
{
    QTest::addColumn<QString>("which");
    QTest::addColumn<QString>("count");
    QTest::newRow("sent") << kSent << u"送信件数： 2"_s;
    QTest::newRow("received") << u"received"_s << u"受信件数： 4"_s;
}

void TestViewer::okLeavesTheDetailPaneThenHides()
{
    QFETCH(QString, which);
    QFETCH(QString, count);
    Bench b;
    b.fill(kSent, 1, 2);
    b.fill(u"received"_s, 1, 4);
    b.viewer.open();
    b.selectTabOf(which);
    b.clickRow(which, 2);
    // Clearing is not offered over the detail pane.
    b.viewer.clear();
    QCOMPARE(b.list(which).size(), which == kSent ? 2 : 4);

    b.viewer.ok();
    QVERIFY(b.historyWindow().isVisible());
    QVERIFY(!b.view().detailVisible);
    QVERIFY(b.view().clearEnabled);
    QCOMPARE(b.view().countPanel, count);

    b.viewer.ok();
    QVERIFY(!b.historyWindow().isVisible());
    b.historyWindow().edit([](history::HistoryView &v) { v.countPanel = u"stale"_s; });
    b.viewer.open();
    QVERIFY(!b.view().detailVisible);
    QCOMPARE(b.view().countPanel, count);
}

void TestViewer::clearEmptiesOnlyTheShownList_data()
{
    QTest::addColumn<QString>("which");
    QTest::addColumn<QString>("other");
    QTest::addColumn<QString>("otherCount");
    QTest::newRow("sent tab") << kSent << u"received"_s << u"受信件数： 3"_s;
    QTest::newRow("received tab") << u"received"_s << kSent << u"送信件数： 3"_s;
}

void TestViewer::clearEmptiesOnlyTheShownList()
{
    QFETCH(QString, which);
    QFETCH(QString, other);
    QFETCH(QString, otherCount);
    Bench b;
    b.fill(which, 1, 2);
    b.fill(other, 1, 3);
    b.viewer.open();
    b.selectTabOf(which);
    b.viewer.clear();
    QVERIFY(b.list(which).isEmpty());
    QCOMPARE(b.list(other).size(), 3);
    QCOMPARE(b.list(other).at(3).message, other + u" 3"_s);
    QVERIFY(b.view().countPanel.isEmpty());
    QVERIFY(b.historyWindow().isVisible());

    b.selectTabOf(other);
    QCOMPARE(b.view().countPanel, otherCount);
}

void TestViewer::closeBoxKeepsTheDetailPane()
{
    Bench b;
    b.fill(kSent, 1, 2);
    b.viewer.open();
    b.viewer.openSentRow(2);
    b.viewer.closeBox();
    QVERIFY(!b.historyWindow().isVisible());

    b.viewer.open();
    QVERIFY(b.historyWindow().isVisible());
    QVERIFY(b.view().detailVisible);
    QCOMPARE(b.view().detailPosition, 2);
    QCOMPARE(b.view().detailText, u"sent 2"_s);
    QCOMPARE(b.view().countPanel, u"送信件数： 2"_s);
    b.viewer.back();
    QCOMPARE(b.view().countPanel, u"送信履歴： 1/2"_s);
}

void TestViewer::rowsAddedWhileTheDetailPaneShowsAreReachable_data()
{
    QTest::addColumn<int>("rows");          // in the list when a row is clicked
    QTest::addColumn<int>("clicked");       // that row; then two rows arrive
    QTest::addColumn<QStringList>("steps"); // the rows Next shows, one press each
    QTest::addColumn<QString>("panel");     // after the first press
    QTest::addColumn<QString>("back");      // the row Back shows then
    const int full = static_cast<int>(core::HistoryList::kMaxRows);
    QTest::newRow("room left") << 2 << 1 << QStringList{u"sent 2"_s, u"sent 3"_s, u"sent 4"_s}
                               << u"送信履歴： 2/4"_s << u"sent 3"_s;
    QTest::newRow("the newest shown")
        << 2 << 2 << QStringList{u"sent 3"_s, u"sent 4"_s} << u"送信履歴： 3/4"_s << u"sent 3"_s;
    // Each row that arrives pushes the oldest out: the rows shown keep their order.
    QTest::newRow("full, the newest shown")
        << full << full << QStringList{u"sent %1"_s.arg(full + 1), u"sent %1"_s.arg(full + 2)}
        << u"送信履歴： %1/%2"_s.arg(full - 1).arg(full) << u"sent %1"_s.arg(full + 1);
    QTest::newRow("full, the row shown pushed out")
        << full << 1 << QStringList{u"sent 3"_s} << u"送信履歴： 1/%1"_s.arg(full) << u"sent 3"_s;
}

void TestViewer::rowsAddedWhileTheDetailPaneShowsAreReachable()
{
    QFETCH(int, rows);
    QFETCH(int, clicked);
    QFETCH(QStringList, steps);
    QFETCH(QString, panel);
    QFETCH(QString, back);
    Bench b;
    b.fill(kSent, 1, rows);
    b.viewer.open();
    b.viewer.openSentRow(clicked);
    b.fill(kSent, rows + 1, rows + 2);
    for (const QString &row : steps) {
        QVERIFY(b.view().nextEnabled);
        b.viewer.next();
        QCOMPARE(b.view().detailText, row);
        if (row == steps.first())
            QCOMPARE(b.view().countPanel, panel);
    }
    QCOMPARE(b.view().nextEnabled, b.view().detailPosition < b.list(kSent).size());
    b.viewer.back();
    QCOMPARE(b.view().detailText, back);
}

void TestViewer::stepsNeedTheDetailPaneAndItsRow_data()
{
    QTest::addColumn<QString>("which");
    QTest::addColumn<int>("rowsAfterClear");
    QTest::addColumn<bool>("forward");
    QTest::newRow("back, sent list cleared") << kSent << 0 << false;
    QTest::newRow("back, received list cleared") << u"received"_s << 0 << false;
    QTest::newRow("back, received list cleared and one row new") << u"received"_s << 1 << false;
    QTest::newRow("next, sent list cleared and five rows new") << kSent << 5 << true;
}

void TestViewer::stepsNeedTheDetailPaneAndItsRow()
{
    QFETCH(QString, which);
    QFETCH(int, rowsAfterClear);
    QFETCH(bool, forward);
    Bench b;
    b.fill(which, 1, 3);
    b.viewer.open();
    b.selectTabOf(which);
    b.clickRow(which, 3);
    b.viewer.ok();
    b.viewer.clear();
    b.fill(which, 1, rowsAfterClear);
    // The pane is left, its row gone: a step (which the hidden buttons do not offer) has no row
    // to land on, and changes nothing.
    QSignalSpy changes(&b.historyWindow(), &core::WindowModel::changed);
    forward ? b.viewer.next() : b.viewer.back();
    QCOMPARE(changes.size(), 0);
    QVERIFY(!b.view().detailVisible);
    // A click on a row that is there opens the pane again, and the steps work from it.
    if (rowsAfterClear < 1)
        return;
    b.clickRow(which, 1);
    forward ? b.viewer.next() : b.viewer.back();
    QCOMPARE(b.view().detailPosition, forward && rowsAfterClear > 1 ? 2 : 1);
}

void TestViewer::layoutSkipsRefusedSteps_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<QStringList>("refused");
    QTest::addColumn<Box>("tabStrip");
    QTest::addColumn<Box>("page"); // either page, and the list that fills it
    QTest::addColumn<Box>("detailPane");
    QTest::addColumn<Box>("detailText");
    QTest::addColumn<QList<QPoint>>("buttons"); // where OK, clear, the picture, back and next go
    QTest::newRow("design size") << 5955 << 3540 << QStringList{} << Box{0, 120, 4555, 3020}
                                 << Box{50, 450, 4435, 2620} << Box{0, 0, 4555, 3100}
                                 << Box{0, 300, 4555, 2800}
                                 << QList<QPoint>{
                                        {4755, 2730}, {4755, 2230}, {5065, 1550}, {4755, 300}, {5355, 300}};
    QTest::newRow("grown") << 8000 << 6000 << QStringList{} << Box{0, 120, 6600, 5480}
                           << Box{50, 450, 6480, 5080} << Box{0, 0, 6600, 5560} << Box{0, 300, 6600, 5260}
                           << QList<QPoint>{
                                  {6800, 5190}, {6800, 4690}, {7110, 4010}, {6800, 300}, {7400, 300}};
    QTest::newRow("narrow: the pages refuse, the lists keep the pages' width")
        << 1450 << 3540 << QStringList{u"Picture1.Width"_s, u"Picture2.Width"_s} << Box{0, 120, 50, 3020}
        << Box{50, 450, 4435, 2620} << Box{0, 0, 50, 3100} << Box{0, 300, 50, 2800}
        << QList<QPoint>{{250, 2730}, {250, 2230}, {560, 1550}, {250, 300}, {850, 300}};
    QTest::newRow("tiny: strip and pane refuse, the buttons still move")
        << 300 << 200
        << QStringList{u"TabStrip1.Height"_s, u"TabStrip1.Width"_s, u"PicLog.Height"_s, u"PicLog.Width"_s}
        << Box{0, 120, 4555, 3020} << Box{50, 450, 4435, 2620} << Box{0, 0, 4555, 3100}
        << Box{0, 300, 4555, 2800}
        << QList<QPoint>{{-900, -610}, {-900, -1110}, {-590, -1790}, {-900, 300}, {-300, 300}};
    // The text box reads the pane's new height, too low for it.
    QTest::newRow("short and wide: pages and text box refuse their height")
        << 8000 << 600 << QStringList{u"Picture1.Height"_s, u"Picture2.Height"_s, u"TxtLog.Height"_s}
        << Box{0, 120, 6600, 80} << Box{50, 450, 6480, 2620} << Box{0, 0, 6600, 160}
        << Box{0, 300, 6600, 2800}
        << QList<QPoint>{{6800, -210}, {6800, -710}, {7110, -1390}, {6800, 300}, {7400, 300}};
}

void TestViewer::layoutSkipsRefusedSteps()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(QStringList, refused);
    QFETCH(Box, tabStrip);
    QFETCH(Box, page);
    QFETCH(Box, detailPane);
    QFETCH(Box, detailText);
    QFETCH(QList<QPoint>, buttons);
    const history::LayoutResult r = history::layOutWindow(history::designLayout(), width, height);
    const history::HistoryLayout &l = r.layout;
    QCOMPARE(r.refused, refused);
    QCOMPARE(l.tabStrip, tabStrip);
    QCOMPARE(l.sentPage, page);
    QCOMPARE(l.receivedPage, page);
    const Box list{0, 0, page.width, page.height};
    QCOMPARE(l.sentList, list);
    QCOMPARE(l.receivedList, list);
    QCOMPARE(l.detailPane, detailPane);
    QCOMPARE(l.detailText, detailText);
    QList<QPoint> at;
    for (const Box &b : {l.okButton, l.clearButton, l.picture, l.backButton, l.nextButton})
        at << QPoint(b.left, b.top);
    QCOMPARE(at, buttons);
}

void TestViewer::detailLabelsStandInOneLine_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<QStringList>("refused");
    QTest::addColumn<Box>("detailPane");
    QTest::addColumn<Box>("detailText");
    QTest::newRow("design size") << 5955 << 3540 << QStringList{} << Box{0, 0, 4555, 3100}
                                 << Box{0, 300, 4555, 2800};
    QTest::newRow("grown") << 8000 << 6000 << QStringList{} << Box{0, 0, 6600, 5560}
                           << Box{0, 300, 6600, 5260};
    QTest::newRow("too small for the pane")
        << 1000 << 300 << QStringList{u"PicLog.Height"_s, u"PicLog.Width"_s} << Box{0, 0, 4555, 3100}
        << Box{0, 300, 4555, 2800};
}

void TestViewer::detailLabelsStandInOneLine()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(QStringList, refused);
    QFETCH(Box, detailPane);
    QFETCH(Box, detailText);
    const history::LayoutResult r =
        history::layOutDetail(history::designLayout(), width, height, 900, 1200, 1300);
    QCOMPARE(r.refused, refused);
    QCOMPARE(r.layout.detailPane, detailPane);
    QCOMPARE(r.layout.detailText, detailText);
    // Each label as wide as its text, 100 twips apart, in their line whatever the pane refused.
    QCOMPARE(r.layout.dateLabel, (Box{50, 100, 900, 180}));
    QCOMPARE(r.layout.sendTimeLabel, (Box{1050, 100, 1200, 180}));
    QCOMPARE(r.layout.receiveTimeLabel, (Box{2350, 100, 1300, 180}));
}

void TestViewer::windowOpensWithManyRows()
{
    Bench b;
    const int full = core::HistoryList::kMaxRows;
    for (int i = 0; i < full; ++i)
        b.history().sent().append({u"26/12/08"_s, u"09:05:00"_s, {}, u"message %1"_s.arg(i)});
    history::HistoryWindow window(b.context(), b.viewer);
    b.viewer.open();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.sentList->model()->rowCount(), full);
    QVERIFY(window.sentList->isVisible());
    QCOMPARE(window.findChild<QLabel *>(u"StatusBar1Text"_s)->text(),
             u"送信件数： "_s + QString::number(full));
}

void TestViewer::windowForwardsClicksAndKeys()
{
    Bench b;
    b.fill(kSent, 1, 3);
    b.history().received().append({u"26/12/08"_s, u"09:05:00"_s, {}, u"first\r\nsecond"_s});
    history::HistoryWindow window(b.context(), b.viewer);
    b.viewer.open();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // The window opens wide enough for the whole message column at its designed width.
    const QHeaderView *columns = window.sentList->header();
    QCOMPARE(columns->sectionSize(3), kit::px(3528));
    QVERIFY(columns->sectionViewportPosition(3) + columns->sectionSize(3) <=
            window.sentList->viewport()->width());

    const QRect row2 = window.sentList->visualRect(window.sentList->model()->index(1, 0));
    QTest::mouseClick(window.sentList->viewport(), Qt::LeftButton, {}, row2.center());
    QCOMPARE(b.view().detailPosition, 2);
    QVERIFY(window.detailPane->isVisible() && window.nextButton->isVisible() &&
            window.backButton->isVisible());
    QVERIFY(!window.tabStrip->isVisible() && !window.sentList->isVisible());
    QVERIFY(!window.clearButton->isEnabled());
    QCOMPARE(window.detailText->toPlainText(), u"sent 2"_s);
    QVERIFY(window.sendTimeLabel->x() > window.dateLabel->x() + window.dateLabel->width());
    QVERIFY(window.receiveTimeLabel->x() > window.sendTimeLabel->x() + window.sendTimeLabel->width());
    // The date and the times show whole in the font they are drawn in: wide and high enough, inside
    // the pane and not under the text box.
    for (const QLabel *label : {window.dateLabel, window.sendTimeLabel, window.receiveTimeLabel}) {
        const QFontMetrics metrics = label->fontMetrics();
        QVERIFY2(label->width() >= metrics.horizontalAdvance(label->text()) &&
                     label->height() >= metrics.height(),
                 qPrintable(label->text()));
        QVERIFY2(window.detailPane->rect().contains(label->geometry()), qPrintable(label->text()));
        QVERIFY2(label->geometry().bottom() < window.detailText->geometry().top(), qPrintable(label->text()));
    }

    QTest::mouseClick(window.nextButton, Qt::LeftButton);
    QCOMPARE(b.view().detailPosition, 3);
    QVERIFY(!window.nextButton->isEnabled());
    QCOMPARE(window.findChild<QLabel *>(u"StatusBar1Text"_s)->text(), u"送信履歴： 3/3"_s);

    QTest::keyClick(&window, Qt::Key_Escape);
    QVERIFY(!b.view().detailVisible);
    QVERIFY(window.sentList->isVisible() && !window.detailPane->isVisible());

    window.tabStrip->setCurrentIndex(1);
    QCOMPARE(b.view().selectedTab, Which::Received);
    QVERIFY(window.receivedPage->isVisible() && !window.sentPage->isVisible());
    QCOMPARE(window.findChild<QLabel *>(u"StatusBar1Text"_s)->text(), u"受信件数： 1"_s);
    const QRect only = window.receivedList->visualRect(window.receivedList->model()->index(0, 0));
    QTest::mouseClick(window.receivedList->viewport(), Qt::LeftButton, {}, only.center());
    QCOMPARE(b.view().shownList, Which::Received);
    QCOMPARE(window.detailText->document()->blockCount(), 2);
    QCOMPARE(window.detailText->toPlainText(), u"first\nsecond"_s);
    QTest::mouseClick(window.okButton, Qt::LeftButton);
    QVERIFY(window.receivedList->isVisible());

    // No minimum size: the layout runs on, leaving out only what the controls refuse.
    const int stripWidth = window.layout().tabStrip.width;
    window.resize(20, 20);
    QCOMPARE(window.layout().tabStrip.width, stripWidth);
    QVERIFY(window.layout().okButton.left < 0);

    window.close();
    QVERIFY(!b.historyWindow().isVisible());
    QVERIFY(!window.isVisible());
}

QTEST_MAIN(TestViewer)
#include "test_viewer.moc"
