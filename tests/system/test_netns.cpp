#include "base/text/cp932.h"

#include <QDir>
#include <QFile>
#include <QHostAddress>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <csignal>

#include <memory>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// Runs `ip` with these arguments; returns its error output, empty on success.
QString ip(const QStringList &arguments)
{
    QProcess p;
    p.start(u"ip"_s, arguments);
    if (!p.waitForFinished(10000))
        return u"ip did not finish"_s;
    return p.exitCode() == 0 ? QString() : QString::fromLocal8Bit(p.readAllStandardError()).trimmed();
}

// One copy of the built program, in a network namespace of its own, driven on standard input.
class Host {
public:
    Host(const QString &ns, const QString &address) : ns(ns), address(address) {}
    ~Host()
    {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(3000);
        }
    }

    bool start(const QString &exe, const QString &partner)
    {
        if (!QFile::copy(exe, QDir(dir.path()).filePath(u"miltoanne"_s)))
            return false;
        QFile adr(QDir(dir.path()).filePath(u"adrFile.dat"_s));
        if (!adr.open(QIODevice::WriteOnly))
            return false;
        adr.write("\"adrFile\"\r\n\"partner\",\"" + partner.toLatin1() + "\"\r\n");
        adr.close();
        return restart();
    }

    // Starts the program again, in the folder of its last run.
    bool restart()
    {
        const QString program = QDir(dir.path()).filePath(u"miltoanne"_s);
        process.setProgram(u"ip"_s);
        process.setArguments({u"netns"_s, u"exec"_s, ns, u"env"_s, u"QT_QPA_PLATFORM=offscreen"_s, program});
        m_output.clear();
        process.start();
        return process.waitForStarted() && waitFor(u"ready"_s);
    }

    void command(const QString &line)
    {
        process.write(line.toUtf8() + '\n');
        // A long line goes into the pipe in several writes; each wait hands on one of them.
        while (process.bytesToWrite() > 0 && process.waitForBytesWritten(3000)) {
        }
    }

    // Waits until `count` printed lines contain `text`.
    bool waitFor(const QString &text, int ms = 10000, qsizetype count = 1)
    {
        QDeadlineTimer deadline(ms);
        while (!deadline.hasExpired()) {
            if (lines().filter(text).size() >= count)
                return true;
            process.waitForReadyRead(100);
            m_output += QString::fromUtf8(process.readAllStandardOutput());
        }
        return false;
    }
    QStringList lines() const { return m_output.split(u'\n', Qt::SkipEmptyParts); }
    // Runs `line` and returns the first printed line starting with `prefix` that was not there before.
    QString ask(const QString &line, const QString &prefix)
    {
        const qsizetype before = lines().filter(prefix).size();
        command(line);
        QDeadlineTimer deadline(10000);
        while (!deadline.hasExpired() && lines().filter(prefix).size() == before) {
            process.waitForReadyRead(100);
            m_output += QString::fromUtf8(process.readAllStandardOutput());
        }
        const QStringList found = lines().filter(prefix);
        return found.size() > before ? found.at(before) : QString();
    }

    QString ns;
    QString address;
    QTemporaryDir dir;
    QProcess process;

private:
    QString m_output;
};

// tcpdump in the switch's namespace on one port of the switch: everything to and from the copy
// behind it, as the pcap bytes tcpdump writes to its standard output.
class Capture {
public:
    Capture(const QString &ns, const QString &port) : m_ns(ns), m_port(port) {}
    ~Capture()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(3000);
        }
    }
    // Starts it and waits until it listens.
    bool start()
    {
        m_process.start(u"ip"_s,
                        {u"netns"_s, u"exec"_s, m_ns, u"tcpdump"_s, u"-Z"_s, u"root"_s, u"--immediate-mode"_s,
                         u"-U"_s, u"-n"_s, u"-s"_s, u"0"_s, u"-w"_s, u"-"_s, u"-i"_s, m_port, u"ip"_s});
        QByteArray said;
        QDeadlineTimer deadline(10000);
        while (!deadline.hasExpired() && !said.contains("listening on") &&
               m_process.state() != QProcess::NotRunning) {
            m_process.waitForReadyRead(100);
            said += m_process.readAllStandardError();
        }
        return said.contains("listening on");
    }
    // Ends it (it writes out what it holds on SIGTERM) and returns the capture.
    QByteArray stop()
    {
        m_process.terminate();
        m_process.waitForFinished(5000);
        return m_process.readAllStandardOutput();
    }

