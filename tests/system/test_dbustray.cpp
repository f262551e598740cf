#include "support/busprogram.h"
#include "support/statusnotifierwatcher.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString kItemPath = u"/StatusNotifierItem"_s;
const QString kItemInterface = u"org.kde.StatusNotifierItem"_s;
const QString kMenuInterface = u"com.canonical.dbusmenu"_s;

// One entry of an exported menu, as GetLayout gives it.
struct MenuNode {
    int id = 0;
    QVariantMap properties;
    QList<MenuNode> children;
};

MenuNode readNode(const QDBusArgument &argument)
{
    MenuNode node;
    argument.beginStructure();
    argument >> node.id >> node.properties;
    argument.beginArray();
    while (!argument.atEnd()) {
        QDBusVariant child;
        argument >> child;
        node.children << readNode(child.variant().value<QDBusArgument>());
    }
    argument.endArray();
    argument.endStructure();
    return node;
}

// The menu as a host would draw it, one line an entry: its label ("-" for a separator), then
// [hidden], or [disabled] and [ ] or [x] for a check mark; a submenu's entries indented below it.
void render(const MenuNode &menu, QStringList &lines, const QString &indent = {})
{
    for (const MenuNode &e : menu.children) {
        const QVariantMap &p = e.properties;
        QString line =
            indent + (p.value(u"type"_s) == u"separator"_s ? u"-"_s : p.value(u"label"_s).toString());
        if (!p.value(u"visible"_s, true).toBool())
            line += u" [hidden]"_s; // and nothing else of it is seen
        else if (!p.value(u"enabled"_s, true).toBool())
            line += u" [disabled]"_s;
        if (p.value(u"toggle-type"_s) == u"checkmark"_s)
            line += p.value(u"toggle-state"_s).toInt() == 1 ? u" [x]"_s : u" [ ]"_s;
        lines << line;
        render(e, lines, indent + u"  "_s);
    }
}

// The id of the entry with this label, or 0.
int idOf(const MenuNode &menu, const QString &label)
{
    for (const MenuNode &e : menu.children) {
        if (e.properties.value(u"label"_s) == label)
            return e.id;
        if (const int id = idOf(e, label))
            return id;
    }
    return 0;
}

} // namespace

// The test build of the program on a display and a session bus of the test's own, where a
// StatusNotifierWatcher of the test's own stands in for the desktop's panel: the tray icon is
// exported over D-Bus with its menu, answers the panel's clicks, and gives way to the stand-in
// window while the panel is gone. Skipped only where Xvfb or dbus-daemon cannot run.
class TestDBusTray final : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void exportedIconAndMenu();

private:
    QDBusConnection bus() const { return m_program.bus(); }
    QDBusMessage call(const QString &service, const QString &path, const QString &interface,
                      const QString &method, const QVariantList &arguments = {});
    QVariant itemProperty(const QString &name);
    MenuNode layout();
    QStringList menuLines()
    {
        QStringList lines;
        render(layout(), lines);
        return lines;
    }
    bool click(const QString &label);
    QString windows() { return m_program.windows(); }

    testkit::BusProgram m_program{u"tray-test"_s};
    std::unique_ptr<testkit::Watcher> m_watcher;
};

void TestDBusTray::initTestCase()
{
    for (const QString &skip : {m_program.startDisplay(), m_program.startBus()}) {
        if (!skip.isEmpty())
            QSKIP(qPrintable(skip));
    }
    m_watcher = std::make_unique<testkit::Watcher>(bus());
    QVERIFY(bus().registerObject(testkit::Watcher::kPath, m_watcher.get(),
                                 QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals |
                                     QDBusConnection::ExportAllProperties));
    QVERIFY(bus().registerService(testkit::Watcher::kService));
    QVERIFY(m_program.prepare());
}

QDBusMessage TestDBusTray::call(const QString &service, const QString &path, const QString &interface,
                                const QString &method, const QVariantList &arguments)
{
    QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
    message.setArguments(arguments);
    return bus().call(message, QDBus::BlockWithGui, 5000);
}

QVariant TestDBusTray::itemProperty(const QString &name)
{
    const QDBusMessage reply = call(m_watcher->items().value(0), kItemPath,
                                    u"org.freedesktop.DBus.Properties"_s, u"Get"_s, {kItemInterface, name});
    return reply.type() == QDBusMessage::ReplyMessage
               ? reply.arguments().value(0).value<QDBusVariant>().variant()
               : QVariant();
}

MenuNode TestDBusTray::layout()
{
    const QString menu = itemProperty(u"Menu"_s).value<QDBusObjectPath>().path();
    const QDBusMessage reply =
        call(m_watcher->items().value(0), menu, kMenuInterface, u"GetLayout"_s, {0, -1, QStringList()});
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 2)
        return {};
    return readNode(reply.arguments().at(1).value<QDBusArgument>());
}

// Chooses an entry of the exported menu, as a host does when the user clicks it.
bool TestDBusTray::click(const QString &label)
{
    const int id = idOf(layout(), label);
    if (id == 0)
        return false;
    const QString menu = itemProperty(u"Menu"_s).value<QDBusObjectPath>().path();
    const QDBusMessage reply = call(m_watcher->items().value(0), menu, kMenuInterface, u"Event"_s,
                                    {id, u"clicked"_s, QVariant::fromValue(QDBusVariant(0)), 0u});
    return reply.type() == QDBusMessage::ReplyMessage;
}

