#pragma once

#include "copy/copy.h"

#include <QObject>
#include <QSocketNotifier>

// A line-based control on standard input, built only into the test build of the program
// (miltoanne_testable), so that whole-program tests can drive a copy without a display. The
// program users run has no such control.
//
// Commands: "send TEXT", "open", "check ADDRESS", "search", "quit". Every datagram that arrives is
// printed as "rx SENDER TEXT" (line breaks shown as \n), and "ready" once start-up is done.
class TestControl final : public QObject {
    Q_OBJECT
public:
    explicit TestControl(copy::Copy &copy);
    void announceReady();

private:
    void readCommand();
    void run(const QString &line);
    static void print(const QString &line);

    copy::Copy &m_copy;
    QSocketNotifier m_input;
};
