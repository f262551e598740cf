#include "base/settings/optfile.h"
#include "gui/kit/pictures.h"
#include "gui/kit/twipsgeometry.h"
#include "gui/shell/shell.h"
#include "support/conversation.h"

#include <QApplication>
#include <QPainter>
#include <QPointer>
#include <QTest>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <vector>

using namespace Qt::StringLiterals;
using core::IconId;
using core::MenuId;
using testkit::BoxButtons;
using testkit::BoxIcon;
using testkit::boxStyle;
using testkit::Conversation;
using testkit::describe;
using testkit::TestCopy;

namespace {

// What the received copy is doing when the user presses OK in the icon selection.
enum class BobState { Idle, Waiting, WaitingBlinkOff, Opened, WaitingUnderLock };

QString savedIconNo(const TestCopy &copy)
{
    core::Options saved;
    if (settings::parseOptions(copy.readFile(u"optFile.dat"_s), saved) != settings::OptionsFileState::Read)
        return u"(unreadable)"_s;
    return saved.iconNo;
}

// The share of pixels that differ visibly (by more than a faint shade in some channel).
double differingShare(const QImage &a, const QImage &b)
{
    const QImage x = a.convertToFormat(QImage::Format_ARGB32);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32);
    if (x.size() != y.size())
        return 1.0;
    int differing = 0;
    for (int row = 0; row < x.height(); ++row) {
        for (int col = 0; col < x.width(); ++col) {
            const QRgb p = x.pixel(col, row);
            const QRgb q = y.pixel(col, row);
            const int most = std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                       std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
            if (most > 40)
                ++differing;
        }
    }
    return static_cast<double>(differing) / (x.width() * x.height());
}

// A window as the user opens and closes it; `bothPictures` when it shows the received picture of
// the set beside the normal one (Image2 beside Image1).
struct WindowKind {
    const char *name;
    std::function<void(copy::Copy &)> open;
    std::function<void(copy::Copy &)> close;
    bool bothPictures = false;
};

const std::vector<WindowKind> &windowKinds()
{
    using copy::Copy;
    static const std::vector<WindowKind> kinds{
        {"FrmSnd", [](Copy &c) { c.compose().window().show(); },
         [](Copy &c) { c.compose().window().hide(); }},
        {"FrmRecv", [](Copy &c) { c.receivedWindow().show(); }, [](Copy &c) { c.receivedWindow().hide(); },
         true},
        {"FrmLetter", [](Copy &c) { c.letters().open(); }, [](Copy &c) { c.letters().cancel(); }},
        {"FrmAddress", [](Copy &c) { c.partner().showWindow(); }, [](Copy &c) { c.partner().close(); }},
        {"FrmSndOK", [](Copy &c) { c.notices().sendResult().show(); },
         [](Copy &c) { c.notices().sendResultSlot().unload(); }},
        {"FrmRcvOK", [](Copy &c) { c.notices().reaction().show(); },
         [](Copy &c) { c.notices().reactionSlot().unload(); }},
        {"FrmSROK", [](Copy &c) { c.notices().small().show(); },
         [](Copy &c) { c.notices().smallSlot().unload(); }, true},
        {"FrmOpt", [](Copy &c) { c.options().open(); }, [](Copy &c) { c.options().cancel(); }},
        {"FrmPw", [](Copy &c) { c.password().ask(settings::PasswordPrompt::Purpose::Registration); },
         [](Copy &c) { c.password().cancel(); }},
        {"FrmVersion", [](Copy &c) { c.about().open(); }, [](Copy &c) { c.about().close(); }, true},
        {"FrmOption", [](Copy &c) { c.iconSelection().open(); }, [](Copy &c) { c.iconSelection().close(); }},
    };
    return kinds;
}

QWidget *shownWindow(const QString &name)
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    const auto found = std::find_if(windows.cbegin(), windows.cend(), [&](const QWidget *w) {
        return w->isVisible() && w->objectName() == name;
    });
    return found == windows.cend() ? nullptr : *found;
}

