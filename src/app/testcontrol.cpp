#include "app/testcontrol.h"

#include "base/protocol/send.h"
#include "base/protocol/wire.h"
#include "base/text/cp932.h"
#include "base/text/fields.h"

#include <QCoreApplication>

#include <cstdio>
#include <unistd.h>

TestControl::TestControl(copy::Copy &copy) : m_copy(copy), m_input(STDIN_FILENO, QSocketNotifier::Read)
{
    connect(&m_input, &QSocketNotifier::activated, this, &TestControl::readCommand);
    connect(&copy.context().services.transport, &platform::Transport::datagramArrived, this,
            [](const QByteArray &bytes, const QString &sender) {
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
        return;
    }
    for (const QByteArray &line : QByteArray(buffer, n).split('\n')) {
        if (!line.trimmed().isEmpty())
            run(QString::fromUtf8(line.trimmed()));
    }
}

void TestControl::run(const QString &line)
{
    const QString command = line.section(u' ', 0, 0);
    const QString argument = line.section(u' ', 1);
    core::Context &c = m_copy.context();
    if (command == u"send") {
        m_copy.sending().openCompose();
        c.frmSnd.edit([&](core::MainView &v) { v.txtMsg = argument; });
        m_copy.sending().cmdSendClick();
    } else if (command == u"open") {
        m_copy.receiving().openReceived();
        m_copy.received().cmdOPCLClick();
    } else if (command == u"reply") {
        m_copy.receiving().openReceived();
        c.frmRecv.edit([&](core::ReceivedView &v) { v.text2 = argument; });
        m_copy.received().cmdCbackClick();
    } else if (command == u"close") {
        m_copy.receiving().openReceived();
        m_copy.received().cmdDelClick();
    } else if (command == u"check") {
        m_copy.partner().adrEdit();
        c.frmAddress().edit([&](core::AddressView &v) { v.txtIp1 = argument; });
        m_copy.partner().cmdCheckClick();
    } else if (command == u"search") {
        m_copy.userSearch().adrSearch();
    } else if (command == u"hold") {
        m_copy.receiving().openReceived();
        m_copy.received().cmdCancelClick();
    } else if (command == u"forge") {
        protocol::sendDatagram(c, argument.section(u' ', 0, 0), argument.section(u' ', 1));
    } else if (command == u"flood") {
        // The largest messages one datagram carries, one after the other.
        const QString head = QStringLiteral("flood       ") + text::hhmmss(c.now().time());
        const QString filler(protocol::kMaxDatagramBytes - head.size(), u'x');
        for (int i = argument.section(u' ', 1).toInt(); i > 0; --i)
            protocol::sendDatagram(c, argument.section(u' ', 0, 0), head + filler);
    } else if (command == u"state") {
        const QString notice = c.sndOkSlot.isLoaded() ? c.frmSndOK().view().label1 : QStringLiteral("-");
        print(QStringLiteral("state sent=%1 received=%2 held=%3 notice=%4 caption=%5")
                  .arg(c.LvLog.size())
                  .arg(c.LvrcvLog.size())
                  .arg(c.frmRecv.view().text1.size())
                  .arg(notice, c.frmLog.caption()));
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
