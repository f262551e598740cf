#include "base/receive/receivedlayout.h"
#include "gui/kit/composelayout.h"

#include <QTest>

using namespace Qt::StringLiterals;

// The window layouts in twips: where the controls go on a resize, what a too-small window
// refuses, and where the received window's splitter may go.
class TestLayouts final : public QObject {
    Q_OBJECT
private slots:
    void mainWindow();
    void mainWindowTooNarrow();
    void receivedWindowFirstLayout();
    void receivedWindowResize();
    void receivedWindowTooSmall();
    void splitterClamps_data();
    void splitterClamps();
    void splitSetFollowsTheSplitter();
};

void TestLayouts::mainWindow()
{
    QStringList refused;
    const kit::ComposeLayout l = kit::layOutCompose({}, 4530, 2790, 375, refused);
    QVERIFY(refused.isEmpty());
    QCOMPARE(l.message, (core::Box{0, 0, 3130, 1915}));
    QCOMPARE(l.sendButton, (core::Box{3270, 1135, 1100, 375}));
    QCOMPARE(l.cancelButton, (core::Box{3270, 1570, 1100, 375}));
    QCOMPARE(l.picture.left, 3650);
    // 60 twips between the two buttons.
    QCOMPARE(l.cancelButton.top - (l.sendButton.top + l.sendButton.height), 60);
}

void TestLayouts::mainWindowTooNarrow()
{
    QStringList refused;
    const kit::ComposeLayout before;
    const kit::ComposeLayout l = kit::layOutCompose(before, 1000, 600, 375, refused);
    QCOMPARE(refused, (QStringList{u"TxtMsg.Height"_s, u"TxtMsg.Width"_s}));
    QCOMPARE(l.message.width, before.message.width);
    QCOMPARE(l.message.height, before.message.height);
    // The rest of the layout still runs.
    QCOMPARE(l.sendButton.left, 1000 - 1100 - 160);
    QCOMPARE(l.cancelButton.top, 600 - 1220);
}

void TestLayouts::receivedWindowFirstLayout()
{
    QStringList refused;
    const receive::ReceivedLayout l = receive::loadReceivedLayout(300, refused);
    QVERIFY(refused.isEmpty());
    QCOMPARE(l.message.height, 1095);
    QCOMPARE(l.reply.top, 1135);
    QCOMPARE(l.reply.height, 3540 - 1095 - 300 - 450);
    QCOMPARE(l.splitter, (core::Box{0, 1195, 3055, 40}));
}

void TestLayouts::receivedWindowResize()
{
    QStringList refused;
    receive::ReceivedLayout l = receive::loadReceivedLayout(300, refused);
    l = receive::layOutReceived(l, 6000, 5000, 300, refused);
    QVERIFY(refused.isEmpty());
    QCOMPARE(l.message, (core::Box{0, 0, 4600, 1095}));
    QCOMPARE(l.reply, (core::Box{0, 1135, 4600, 5000 - 1095 - 300 - 520}));
    for (const core::Box *b : {&l.openCloseButton, &l.holdButton, &l.closeButton, &l.replyButton})
        QCOMPARE(b->left, 6000 - 1100 - 160);
    QCOMPARE(l.openCloseButton.top, 0);
    QCOMPARE(l.holdButton.top, 420);
    QCOMPARE(l.closeButton.top, 840);
    QCOMPARE(l.replyButton.top, 5000 - 850 - 375);
    QCOMPARE(l.normalPicture.left, 6000 - 1220);
    QCOMPARE(l.receivedPicture.left, 6000 - 780);
    QCOMPARE(l.splitter, (core::Box{0, 1095, 6000 - 1485, 40}));
}

void TestLayouts::receivedWindowTooSmall()
{
    QStringList refused;
    receive::ReceivedLayout before = receive::loadReceivedLayout(300, refused);
    const receive::ReceivedLayout l = receive::layOutReceived(before, 1300, 1500, 300, refused);
    QCOMPARE(refused,
             (QStringList{u"Text1.Width"_s, u"Text2.Height"_s, u"Text2.Width"_s, u"PicSplitter.Width"_s}));
    QCOMPARE(l.message.width, before.message.width);
    QCOMPARE(l.replyButton.top, 1500 - 850 - 375);
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
    QCOMPARE(l.reply.height, 3030 - 1800 - 470);
    // A splitter below the window: Text2 would get a negative height and keeps its old one.
    l.splitter.top = 2900;
    l = receive::applySplit(l, 3030, refused);
    QCOMPARE(l.message.height, 2900);
    QCOMPARE(l.reply.height, 3030 - 1800 - 470);
    QCOMPARE(refused, QStringList{u"Text2.Height"_s});
}

QTEST_APPLESS_MAIN(TestLayouts)
#include "test_layouts.moc"