private:
    QString m_ns;
    QString m_port;
    QProcess m_process;
};

struct Datagram {
    QString from;
    QString to;
    QByteArray bytes;
};

// The UDP datagrams to or from port 57979 in a pcap capture of Ethernet frames (the head of each:
// the datagrams here are far smaller than a frame).
QList<Datagram> datagramsIn(const QByteArray &pcap)
{
    QList<Datagram> out;
    const auto *p = reinterpret_cast<const uchar *>(pcap.constData());
    if (pcap.size() < 24 || qFromLittleEndian<quint32>(p) != 0xA1B2C3D4 ||
        qFromLittleEndian<quint32>(p + 20) != 1)
        return out;
    for (qsizetype at = 24; at + 16 <= pcap.size();) {
        const qsizetype length = qFromLittleEndian<quint32>(p + at + 8);
        const uchar *frame = p + at + 16;
        at += 16 + length;
        if (at > pcap.size() || length < 14 + 20 + 8 || qFromBigEndian<quint16>(frame + 12) != 0x0800)
            continue;
        const uchar *ip = frame + 14;
        const qsizetype head = (ip[0] & 0x0F) * 4;
        const qsizetype total = std::min<qsizetype>(qFromBigEndian<quint16>(ip + 2), length - 14);
        const bool firstPart = (qFromBigEndian<quint16>(ip + 6) & 0x1FFF) == 0;
        if (ip[9] != 17 || !firstPart || head + 8 > total)
            continue;
        const uchar *udp = ip + head;
        if (qFromBigEndian<quint16>(udp) != 57979 && qFromBigEndian<quint16>(udp + 2) != 57979)
            continue;
        out.append({QHostAddress(qFromBigEndian<quint32>(ip + 12)).toString(),
                    QHostAddress(qFromBigEndian<quint32>(ip + 16)).toString(),
                    QByteArray(reinterpret_cast<const char *>(udp + 8), total - head - 8)});
    }
    return out;
}

} // namespace

// The built program three times over, each copy in a network namespace of its own with an
// address from 198.18.0.0/24 and the switch in a namespace too, talking on real sockets and
// port 57979 on every side. Needs root and network namespaces; skipped where they are missing.
class TestNetns final : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void messageNoticesPresenceAndSearch();
    void pairedCopiesSealWhatTheySay();

private:
    QString name(const char *role) const { return QString::fromLatin1(role) + QString::number(::getpid()); }
    QStringList m_namespaces;
};

void TestNetns::initTestCase()
{
    if (::geteuid() != 0)
        QSKIP("network namespaces need root; skipping the whole-program network tests");
    const QString sw = name("mtsw");
    if (const QString error = ip({u"netns"_s, u"add"_s, sw}); !error.isEmpty())
        QSKIP(qPrintable(u"network namespaces are not available here (%1); skipping"_s.arg(error)));
    m_namespaces << sw;
    QCOMPARE(ip({u"-n"_s, sw, u"link"_s, u"add"_s, u"br0"_s, u"type"_s, u"bridge"_s}), QString());
    QCOMPARE(ip({u"-n"_s, sw, u"link"_s, u"set"_s, u"br0"_s, u"up"_s}), QString());
    int n = 2;
    for (const char *role : {"mta", "mtb", "mtc"}) {
        const QString ns = name(role);
        const QString port = u"p"_s + QString::fromLatin1(role);
        QCOMPARE(ip({u"netns"_s, u"add"_s, ns}), QString());
        m_namespaces << ns;
        QCOMPARE(ip({u"-n"_s, sw, u"link"_s, u"add"_s, port, u"type"_s, u"veth"_s, u"peer"_s, u"name"_s,
                     u"eth0"_s, u"netns"_s, ns}),
                 QString());
        QCOMPARE(ip({u"-n"_s, sw, u"link"_s, u"set"_s, port, u"master"_s, u"br0"_s, u"up"_s}), QString());
        QCOMPARE(ip({u"-n"_s, ns, u"addr"_s, u"add"_s, u"198.18.0.%1/24"_s.arg(n++), u"dev"_s, u"eth0"_s}),
                 QString());
        QCOMPARE(ip({u"-n"_s, ns, u"link"_s, u"set"_s, u"eth0"_s, u"up"_s}), QString());
        QCOMPARE(ip({u"-n"_s, ns, u"link"_s, u"set"_s, u"lo"_s, u"up"_s}), QString());
        // The search's broadcast to 255.255.255.255 leaves by this route, into the test's own switch.
        QCOMPARE(ip({u"-n"_s, ns, u"route"_s, u"add"_s, u"default"_s, u"dev"_s, u"eth0"_s}), QString());
    }
}

