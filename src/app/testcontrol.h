#pragma once

#include "base/copy/copy.h"
#include "base/platform/dialogs.h"

#include <QHostAddress>
#include <QObject>
#include <QSocketNotifier>

// A line-based control on standard input, built only into the test build of the program
// (miltoanne_testable), so that whole-program tests can drive a copy without a display. The
// program users run has no such control.
//
// Commands: "send TEXT", "open" (opens the waiting message and its text), "reply TEXT", "close",
// "check ADDRESS", "search", "windows" (prints the names of the windows on screen), "quit". Every
// datagram that arrives is printed as "rx SENDER TEXT" (line breaks shown as \n), every message
// box as "box TEXT", and "ready" once start-up is done.
class TestControl final : public QObject {
    Q_OBJECT
public:
    explicit TestControl(copy::Copy &copy);
    void announceReady();
    // The address the copy binds: MILTOANNE_TEST_ADDRESS where a test gives one (a loopback
    // address, so that the test's own sockets share the port beside it), else any.
    static QHostAddress bindAddress();
    // One line on standard output, at once.
    static void print(const QString &line);

private:
    void readCommand();
    void run(const QString &line);

    copy::Copy &m_copy;
    QSocketNotifier m_input;
    QByteArray m_pending; // read, up to the end of a line still to come
};

// The test build's boxes: printed, and answered at once with their default button, so that no
// box waits for a user the test does not have.
class PrintedDialogs final : public platform::Dialogs {
public:
    int messageBox(const QString &text, int style, const QString &title) override;
    std::optional<platform::FontChoice> chooseFont(const platform::FontChoice &) override
    {
        return std::nullopt;
    }
    std::optional<quint32> chooseColor(quint32) override { return std::nullopt; }
    void closeAll() override {}
};