// Whether `shown` is picture `id`, drawn at the size it is shown.
bool shows(const QPixmap &shown, IconId id)
{
    return !shown.isNull() && shown.toImage() == kit::pictureFor(id).pixmap(shown.size()).toImage();
}

} // namespace

// The icon sets: choosing and applying one, the about box's animation, and the pictures.
class TestIcons final : public QObject {
    Q_OBJECT
private slots:
    void okAppliesTheSetEverywhere_data();
    void okAppliesTheSetEverywhere();
    void everyWindowShowsTheAppliedSet_data();
    void everyWindowShowsTheAppliedSet();
    void closeKeepsTheUnappliedChoice();
    void startUpSelectsTheSetItApplies_data();
    void startUpSelectsTheSetItApplies();
    void aboutBoxAnimatesTheCurrentSet();
    void aboutBoxWindowShowsAndUnloads();
    void everyPictureIsItsOwn_data();
    void everyPictureIsItsOwn();
    void programIconIsNoneOfTheSets();
    void picturesAreDrawnAtTheSizeAsked();
};

void TestIcons::okAppliesTheSetEverywhere_data()
{
    QTest::addColumn<BobState>("state");
    QTest::addColumn<bool>("receivedPicture");
    QTest::newRow("nothing waits: normal picture") << BobState::Idle << false;
    QTest::newRow("a message waits: received picture") << BobState::Waiting << true;
    QTest::newRow("blinking, caught on its normal phase") << BobState::WaitingBlinkOff << true;
    QTest::newRow("opened: dealt with, so the normal picture") << BobState::Opened << false;
    QTest::newRow("arrived under the operation lock") << BobState::WaitingUnderLock << true;
}

void TestIcons::okAppliesTheSetEverywhere()
{
    QFETCH(BobState, state);
    QFETCH(bool, receivedPicture);
    Conversation c({}, [](core::Options &o) { o.blinkIcon = true; });
    core::Context &bob = c.bob.context();
    settings::IconSelection &selection = c.bob.copy->iconSelection();
    core::About &about = c.bob.copy->about();
    c.bob.copy->menuClicked(MenuId::About);
    c.bob.copy->menuClicked(MenuId::IconSet);
    QVERIFY(selection.window.isVisible());
    QVERIFY(!bob.menu.visible(MenuId::Tray));

    if (state == BobState::WaitingUnderLock)
        c.bob.copy->menuClicked(MenuId::Lock);
    if (state != BobState::Idle)
        c.aliceSends(u"hello"_s);
    if (state == BobState::WaitingBlinkOff) {
        c.bob.copy->tray().blinkStep();
        if (c.bob.trayIcon().picture() != IconId::normal(0))
            c.bob.copy->tray().blinkStep();
        QCOMPARE(c.bob.trayIcon().picture(), IconId::normal(0));
    }
    if (state == BobState::Opened) {
        c.bob.copy->receiving().openReceived();
        c.bob.copy->receivedMessage().openOrClose();
        QVERIFY(!c.bob.messageWaiting());
    }

    selection.select(7);
    selection.apply();

    const IconId expected = receivedPicture ? IconId::received(7) : IconId::normal(7);
    QCOMPARE(c.bob.tray.picture(), expected);
    QCOMPARE(c.bob.tray.calls().constLast().op, platform::TrayOp::Modify);
    QCOMPARE(c.bob.messageWaiting(), receivedPicture);
    QCOMPARE(c.bob.compose().window().icon(), IconId::normal(7));
    QCOMPARE(c.bob.receivedWindow().icon(), IconId::received(7));
    QCOMPARE(c.bob.copy->letters().window().icon(), IconId::normal(7));
    QCOMPARE(c.bob.copy->partner().window().icon(), IconId::normal(7));
    QCOMPARE(selection.window.icon(), IconId::normal(7));
    QCOMPARE(about.window().icon(), IconId::normal(7));
    QCOMPARE(about.window().view().shownPicture, IconId::normal(7));
    QCOMPARE(about.window().view().receivedFrame, IconId::received(7));
    QCOMPARE(about.window().view().normalFrame, IconId::normal(7));
    QCOMPARE(bob.opt.iconNo, u"7"_s);
    QCOMPARE(savedIconNo(c.bob), u"7"_s);
    QCOMPARE(c.bob.dialogs.shown().size(), 1);
    QCOMPARE(c.bob.dialogs.shown().constLast().text, u"ｱｲｺﾝ変更完了！"_s);
    QCOMPARE(c.bob.dialogs.shown().constLast().title, u"確認"_s);
    QCOMPARE(c.bob.dialogs.shown().constLast().look(), boxStyle(BoxButtons::Ok, BoxIcon::Information));
    QVERIFY(selection.window.isVisible());
    // The blink goes on with the new set.
    if (state == BobState::WaitingBlinkOff) {
        c.bob.copy->tray().blinkStep();
        QCOMPARE(c.bob.tray.picture().index, 7);
    }
}