void TestNetns::cleanupTestCase()
{
    for (const QString &ns : m_namespaces)
        ip({u"netns"_s, u"del"_s, ns});
}

void TestNetns::messageNoticesPresenceAndSearch()
{
    const QString exe = qEnvironmentVariable("MILTOANNE_TESTABLE_EXE");
    QVERIFY2(QFile::exists(exe), "MILTOANNE_TESTABLE_EXE must name the test build of the program");
    auto alice = std::make_unique<Host>(name("mta"), u"198.18.0.2"_s);
    Host bob(name("mtb"), u"198.18.0.3"_s);
    Host carol(name("mtc"), u"198.18.0.4"_s);

    // Start notice: Bob runs first and sees Alice arrive.
    QVERIFY(bob.start(exe, alice->address));
    QVERIFY(carol.start(exe, bob.address));
    QVERIFY(alice->start(exe, bob.address));
    QVERIFY(bob.waitFor(u"rx 198.18.0.2 START送信    "_s));

    // A message, its "送信" and its "Open確認".
    alice->command(u"send おはよう～"_s);
    QVERIFY2(bob.waitFor(u"おはよう～"_s), qPrintable(bob.lines().join(u'|')));
    QVERIFY(alice->waitFor(u"rx 198.18.0.3 送信"_s));
    bob.command(u"open"_s);
    QVERIFY(alice->waitFor(u"rx 198.18.0.3 Open確認"_s));

    // A stranger writes to Bob and is warned about; then the partner writes, and every answer
    // Bob gives to that message reaches the partner, none the stranger.
    carol.command(u"send 見知らぬ人です"_s);
    QVERIFY(bob.waitFor(u"rx 198.18.0.4 "_s));
    QVERIFY(carol.waitFor(u"rx 198.18.0.3 送信"_s));
    bob.command(u"open"_s);
    QVERIFY(bob.waitFor(u"box お相手以外からのメッセージです。"_s));
    QVERIFY(carol.waitFor(u"rx 198.18.0.3 Open確認"_s));
    bob.command(u"close"_s);
    QVERIFY(bob.waitFor(u"done close"_s));
    alice->command(u"send 二通目"_s);
    QVERIFY(bob.waitFor(u"二通目"_s));
    bob.command(u"reply 返事です"_s);
    QVERIFY(alice->waitFor(u"返事です"_s));
    QVERIFY(bob.waitFor(u"rx 198.18.0.2 送信"_s));
    QCOMPARE(bob.lines().filter(u"box "_s).size(), 1);
    QVERIFY(carol.lines().filter(u"返事です"_s).isEmpty());
    QCOMPARE(carol.lines().filter(u"rx 198.18.0.3 "_s).size(), 2); // "送信" and "Open確認" only

    // The largest message, a command line of many reads (2 bytes a character on the wire and 3 on
    // the control's input): it arrives whole.
    const QString largest(32743, u'あ'); // 65507 bytes less the name and time fields
    alice->command(u"send "_s + largest);
    QVERIFY(bob.waitFor(largest.left(60)));
    QVERIFY(!bob.ask(u"open"_s, u"done open"_s).isEmpty());
    QCOMPARE(bob.ask(u"state"_s, u"state "_s).section(u' ', 3, 3), u"held=32743"_s);

    // Presence both ways: each has the other as partner.
    alice->command(u"check 198.18.0.3"_s);
    QVERIFY(alice->waitFor(u"rx 198.18.0.3 存在OK       "_s));
    bob.command(u"check 198.18.0.2"_s);
    QVERIFY(bob.waitFor(u"rx 198.18.0.2 存在OK       "_s));
    // Bob has someone else than Carol as partner.
    carol.command(u"check 198.18.0.3"_s);
    QVERIFY(carol.waitFor(u"rx 198.18.0.3 存在OK?      "_s));

    // A broadcast search answered by the two others.
    alice->command(u"search"_s);
    QVERIFY(alice->waitFor(u"rx 198.18.0.3 ADDRESS検索結果"_s));
    QVERIFY(alice->waitFor(u"rx 198.18.0.4 ADDRESS検索結果"_s));

    // Carol forges what only Bob's copy may tell Alice, and Bob's start and presence: nothing
    // of it counts.
    const QString before = alice->ask(u"state"_s, u"state "_s);
    QVERIFY(!before.isEmpty());
    for (const QString &forged : {u"送信"_s, u"OTHER送信"_s, u"Open確認"_s, u"保留"_s, u"破棄"_s,
                                  u"START送信    10:00"_s, u"存在OK       10:00"_s})
        carol.command(u"forge 198.18.0.2 "_s + forged);
    QVERIFY(alice->waitFor(u"rx 198.18.0.4 存在OK       10:00"_s));
    QCOMPARE(alice->ask(u"state"_s, u"state "_s), before);

    // Carol floods Alice with the largest messages while Alice holds one of Bob's: Alice keeps a
    // bounded text, still answers, and opens it.
    bob.command(u"send あとで読んでね"_s);
    QVERIFY(alice->waitFor(u"あとで読んでね"_s));
    alice->command(u"hold"_s);
    carol.command(u"flood 198.18.0.2 300"_s);
    QVERIFY(carol.waitFor(u"done flood"_s, 60000));
    QVERIFY(alice->waitFor(u"rx 198.18.0.4 flood"_s));
    QVERIFY(!bob.ask(u"check 198.18.0.2"_s, u"rx 198.18.0.2 存在OK       "_s).isEmpty());
    QVERIFY(!alice->ask(u"open"_s, u"done open"_s).isEmpty());
    const QString held = alice->ask(u"state"_s, u"state "_s).section(u' ', 3, 3);
    QVERIFY2(held.startsWith(u"held="_s) && held.mid(5).toInt() <= 512 * 1024, qPrintable(held));

    // The end notice on SIGTERM, sent to the copy's own process.
    QVERIFY(::kill(static_cast<pid_t>(alice->process.processId()), SIGTERM) == 0);
    QVERIFY(bob.waitFor(u"rx 198.18.0.2 END送信      "_s));
    QVERIFY(alice->process.waitForFinished(5000));
    QCOMPARE(alice->process.exitCode(), 0);

    // Bob's message, held and then put behind Carol's, was never read: it waits again at the
    // next start, and opening it tells Bob.
    QVERIFY(alice->restart());
    QVERIFY(bob.waitFor(u"rx 198.18.0.2 START送信    "_s, 10000, 2));
    QVERIFY(!alice->ask(u"open"_s, u"done open"_s).isEmpty());
    QVERIFY(bob.waitFor(u"rx 198.18.0.2 Open確認"_s));
    QVERIFY(::kill(static_cast<pid_t>(alice->process.processId()), SIGTERM) == 0);
    QVERIFY(alice->process.waitForFinished(5000));
    for (Host *h : {&bob, &carol}) {
        h->command(u"quit"_s);
        QVERIFY(h->process.waitForFinished(5000));
    }
}

