// A partner for the bench in a process of its own, on a loopback address and port 57979:
//   miltoanne_bench_peer copy ADDRESS PARTNER [SECONDS]   a whole copy on real sockets
//   miltoanne_bench_peer echo ADDRESS [SECONDS]           a bare socket that sends each datagram back
// It prints "ready" once it listens, and ends on SIGTERM or after SECONDS (default 300).
#include "support/testcopy.h"

#include <QCoreApplication>
#include <QNetworkDatagram>
#include <QTimer>
#include <QUdpSocket>
#include <QVariant>

#include <cstdio>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

constexpr quint16 kPort = 57979;
// The same receive buffer the program asks for, so that both sides queue alike.
constexpr int kReceiveBufferBytes = 8 * 1024 * 1024;

void announceReady()
{
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
}

int usage()
{
    std::fputs("usage: miltoanne_bench_peer copy ADDRESS PARTNER [SECONDS] | echo ADDRESS [SECONDS]\n",
               stderr);
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() < 2)
        return usage();
    const QString mode = args[0];
    const QString address = args[1];
    const int secondsArg = mode == u"copy" ? 3 : 2;
    const int seconds = args.size() > secondsArg ? args[secondsArg].toInt() : 300;
    QTimer::singleShot(std::max(1, seconds) * 1000, &app, &QCoreApplication::quit);

    std::unique_ptr<testkit::TestCopy> copy;
    QUdpSocket echo;
    if (mode == u"copy") {
        if (args.size() < 3)
            return usage();
        copy = std::make_unique<testkit::TestCopy>(address);
        copy->writePartner(u"alice"_s, args[2]);
        copy->writeOptions([](core::Options &opt) { opt.userName = u"bob"_s; });
        if (!copy->start()) {
            std::fputs("the copy did not start (port taken?)\n", stderr);
            return 1;
        }
    } else if (mode == u"echo") {
        if (!echo.bind(QHostAddress(address), kPort, QAbstractSocket::DontShareAddress)) {
            std::fprintf(stderr, "cannot bind the echo: %s\n", qPrintable(echo.errorString()));
            return 1;
        }
        echo.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, QVariant(kReceiveBufferBytes));
        QObject::connect(&echo, &QUdpSocket::readyRead, &echo, [&echo] {
            while (echo.hasPendingDatagrams()) {
                const QNetworkDatagram datagram = echo.receiveDatagram();
                echo.writeDatagram(datagram.data(), datagram.senderAddress(), kPort);
            }
        });
    } else {
        return usage();
    }
    announceReady();
    return QCoreApplication::exec();
}