void TestIcons::everyWindowShowsTheAppliedSet_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("openWhileApplied");
    for (std::size_t i = 0; i < windowKinds().size(); ++i) {
        const char *name = windowKinds()[i].name;
        QTest::addRow("%s open while the set changes", name) << static_cast<int>(i) << true;
        QTest::addRow("%s closed, opened after the change", name) << static_cast<int>(i) << false;
    }
}

// The window icon and the pictures inside every window that takes the set: a window on screen
// follows at once, one that unloaded comes back with the new set rather than its design picture.
void TestIcons::everyWindowShowsTheAppliedSet()
{
    QFETCH(int, kind);
    QFETCH(bool, openWhileApplied);
    const WindowKind &window = windowKinds()[static_cast<std::size_t>(kind)];
    testkit::FakeNetwork net;
    TestCopy copy(net, u"127.0.0.2"_s);
    copy.writeOptions([](core::Options &o) { o.iconNo = u"2"_s; });
    QVERIFY(copy.start());
    shell::Shell shell(*copy.copy);

    window.open(*copy.copy);
    if (!openWhileApplied)
        window.close(*copy.copy);
    copy.copy->iconSelection().select(7);
    copy.copy->iconSelection().apply();
    if (!openWhileApplied)
        window.open(*copy.copy);

    QWidget *shown = shownWindow(QString::fromLatin1(window.name));
    QVERIFY(shown != nullptr);
    const QString name = shown->objectName();
    if (name != u"FrmSROK") { // borderless, so it has no window icon to show
        const IconId icon = name == u"FrmRecv" ? IconId::received(7) : IconId::normal(7);
        QVERIFY(shows(shown->windowIcon().pixmap(32), icon));
    }
    if (auto *normal = shown->findChild<QLabel *>(u"Image1"_s))
        QVERIFY(shows(normal->pixmap(), IconId::normal(7)));
    if (window.bothPictures)
        QVERIFY(shows(shown->findChild<QLabel *>(u"Image2"_s)->pixmap(), IconId::received(7)));
}

