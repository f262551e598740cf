#include "app/testcontrol.h"

#include "base/protocol/seal.h"
#include "base/protocol/send.h"
#include "base/protocol/wire.h"
#include "base/text/cp932.h"
#include "base/text/fields.h"

#include <QApplication>
#include <QWidget>

#include <cstdio>
#include <unistd.h>

TestControl::TestControl(copy::Copy &copy) : m_copy(copy), m_input(STDIN_FILENO, QSocketNotifier::Read)
{
    connect(&m_input, &QSocketNotifier::activated, this, &TestControl::readCommand);
    connect(&copy.context().services.transport, &platform::Transport::datagramArrived, this,
            [](const QByteArray &bytes, const QString &sender) {
                if (protocol::isSealed(bytes)) {
                    print(QStringLiteral("rx ") + sender + QStringLiteral(" (sealed)"));
                    return;
                }
                QString text = text::fromCp932(bytes);
                text.replace(QStringLiteral("\r\n"), QStringLiteral("\\n"));
                // Only the head of a long datagram: a flood must not fill the pipe to the test.
                print(QStringLiteral("rx ") + sender + u' ' + text.left(100));
            });
}

void TestControl::announceReady()
{
    print(QStringLiteral("ready"));
}

QHostAddress TestControl::bindAddress()
{
    const QHostAddress given(qEnvironmentVariable("MILTOANNE_TEST_ADDRESS"));
    return given.protocol() == QAbstractSocket::IPv4Protocol ? given : QHostAddress(QHostAddress::AnyIPv4);
}

void TestControl::print(const QString &line)
{
    const QByteArray utf8 = line.toUtf8() + '\n';
    std::fwrite(utf8.constData(), 1, static_cast<std::size_t>(utf8.size()), stdout);
    std::fflush(stdout);
}

void TestControl::readCommand()
{
    char buffer[4096];
    const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (n <= 0) {
        m_input.setEnabled(false);
        // A last line without its line end is a command all the same.
        m_pending.append('\n');
    } else {
        m_pending.append(buffer, n);
    }
    // A read ends wherever the pipe had data: a line longer than one read waits for its end.
    qsizetype end = 0;
    while ((end = m_pending.indexOf('\n')) >= 0) {
        const QByteArray line = m_pending.left(end).trimmed();
        m_pending.remove(0, end + 1);
        if (!line.isEmpty())
            run(QString::fromUtf8(line));
    }
}

void TestControl::run(const QString &line)
{
    const QString command = line.section(u' ', 0, 0);
    const QString argument = line.section(u' ', 1);
    core::Context &c = m_copy.context();
    if (command == u"send") {
        m_copy.compose().open();
        m_copy.compose().window().edit([&](send::ComposeView &v) { v.message = argument; });
        m_copy.compose().send();
    } else if (command == u"open") {
        m_copy.receiving().openReceived();
        m_copy.receivedMessage().openOrClose();
    } else if (command == u"reply") {
        m_copy.receiving().openReceived();
        m_copy.receivedWindow().edit([&](receive::ReceivedView &v) { v.reply = argument; });
        m_copy.receivedMessage().reply();
    } else if (command == u"close") {
        m_copy.receiving().openReceived();
        m_copy.receivedMessage().close();
    } else if (command == u"check") {
        m_copy.partner().showWindow();
        m_copy.partner().window().edit([&](settings::PartnerView &v) { v.address = argument; });
        m_copy.partner().checkPresence();
    } else if (command == u"search") {
        m_copy.userSearch().search();
    } else if (command == u"hold") {
        m_copy.receiving().openReceived();
        m_copy.receivedMessage().hold();
    } else if (command == u"forge") {
        m_copy.outbox().send(core::Peer(argument.section(u' ', 0, 0)), argument.section(u' ', 1));
    } else if (command == u"flood") {
        // The largest messages one datagram carries, one after the other.
        const QString head = QStringLiteral("flood       ") + text::hhmmss(c.now().time());
        const QString filler(protocol::kMaxDatagramBytes - head.size(), u'x');
        for (int i = argument.section(u' ', 1).toInt(); i > 0; --i)
            m_copy.outbox().send(core::Peer(argument.section(u' ', 0, 0)), head + filler);
    } else if (command == u"state") {
        const QString notice = m_copy.notices().sendResultSlot().isLoaded()
                                   ? m_copy.notices().sendResult().view().text
                                   : QStringLiteral("-");
        // dropped: what arrived sealed, or plain in the partner's name, and was not taken.
        print(QStringLiteral("state sent=%1 received=%2 held=%3 dropped=%4 notice=%5 caption=%6")
                  .arg(m_copy.history().sent().size())
                  .arg(m_copy.history().received().size())
                  .arg(m_copy.receivedWindow().view().message.size())
                  .arg(m_copy.pairing().counts().total())
                  .arg(notice, m_copy.historyViewer().window().caption()));
    } else if (command == u"windows") {
        QStringList shown;
        for (const QWidget *w : QApplication::topLevelWidgets()) {
            if (w->isVisible() && !w->objectName().isEmpty())
                shown << w->objectName();
        }
        shown.sort();
        // The window that has the keyboard, last.
        if (const QWidget *active = QApplication::activeWindow())
            shown << QStringLiteral("active=") + active->objectName();
        print(QStringLiteral("windows ") + shown.join(u' '));
    } else if (command == u"menu") {
        // A tray menu entry by its documented name, as if the user had chosen it.
        for (const core::MenuEntry &entry : c.menu.entries()) {
            if (QString::fromUtf16(entry.name) == argument)
                m_copy.menuClicked(entry.id);
        }
    } else if (command == u"pair") {
        // As if the code had been shown on one copy and typed on the other: both sides run this.
        m_copy.pairing().pairWith(argument);
    } else if (command == u"unpair") {
        m_copy.pairing().unpair();
    } else if (command == u"quit") {
        m_copy.terminate();
    }
    print(QStringLiteral("done ") + command);
}

int PrintedDialogs::messageBox(const QString &text, int style, const QString &)
{
    TestControl::print(QStringLiteral("box ") + text);
    return platform::box::defaultAnswer(style);
}
