// A partner for the bench in a process of its own, on a loopback address and port 57979:
//   miltoanne_bench_peer copy ADDRESS PARTNER [SECONDS] [CODE]
//                                                         a whole copy on real sockets, paired with
//                                                         the partner by CODE when one is given
//   miltoanne_bench_peer window ADDRESS PARTNER [SECONDS] the same with its windows (offscreen); the
//                                                         line "open" on its input opens the received
//                                                         message and prints "opened MS" once it is
//                                                         painted
//   miltoanne_bench_peer echo ADDRESS [SECONDS]           a bare socket that sends each datagram back
// It prints "ready" once it listens, and ends on SIGTERM or after SECONDS (default 300).
#include "gui/shell/shell.h"
#include "support/testcopy.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QNetworkDatagram>
#include <QPlainTextEdit>
#include <QSocketNotifier>
#include <QTimer>
#include <QUdpSocket>
#include <QVariant>

#include <cstdio>
#include <memory>
#include <unistd.h>

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
    std::fputs("usage: miltoanne_bench_peer copy ADDRESS PARTNER [SECONDS] [CODE] | echo ADDRESS [SECONDS]\n",
               stderr);
    return 2;
}

// Opens the received window over what waits, the way a click on the tray and on OPEN do, and
// says how long it took until the text was painted.
class Opener final : public QObject {
public:
    Opener(copy::Copy &copy, shell::Shell &shell) : m_copy(copy), m_shell(shell)
    {
        connect(&m_input, &QSocketNotifier::activated, this, &Opener::read);
    }

private:
    void read()
    {
        char buffer[64];
        const ssize_t n = ::read(0, buffer, sizeof buffer);
        if (n <= 0) {
            m_input.setEnabled(false);
            return;
        }
        if (!QByteArray(buffer, n).contains("open"))
            return;
        QWidget *text = m_shell.receivedWindow().findChild<QWidget *>(u"Text1"_s);
        QPlainTextEdit *box = qobject_cast<QPlainTextEdit *>(text);
        bool painted = false;
        if (box != nullptr)
            box->viewport()->installEventFilter(this);
        m_painted = &painted;
        QElapsedTimer took;
        took.start();
        m_copy.receiving().openReceived();
        m_copy.receivedMessage().openOrClose();
        while (!painted && took.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        m_painted = nullptr;
        std::printf("opened %lld\n", static_cast<long long>(took.elapsed()));
        std::fflush(stdout);
    }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && m_painted != nullptr)
            *m_painted = true;
        return QObject::eventFilter(watched, event);
    }

    copy::Copy &m_copy;
    shell::Shell &m_shell;
    QSocketNotifier m_input{0, QSocketNotifier::Read};
    bool *m_painted = nullptr;
};

} // namespace

int main(int argc, char *argv[])
{
    // Only the window mode shows windows; the others stay as light as a copy without them.
    const bool windows = argc > 1 && QByteArray(argv[1]) == "window";
    std::unique_ptr<QCoreApplication> application =
        windows ? std::make_unique<QApplication>(argc, argv) : std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication &app = *application;
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.size() < 2)
        return usage();
    const QString &mode = args[0];
    const QString &address = args[1];
    const int secondsArg = mode == u"echo" ? 2 : 3;
    const int seconds = args.size() > secondsArg ? args[secondsArg].toInt() : 300;
    QTimer::singleShot(std::max(1, seconds) * 1000, &app, &QCoreApplication::quit);

    std::unique_ptr<testkit::TestCopy> copy;
    std::unique_ptr<shell::Shell> shown;
    std::unique_ptr<Opener> opener;
    QUdpSocket echo;
    if (mode == u"copy" || mode == u"window") {
        if (args.size() < 3)
            return usage();
        copy = std::make_unique<testkit::TestCopy>(address);
        copy->writePartner(u"alice"_s, args[2]);
        copy->writeOptions([](core::Options &opt) { opt.userName = u"bob"_s; });
        if (!copy->start()) {
            std::fputs("the copy did not start (port taken?)\n", stderr);
            return 1;
        }
        if (args.size() > 4 && !copy->copy->pairing().pairWith(args[4])) {
            std::fputs("the copy did not pair with the code\n", stderr);
            return 1;
        }
        if (windows) {
            shown = std::make_unique<shell::Shell>(*copy->copy);
            opener = std::make_unique<Opener>(*copy->copy, *shown);
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
