#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace testkit {

// The test build of the program (MILTOANNE_TESTABLE_EXE) run as a process of its own, on an Xvfb
// display of the test's own, in a folder and an environment of the test's own, and driven through
// its control on standard input. Nothing of the user's (home, settings, caches) is seen or touched.

// Starts a helper that prints one line once it is ready (an address, a display number) and
// returns that line, or an empty text when the helper could not start.
QString startPrinting(QProcess &process, const QString &program, const QStringList &arguments);
// Ends a helper, politely first.
void stop(QProcess &process);
// Starts Xvfb on a free display; its number, or an empty text and in `why` the reason (to skip).
QString startDisplay(QProcess &display, QString &why);

// Copies the test build into `folder` with an adrFile.dat naming `partner`; the copy's path, or an
// empty text when there is no test build to copy.
QString installProgram(const QString &folder, const QString &partner);
// The program's whole environment: a home and XDG folders of its own below `folder`, the display
// `display` (its number) through the xcb platform, and `address` to bind.
QProcessEnvironment programEnvironment(const QString &folder, const QString &display, const QString &address);

// What the program prints on its control, and its commands.
class ProgramControl {
public:
    explicit ProgramControl(QProcess &program) : m_program(program) {}
    // Runs `line` and returns the first printed line starting with `prefix` that was not there
    // before, or an empty text after ten seconds. The event loop runs meanwhile.
    QString ask(const QString &line, const QString &prefix);

private:
    void command(const QString &line);

    QProcess &m_program;
    QString m_output;
};

} // namespace testkit
