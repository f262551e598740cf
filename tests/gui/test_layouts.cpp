#include "base/receive/receivedlayout.h"
#include "gui/kit/composelayout.h"
#include "gui/kit/longtext.h"

#include <QTest>

using namespace Qt::StringLiterals;
using core::Box;

namespace core {
char *toString(const Box &b)
{
    return QTest::toString(u"(%1, %2, %3 x %4)"_s.arg(b.left).arg(b.top).arg(b.width).arg(b.height));
}
} // namespace core

namespace {
QList<QPoint> topLefts(std::initializer_list<Box> boxes)
{
    QList<QPoint> corners;
    for (const Box &b : boxes)
        corners << QPoint(b.left, b.top);
    return corners;
}
} // namespace

// The window layouts in twips: where the controls go on a resize, what a too-small window
// refuses, and where the received window's splitter may go.
class TestLayouts final : public QObject {
    Q_OBJECT
private slots:
    void composeWindow_data();
    void composeWindow();
    void receivedWindowFirstLayout();
    void receivedWindowResize_data();
    void receivedWindowResize();
    void splitterClamps_data();
    void splitterClamps();
    void splitSetFollowsTheSplitter();
    void longTextWrapsWhereItCan_data();
    void longTextWrapsWhereItCan();
};

void TestLayouts::composeWindow_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<QStringList>("refused");
    QTest::addColumn<Box>("message");
    QTest::addColumn<QList<QPoint>>("rightHand"); // where "送信", "ｷｬﾝｾﾙ" and the picture go
    // The outer size of the designed window; the buttons, 375 high, stand 60 twips apart.
    QTest::newRow("design size") << 4530 << 2790 << QStringList() << Box{0, 0, 3130, 1915}
                                 << QList<QPoint>{{3270, 1135}, {3270, 1570}, {3650, 120}};
    QTest::newRow("grown") << 9000 << 6000 << QStringList() << Box{0, 0, 7600, 5125}
                           << QList<QPoint>{{7740, 4345}, {7740, 4780}, {8120, 120}};
    // The message box keeps its designed size; the rest of the layout still runs.
    QTest::newRow("too small") << 1000 << 600 << QStringList{u"TxtMsg.Height"_s, u"TxtMsg.Width"_s}
                               << Box{0, 0, 3135, 1815}
                               << QList<QPoint>{{-260, -1055}, {-260, -620}, {120, 120}};
}

void TestLayouts::composeWindow()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(QStringList, refused);
    QFETCH(Box, message);
    QFETCH(QList<QPoint>, rightHand);
    QStringList notSet;
    const kit::ComposeLayout l = kit::layOutCompose({}, width, height, 375, notSet);
    QCOMPARE(notSet, refused);
    QCOMPARE(l.message, message);
    QCOMPARE(topLefts({l.sendButton, l.cancelButton, l.picture}), rightHand);
}

// The first layout, before any resize: the splitter stands 100 twips lower and Text2 is 70 twips
// higher than a resize to the same size leaves them.
void TestLayouts::receivedWindowFirstLayout()
{
    QStringList refused;
    const receive::ReceivedLayout l = receive::loadReceivedLayout(300, refused);
    QVERIFY(refused.isEmpty());
    QCOMPARE(l.message.height, 1095);
    QCOMPARE(l.reply.top, 1135);
    QCOMPARE(l.reply.height, 1695);
    QCOMPARE(l.splitter, (Box{0, 1195, 3055, 40}));
}

void TestLayouts::receivedWindowResize_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<QStringList>("refused");
    QTest::addColumn<Box>("message");
    QTest::addColumn<Box>("reply");
    QTest::addColumn<Box>("splitter");
    // Where OPEN, "返信保留", "閉じる", "返信" and the normal and the received picture go.
    QTest::addColumn<QList<QPoint>>("rightHand");
    QTest::newRow("design size") << 4540 << 3540 << QStringList() << Box{0, 0, 3140, 1095}
                                 << Box{0, 1135, 3140, 1625} << Box{0, 1095, 3055, 40}
                                 << QList<QPoint>{{3280, 0},    {3280, 420},  {3280, 840},
                                                  {3280, 2315}, {3320, 1320}, {3760, 1800}};
    QTest::newRow("grown") << 6000 << 5000 << QStringList() << Box{0, 0, 4600, 1095}
                           << Box{0, 1135, 4600, 3085} << Box{0, 1095, 4515, 40}
                           << QList<QPoint>{{4740, 0},    {4740, 420},  {4740, 840},
                                            {4740, 3775}, {4780, 1320}, {5220, 1800}};
    // The text boxes and the splitter keep the first layout's sizes; the buttons still move.
    QTest::newRow("too small") << 1300 << 1500
                               << QStringList{u"Text1.Width"_s, u"Text2.Height"_s, u"Text2.Width"_s,
                                              u"PicSplitter.Width"_s}
                               << Box{0, 0, 3135, 1095} << Box{0, 1135, 3135, 1695} << Box{0, 1095, 3055, 40}
                               << QList<QPoint>{{40, 0},   {40, 420},  {40, 840},
                                                {40, 275}, {80, 1320}, {520, 1800}};
}