void TestNetns::pairedCopiesSealWhatTheySay()
{
    if (QStandardPaths::findExecutable(u"tcpdump"_s).isEmpty())
        QSKIP("tcpdump is missing (make deps installs it); skipping the capture of a sealed conversation");
    const QString exe = qEnvironmentVariable("MILTOANNE_TESTABLE_EXE");
    QVERIFY2(QFile::exists(exe), "MILTOANNE_TESTABLE_EXE must name the test build of the program");
    Host alice(name("mta"), u"198.18.0.2"_s);
    Host bob(name("mtb"), u"198.18.0.3"_s);
    QVERIFY(bob.start(exe, alice.address));
    QVERIFY(alice.start(exe, bob.address));
    QVERIFY(bob.waitFor(u"rx 198.18.0.2 START送信    "_s));
    for (Host *h : {&alice, &bob}) {
        QVERIFY(!h->ask(u"pair 0123-4567-8901-2345-6789"_s, u"done pair"_s).isEmpty());
        QVERIFY2(h->lines().filter(u"box "_s).isEmpty(), qPrintable(h->lines().join(u'|')));
    }
    // Everything to and from Alice's copy passes her port of the switch.
    const QString text = u"秘密の合言葉は Swordfish-42 です"_s;
    const QList<QByteArray> encodings{text::toCp932(text), text.toUtf8()};
    Capture wire(name("mtsw"), u"pmta"_s);
    QVERIFY(wire.start());

    // A message, its "送信" and the reaction to it, each sealed, and the conversation works.
    alice.command(u"send "_s + text);
    QVERIFY(bob.waitFor(u"rx 198.18.0.2 (sealed)"_s));
    QVERIFY(alice.waitFor(u"rx 198.18.0.3 (sealed)"_s));
    QVERIFY(!bob.ask(u"open"_s, u"done open"_s).isEmpty());
    QVERIFY(alice.waitFor(u"rx 198.18.0.3 (sealed)"_s, 10000, 2));
    // Every sealed datagram opened: Bob has the message, Alice the "送信" and the reaction.
    QCOMPARE(bob.ask(u"state"_s, u"state "_s).section(u' ', 1, 4),
             u"sent=0 received=1 held=%1 dropped=0"_s.arg(text.size()));
    QCOMPARE(alice.ask(u"state"_s, u"state "_s).section(u' ', 1, 5),
             u"sent=1 received=0 held=0 dropped=0 notice=メッセージは正しく送信されました。"_s);
    const QByteArray sealed = wire.stop();
    const QList<Datagram> datagrams = datagramsIn(sealed);
    QStringList ways;
    for (const Datagram &d : datagrams) {
        ways << d.from + u'>' + d.to;
        QVERIFY2(d.bytes.startsWith("\xFF\xFD\x01"), d.bytes.left(40).toHex(' ').constData());
    }
    QVERIFY2(ways.count(u"198.18.0.2>198.18.0.3"_s) >= 1 && ways.count(u"198.18.0.3>198.18.0.2"_s) >= 2,
             qPrintable(ways.join(u' ')));
    for (const QByteArray &encoded : encodings)
        QVERIFY(!sealed.contains(encoded));

    // Unpaired again, the same text crosses the same port in clear: the capture would have seen it.
    for (Host *h : {&alice, &bob})
        QVERIFY(!h->ask(u"unpair"_s, u"done unpair"_s).isEmpty());
    QVERIFY(wire.start());
    alice.command(u"send "_s + text);
    QVERIFY2(bob.waitFor(text), qPrintable(bob.lines().join(u'|')));
    QVERIFY(alice.waitFor(u"rx 198.18.0.3 送信"_s));
    const QByteArray plain = wire.stop();
    QVERIFY(plain.contains(encodings[0]));
    QVERIFY(!datagramsIn(plain).isEmpty());
    for (const Datagram &d : datagramsIn(plain))
        QVERIFY2(!d.bytes.startsWith("\xFF\xFD"), qPrintable(d.from + u'>' + d.to));
    for (Host *h : {&alice, &bob}) {
        h->command(u"quit"_s);
        QVERIFY(h->process.waitForFinished(5000));
    }
}

QTEST_GUILESS_MAIN(TestNetns)
#include "test_netns.moc"