void TestIcons::closeKeepsTheUnappliedChoice()
{
    testkit::FakeNetwork net;
    TestCopy copy(net, u"127.0.0.2"_s);
    copy.writeOptions([](core::Options &o) { o.iconNo = u"2"_s; });
    QVERIFY(copy.start());
    core::Context &context = copy.context();
    const QByteArray optionsBefore = copy.readFile(u"optFile.dat"_s);
    const int writesBefore = copy.files.writesAttempted();
    shell::Shell shell(*copy.copy);
    settings::IconSelection &selection = copy.copy->iconSelection();
    settings::IconSelectionWindow &window = shell.iconSelectionWindow();

    copy.copy->menuClicked(MenuId::IconSet);
    QVERIFY(window.isVisible());
    QVERIFY(window.setButtons[2]->isChecked());
    // Each choice shows its two pictures beside it.
    for (int set = 0; set < core::kIconSets; ++set) {
        const auto at = static_cast<std::size_t>(set);
        QCOMPARE(window.normalPictures[at]->pixmap().toImage(),
                 kit::pictureFor(IconId::normal(set)).pixmap(kit::px(480)).toImage());
        QCOMPARE(window.receivedPictures[at]->pixmap().toImage(),
                 kit::pictureFor(IconId::received(set)).pixmap(kit::px(480)).toImage());
    }
    QTest::mouseClick(window.setButtons[5], Qt::LeftButton);
    QCOMPARE(selection.window.view().selectedSet, 5);
    QTest::mouseClick(window.cancelButton, Qt::LeftButton);
    QVERIFY(!window.isVisible());
    QVERIFY(!selection.window.isVisible());

    // Nothing was applied or saved.
    QCOMPARE(context.opt.iconNo, u"2"_s);
    QCOMPARE(copy.compose().window().icon(), IconId::normal(2));
    QCOMPARE(copy.tray.picture(), IconId::normal(2));
    QCOMPARE(copy.files.writesAttempted(), writesBefore);
    QCOMPARE(copy.readFile(u"optFile.dat"_s), optionsBefore);
    QVERIFY(copy.dialogs.shown().isEmpty());

    // The next opening shows the choice the user left, and OK applies it.
    copy.copy->menuClicked(MenuId::IconSet);
    QVERIFY(window.isVisible());
    QVERIFY(window.setButtons[5]->isChecked());
    QVERIFY(!window.setButtons[2]->isChecked());
    QTest::mouseClick(window.okButton, Qt::LeftButton);
    QCOMPARE(copy.compose().window().icon(), IconId::normal(5));
    QCOMPARE(savedIconNo(copy), u"5"_s);
    QCOMPARE(window.windowIcon().pixmap(32).toImage(),
             kit::pictureFor(IconId::normal(5)).pixmap(32).toImage());
    // The close box hides like "閉じる".
    window.close();
    QVERIFY(!selection.window.isVisible());
}

void TestIcons::startUpSelectsTheSetItApplies_data()
{
    QTest::addColumn<QString>("iconNo");
    QTest::addColumn<qint32>("randomIcon");
    QTest::addColumn<int>("drawn");
    QTest::addColumn<int>("expected");
    QTest::newRow("the saved set") << u"4"_s << 0 << 0 << 4;
    QTest::newRow("the saved set 0 is the design set") << u"0"_s << 0 << 6 << 0;
    QTest::newRow("a random set") << u"1"_s << 1 << 8 << 8;
}

void TestIcons::startUpSelectsTheSetItApplies()
{
    QFETCH(QString, iconNo);
    QFETCH(qint32, randomIcon);
    QFETCH(int, drawn);
    QFETCH(int, expected);
    testkit::FakeNetwork net;
    TestCopy copy(net, u"127.0.0.2"_s);
    copy.writeOptions([&](core::Options &o) {
        o.iconNo = iconNo;
        o.randomIcon = randomIcon;
    });
    copy.context().random = [drawn](int) { return drawn; };
    QVERIFY(copy.start());
    const settings::IconSelection &selection = copy.copy->iconSelection();
    core::About &about = copy.copy->about();

    QCOMPARE(selection.window.view().selectedSet, expected);
    QCOMPARE(selection.window.icon(), IconId::normal(expected));
    QCOMPARE(copy.tray.picture(), IconId::normal(expected));
    QVERIFY(!about.slot.isLoaded());
    copy.copy->menuClicked(MenuId::About);
    QCOMPARE(about.window().view().receivedFrame, IconId::received(expected));
}