void TestLayouts::receivedWindowResize()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(QStringList, refused);
    QFETCH(Box, message);
    QFETCH(Box, reply);
    QFETCH(Box, splitter);
    QFETCH(QList<QPoint>, rightHand);
    QStringList notSet;
    const receive::ReceivedLayout first = receive::loadReceivedLayout(300, notSet);
    const receive::ReceivedLayout l = receive::layOutReceived(first, width, height, 300, notSet);
    QCOMPARE(notSet, refused);
    QCOMPARE(l.message, message);
    QCOMPARE(l.reply, reply);
    QCOMPARE(l.splitter, splitter);
    QCOMPARE(topLefts({l.openCloseButton, l.holdButton, l.closeButton, l.replyButton, l.normalPicture,
                       l.receivedPicture}),
             rightHand);
}

void TestLayouts::splitterClamps_data()
{
    QTest::addColumn<double>("proposal");
    QTest::addColumn<int>("innerHeight");
    QTest::addColumn<int>("top");
    QTest::newRow("in range") << 1500.0 << 3000 << 1500;
    QTest::newRow("too high") << 120.0 << 3000 << 500;
    QTest::newRow("exactly 500") << 500.0 << 3000 << 500;
    QTest::newRow("too low") << 2500.0 << 3000 << 2100;
    QTest::newRow("half rounds to even, down") << 1500.5 << 3000 << 1500;
    QTest::newRow("half rounds to even, up") << 1501.5 << 3000 << 1502;
    QTest::newRow("low window: the bottom wins over 500") << 600.0 << 1300 << 400;
}

void TestLayouts::splitterClamps()
{
    QFETCH(double, proposal);
    QFETCH(int, innerHeight);
    QFETCH(int, top);
    QCOMPARE(receive::splitterTop(proposal, innerHeight), top);
}

void TestLayouts::splitSetFollowsTheSplitter()
{
    QStringList refused;
    receive::ReceivedLayout l = receive::loadReceivedLayout(300, refused);
    l.splitter.top = 1800;
    l = receive::applySplit(l, 3030, refused);
    QCOMPARE(l.message.height, 1800);
    QCOMPARE(l.reply.top, 1840);
    QCOMPARE(l.reply.height, 760);
    // A splitter below the window: Text2 would get a negative height and keeps its old one.
    l.splitter.top = 2900;
    l = receive::applySplit(l, 3030, refused);
    QCOMPARE(l.message.height, 2900);
    QCOMPARE(l.reply.top, 2940);
    QCOMPARE(l.reply.height, 760);
    QCOMPARE(refused, QStringList{u"Text2.Height"_s});
}

void TestLayouts::longTextWrapsWhereItCan_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("anywhere");
    QTest::newRow("words") << u"see you at seven | ok"_s.repeated(5000) << false;
    QTest::newRow("kanji break anywhere anyway") << u"漢"_s.repeated(60000) << false;
    QTest::newRow("one line of letters") << (u"hi | "_s + QString(65487, u'x')) << true;
}

void TestLayouts::longTextWrapsWhereItCan()
{
    QFETCH(QString, text);
    QFETCH(bool, anywhere);
    QPlainTextEdit box;
    kit::setLongText(box, text);
    QCOMPARE(box.wordWrapMode(),
             anywhere ? QTextOption::WrapAnywhere : QTextOption::WrapAtWordBoundaryOrAnywhere);
    QCOMPARE(box.toPlainText(), text);
}

QTEST_MAIN(TestLayouts)
#include "test_layouts.moc"
