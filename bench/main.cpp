// `make bench`: the figures of this machine for the acknowledgement round trip, the message rate,
// start-up, memory and idle CPU, each beside its yardstick and target. It only prints; it asserts
// nothing. Every datagram goes to a loopback address, inside a network namespace of its own where
// the system allows one; every loop is bounded in count and time.
#include "common.h"
#include "opening.h"
#include "privatenet.h"
#include "realprogram.h"
#include "roundtrip.h"
#include "table.h"
#include "throughput.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QThread>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

constexpr quint16 kListenPort = 57980;

struct Settings {
    bench::Programs programs;
    int roundTrips = 2000;
    int startRuns = 7;
    int loadMessages = 10000;
    int idleSeconds = 30;
    int largeFlood = 1000;
    int smallFlood = 150000;
    int openRounds = 6;
    int only = 0; // 0: every measurement; 1, 2, 3, 4 (memory and idle CPU), 6 (floods) or 7 (opening
                  // the largest text): that one alone
};

QString beside(const QString &name)
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(name);
}

bool parse(const QStringList &args, Settings &s)
{
    s.programs = {beside(u"../bin/miltoanne"_s), beside(u"miltoanne_bench_peer"_s),
                  beside(u"miltoanne_bench_bare"_s)};
    for (qsizetype i = 1; i < args.size(); i += 2) {
        if (i + 1 == args.size())
            return false; // every option takes a value
        const QString &key = args[i];
        const QString &value = args[i + 1];
        if (key == u"--program")
            s.programs.program = value;
        else if (key == u"--peer")
            s.programs.peer = value;
        else if (key == u"--bare")
            s.programs.bare = value;
        else if (key == u"--round-trips")
            s.roundTrips = std::clamp(value.toInt(), 10, 100000);
        else if (key == u"--start-runs")
            s.startRuns = std::clamp(value.toInt(), 1, 50);
        else if (key == u"--idle-seconds")
            s.idleSeconds = std::clamp(value.toInt(), 1, 300);
        else if (key == u"--only")
            s.only = std::clamp(value.toInt(), 0, 7);
        else
            return false;
    }
    for (const QString &path : {s.programs.program, s.programs.peer, s.programs.bare}) {
        if (!QFileInfo(path).isExecutable()) {
            std::fprintf(stderr, "not an executable: %s\n", qPrintable(path));
            return false;
        }
    }
    return true;
}

void say(const QString &line)
{
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

} // namespace

int main(int argc, char *argv[])
{
    // Before anything starts a thread: the namespace is the calling thread's.
    QString noNamespace;
    const bool privateNet = bench::enterPrivateNetwork(noNamespace);

    QCoreApplication app(argc, argv);
    Settings settings;
    if (!parse(QCoreApplication::arguments(), settings)) {
        std::fputs("usage: miltoanne_bench [--program EXE] [--peer EXE] [--bare EXE] [--round-trips N]"
                   " [--start-runs N] [--idle-seconds N] [--only 1|2|3|4|6|7]\n",
                   stderr);
        return 2;
    }
    bench::Report report(privateNet ? u"a network namespace of its own"_s
                                    : u"the machine's own loopback ("_s + noNamespace + u")"_s);
    say(report.heading());

    const auto wanted = [&](int part) { return settings.only == 0 || settings.only == part; };
    if (wanted(1)) {
        say(u"1. acknowledgement round trip, %1 messages one after the other..."_s.arg(settings.roundTrips));
        // Two copies run on two machines: the figure with a target has a processor for each side.
        // Both on one processor is shown beside it: there the time is all work, no waiting.
        if (QThread::idealThreadCount() >= 2)
            report.addRoundTrip(bench::measureRoundTrip(settings.programs, settings.roundTrips, 200, 1));
        report.addRoundTrip(bench::measureRoundTrip(settings.programs, settings.roundTrips, 200, 0));
    }
    if (wanted(2)) {
        say(u"2. message rate, bursts of one second at rising rates..."_s);
        const std::vector<int> rates{5000,  10000, 15000, 20000, 25000, 30000,
                                     40000, 50000, 60000, 80000, 100000};
        report.addThroughput(bench::measureThroughput(settings.programs, rates, 1000));
    }
    if (wanted(7)) {
        say(u"7. opening the largest received text, %1 copies with their windows..."_s.arg(
            settings.openRounds));
        report.addOpening(bench::measureOpening(settings.programs, settings.openRounds));
    }
    if (!wanted(3) && !wanted(4) && !wanted(6)) {
        say(report.text());
        return 0;
    }

    // The real program binds 0.0.0.0:57979 and cannot share it with a listener on 127.0.0.9:57979;
    // its partner's port is turned to kListenPort by this namespace's own firewall.
    QString noRedirect;
    if (!privateNet)
        noRedirect = u"needs a network namespace of its own: "_s + noNamespace;
    else if (bench::redirectPartnerPort(kListenPort, noRedirect))
        noRedirect.clear();
    if (!noRedirect.isEmpty()) {
        report.skipRealProgram(noRedirect);
    } else {
        if (wanted(3)) {
            say(u"3. start-up, %1 runs of each program..."_s.arg(settings.startRuns));
            report.addStartUp(bench::measureStartUp(settings.programs, kListenPort, settings.startRuns));
        }
        if (wanted(4)) {
            say(u"4./5. memory, %1 s idle, then %2 messages..."_s.arg(settings.idleSeconds)
                    .arg(settings.loadMessages));
            report.addResources(bench::measureResources(settings.programs, kListenPort, settings.loadMessages,
                                                        settings.idleSeconds, 10),
                                settings.loadMessages);
        }
        if (wanted(6)) {
            say(u"6. floods from a stranger while a message waits: %1 largest messages, then twice %2 small datagrams..."_s
                    .arg(settings.largeFlood)
                    .arg(settings.smallFlood));
            report.addFloods(bench::measureFloods(settings.programs, kListenPort, settings.largeFlood,
                                                  settings.smallFlood));
        }
        bench::removePartnerRedirect();
    }
    say(report.text());
    return 0;
}