void TestIcons::aboutBoxAnimatesTheCurrentSet()
{
    testkit::FakeNetwork net;
    TestCopy copy(net, u"127.0.0.2"_s);
    copy.writeOptions([](core::Options &o) { o.iconNo = u"3"_s; });
    QVERIFY(copy.start());
    core::Context &context = copy.context();
    core::About &about = copy.copy->about();
    settings::IconSelection &selection = copy.copy->iconSelection();

    copy.copy->menuClicked(MenuId::About);
    QVERIFY(!context.menu.visible(MenuId::Tray));
    core::AboutWindowModel &box = about.window();
    QVERIFY(box.isVisible());
    QVERIFY(box.animationTimer.isActive());
    QCOMPARE(box.animationTimer.interval(), 1000);
    QCOMPARE(box.view().shownPicture, IconId::normal(3));
    // Received after one second, normal after two, and so on.
    const IconId phases[] = {IconId::received(3), IconId::normal(3), IconId::received(3), IconId::normal(3)};
    for (const IconId expected : phases) {
        about.tick();
        QCOMPARE(box.view().shownPicture, expected);
        QCOMPARE(box.view().phase, expected.kind == IconId::Kind::Received ? 1 : 0);
    }
    // Opening again while it is shown starts over from the normal picture, mid-phase.
    about.tick();
    copy.copy->menuClicked(MenuId::About);
    QCOMPARE(box.view().shownPicture, IconId::normal(3));
    about.tick();
    QCOMPARE(box.view().shownPicture, IconId::normal(3));

    // A set applied while the box is open changes both frames at once.
    selection.select(6);
    selection.apply();
    QCOMPARE(box.view().shownPicture, IconId::normal(6));
    about.tick();
    QCOMPARE(box.view().shownPicture, IconId::received(6));

    // Closing unloads it; the next opening starts afresh.
    about.close();
    QVERIFY(!about.slot.isLoaded());
    about.tick(); // a tick that comes late finds no box and does nothing
    QVERIFY(!about.slot.isLoaded());
    selection.select(9);
    selection.apply();
    copy.copy->menuClicked(MenuId::About);
    QCOMPARE(about.window().view().phase, 0);
    QCOMPARE(about.window().icon(), IconId::normal(9));
    QVERIFY(about.window().animationTimer.isActive());
    about.tick();
    QCOMPARE(about.window().view().shownPicture, IconId::received(9));
}

void TestIcons::aboutBoxWindowShowsAndUnloads()
{
    testkit::FakeNetwork net;
    TestCopy copy(net, u"127.0.0.2"_s);
    copy.writeOptions([](core::Options &o) { o.iconNo = u"1"_s; });
    QVERIFY(copy.start());
    shell::Shell shell(*copy.copy);
    core::About &about = copy.copy->about();

    copy.copy->menuClicked(MenuId::About);
    QPointer<shell::AboutWindow> window = shell.aboutWindow();
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QCOMPARE(window->windowTitle(), u"ﾊﾞｰｼﾞｮﾝ情報"_s);
    QCOMPARE(window->productLabel->text(), u"ミルトアンヌ"_s);
    QCOMPARE(window->versionLabel->text(), u"Version　1.21"_s);
    QVERIFY(!window->authorLabel->text().isEmpty());
    QVERIFY(!window->contactLabel->text().isEmpty());
    for (QLabel *hidden :
         {window->receivedFrame, window->normalFrame, window->startPicture, window->endPicture})
        QVERIFY(hidden->isHidden());
    const auto shown = [&](IconId id) { return kit::pictureFor(id).pixmap(kit::px(480)).toImage(); };
    QCOMPARE(window->startPicture->pixmap().toImage(), shown(IconId::start()));
    QCOMPARE(window->endPicture->pixmap().toImage(), shown(IconId::end()));
    QCOMPARE(window->shownPicture->pixmap().toImage(), shown(IconId::normal(1)));
    about.tick();
    QCOMPARE(window->shownPicture->pixmap().toImage(), shown(IconId::received(1)));
    // Every text fits inside the box, and nothing lies over the OK button.
    for (QLabel *text :
         {window->productLabel, window->versionLabel, window->authorLabel, window->contactLabel}) {
        QVERIFY2(window->rect().contains(text->geometry()), qPrintable(text->objectName()));
        QVERIFY(text->width() >= text->sizeHint().width());
        QVERIFY2(!text->geometry().intersects(window->okButton->geometry()), qPrintable(text->objectName()));
    }

    // OK unloads the box and its widget goes with it; so does the close box.
    QTest::mouseClick(window->okButton, Qt::LeftButton);
    QVERIFY(!about.slot.isLoaded());
    QTRY_VERIFY(window.isNull());
    copy.copy->menuClicked(MenuId::About);
    window = shell.aboutWindow();
    QVERIFY(window);
    window->close();
    QVERIFY(!about.slot.isLoaded());
    QTRY_VERIFY(window.isNull());
}