void TestDBusTray::exportedIconAndMenu()
{
    QVERIFY(m_program.bindPartner());
    QVERIFY2(m_program.start(), "the program did not start");

    // The icon registers with the panel, and its menu is the tray menu, every caption as the
    // program writes it; DBusMenu marks the mnemonic with "_" where the program has "&".
    QTRY_COMPARE_WITH_TIMEOUT(m_watcher->items().size(), 1, 10000);
    QCOMPARE(itemProperty(u"ToolTip"_s).isValid(), true);
    const QStringList fullMenu = {
        u"送信ﾒｯｾｰｼﾞの作成(_S)"_s,
        u"受信ﾒｯｾｰｼﾞの表示(_R) [disabled]"_s,
        u"ｸﾘｯﾌﾟﾎﾞｰﾄﾞ送信(_C)"_s,
        u"置き手紙作成(_W)"_s,
        u"-"_s,
        u"送受信履歴表示(_L)"_s,
        u"ﾕｰｻﾞｰﾘｽﾄ表示(_U) [hidden]"_s,
        u"-"_s,
        u"お相手登録(_P)"_s,
        u"ｵﾌﾟｼｮﾝ(_O)"_s,
        u"  ｱｲｺﾝ変更(_I)"_s,
        u"  動作環境の設定...(_O) "_s,
        u"-"_s,
        u"操作ﾛｯｸ(_H) [ ]"_s,
        u"-"_s,
        u"ﾊﾞｰｼﾞｮﾝ情報(_A)"_s,
        u"-"_s,
        u"終了(_X)"_s,
    };
    QCOMPARE(menuLines(), fullMenu);

    // The panel's activation (a left click on the icon) opens the compose window.
    QVERIFY(!windows().contains(u"FrmSnd"_s));
    QCOMPARE(call(m_watcher->items().at(0), kItemPath, kItemInterface, u"Activate"_s, {0, 0}).type(),
             QDBusMessage::ReplyMessage);
    QTRY_VERIFY_WITH_TIMEOUT(windows().contains(u"FrmSnd"_s), 10000);

    // The lock, chosen in the exported menu, reduces that menu as it does the program's own;
    // chosen again it gives the whole menu back.
    QVERIFY(click(u"操作ﾛｯｸ(_H)"_s));
    QStringList lockedMenu;
    for (const QString &line : fullMenu) {
        if (line.startsWith(u"操作ﾛｯｸ"_s))
            lockedMenu << u"操作ﾛｯｸ(_H) [x]"_s;
        else if (line.startsWith(u"  "_s) || line.endsWith(u"[hidden]"_s))
            lockedMenu << line;
        else
            lockedMenu << line.section(u" ["_s, 0, 0) + u" [hidden]"_s;
    }
    QTRY_COMPARE_WITH_TIMEOUT(menuLines(), lockedMenu, 10000);
    QVERIFY(click(u"操作ﾛｯｸ(_H)"_s));
    QTRY_COMPARE_WITH_TIMEOUT(menuLines(), fullMenu, 10000);

    // The panel goes away: the stand-in window shows the program; the panel comes back: the icon
    // registers with it again, menu and all, and the stand-in goes.
    QVERIFY(!windows().contains(u"trayStandIn"_s));
    const int registrations = m_watcher->registrations;
    QVERIFY(bus().unregisterService(testkit::Watcher::kService));
    QTRY_VERIFY_WITH_TIMEOUT(windows().contains(u"trayStandIn"_s), 10000);
    QVERIFY(bus().registerService(testkit::Watcher::kService));
    QTRY_VERIFY_WITH_TIMEOUT(m_watcher->registrations > registrations, 10000);
    QTRY_VERIFY_WITH_TIMEOUT(!windows().contains(u"trayStandIn"_s), 10000);
    QCOMPARE(menuLines(), fullMenu);
    // The same when only the host goes and comes back, as when a panel restarts under a watcher
    // of its desktop's own.
    m_watcher->setHost(false);
    QTRY_VERIFY_WITH_TIMEOUT(windows().contains(u"trayStandIn"_s), 10000);
    m_watcher->setHost(true);
    QTRY_VERIFY_WITH_TIMEOUT(!windows().contains(u"trayStandIn"_s), 10000);
    QTRY_COMPARE_WITH_TIMEOUT(m_watcher->items().size(), 1, 10000);
    QCOMPARE(menuLines(), fullMenu);

    // 終了 in the exported menu ends the copy with its end notice to the partner.
    QVERIFY(click(u"終了(_X)"_s));
    QVERIFY2(m_program.endsCleanly(), "the program did not end by itself");
    const QStringList arrived = m_program.arrivals();
    QVERIFY2(arrived.size() == 2 && arrived.at(0).startsWith(u"START送信    "_s) &&
                 arrived.at(1).startsWith(u"END送信      "_s),
             qPrintable(arrived.join(u'|')));
}

QTEST_GUILESS_MAIN(TestDBusTray)
#include "test_dbustray.moc"