void TestIcons::everyPictureIsItsOwn_data()
{
    QTest::addColumn<int>("side");
    QTest::newRow("16 pixels, the tray") << 16;
    QTest::newRow("32 pixels, the windows") << 32;
}

void TestIcons::everyPictureIsItsOwn()
{
    QFETCH(int, side);
    QList<IconId> ids;
    for (int set = 0; set < core::kIconSets; ++set)
        ids << IconId::normal(set) << IconId::received(set);
    for (int frame = 2; frame <= 6; ++frame)
        ids << IconId::callFrame(frame);
    ids << IconId::start() << IconId::end();
    QList<QImage> images;
    for (const IconId id : ids) {
        images << kit::pictureFor(id).pixmap(side).toImage();
        QCOMPARE(images.constLast().size(), QSize(side, side));
    }
    // No two pictures alike; the sets differ by a fair part of their area, not a stray pixel.
    for (qsizetype i = 0; i < ids.size(); ++i) {
        for (qsizetype j = i + 1; j < ids.size(); ++j) {
            const double share = differingShare(images[i], images[j]);
            const bool bothSets =
                ids[i].kind <= IconId::Kind::Received && ids[j].kind <= IconId::Kind::Received;
            const QString pair = describe(ids[i]) + u" and "_s + describe(ids[j]);
            QVERIFY2(share >= (bothSets ? 0.1 : 0.02), qPrintable(pair + u" differ in %1"_s.arg(share)));
        }
    }
    // Each received picture stands out from its own normal picture even in the tray.
    for (int set = 0; set < core::kIconSets; ++set) {
        const double share = differingShare(images[2 * set], images[2 * set + 1]);
        QVERIFY2(share >= 0.12, qPrintable(u"set %1: received differs in only %2"_s.arg(set).arg(share)));
    }
}

void TestIcons::programIconIsNoneOfTheSets()
{
    const QIcon program = kit::appIcon();
    for (int side : {16, 32, 48, 256})
        QCOMPARE(program.pixmap(side).size(), QSize(side, side));
    const QImage mine = program.pixmap(32).toImage();
    for (int set = 0; set < core::kIconSets; ++set) {
        for (const IconId id : {IconId::normal(set), IconId::received(set)})
            QVERIFY2(differingShare(mine, kit::pictureFor(id).pixmap(32).toImage()) >= 0.1,
                     qPrintable(describe(id)));
    }
}

// A picture is drawn at the size asked, not scaled down from a larger drawing.
void TestIcons::picturesAreDrawnAtTheSizeAsked()
{
    const IconId id = IconId::received(3);
    QCOMPARE(kit::pictureFor(id).pixmap(20).size(), QSize(20, 20));
    QVERIFY(kit::pictureFor(id).availableSizes().contains(QSize(16, 16)));
    QVERIFY(kit::appIcon().availableSizes().contains(QSize(256, 256)));

    // Painted into a window at twice the pixels, the picture is drawn for the pixels it covers.
    QImage target(64, 64, QImage::Format_ARGB32_Premultiplied);
    target.setDevicePixelRatio(2.0);
    target.fill(Qt::transparent);
    QPainter painter(&target);
    kit::pictureFor(id).paint(&painter, QRect(0, 0, 32, 32));
    painter.end();
    target.setDevicePixelRatio(1.0);
    QCOMPARE(differingShare(target, kit::pictureFor(id).pixmap(64).toImage()), 0.0);
}

QTEST_MAIN(TestIcons)
#include "test_icons.moc"
