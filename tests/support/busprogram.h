#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QUdpSocket>

namespace testkit {

// The test build of the program (MILTOANNE_TESTABLE_EXE), run from a folder of the test's own and
// driven through its control on standard input; on a display and a session bus of the test's own
// where the test starts them. Its partner is kPartnerAddress, where the test binds a socket of its
// own; nothing of the user's (home, settings, caches, the desktop's bus) is seen or touched.
class BusProgram {
public:
    static inline const QString kProgramAddress = QStringLiteral("127.0.0.2");
    static inline const QString kPartnerAddress = QStringLiteral("127.0.0.3");

    // `connectionName` is the test's own connection to the bus.
    explicit BusProgram(const QString &connectionName);
    ~BusProgram();
    BusProgram(const BusProgram &) = delete;
    BusProgram &operator=(const BusProgram &) = delete;

    // Each returns why it cannot run on this machine (for QSKIP), or an empty text.
    // An Xvfb display for the program; without one it runs offscreen, or on Wayland (useWayland()).
    QString startDisplay();
    // The bus, which starts no services; the test is connected to it once this returns. Without
    // it the program has no session bus.
    QString startBus();
    QDBusConnection bus() const { return QDBusConnection(m_connectionName); }

    // The program's folder, with the partner registered; false when it cannot be made.
    bool prepare();
    // The program's home, which is also every XDG folder it has ($XDG_CONFIG_HOME and the rest).
    QString home() const;
    // Adds a variable to the program's environment, or replaces one of its own; from the next start().
    void setEnvironment(const QString &name, const QString &value) { m_extra.insert(name, value); }
    // The program runs on the Wayland compositor whose socket `display` is in `runtimeDir` (its
    // XDG_RUNTIME_DIR then), not on Xvfb; from the next start().
    void useWayland(const QString &runtimeDir, const QString &display);
    // Starts the program; true once it has said it is ready.
    bool start();
    QProcess &process() { return m_program; }
    // Waits up to 10 s for the program to end, the test's event loop running; true when it ended
    // by itself with exit code 0.
    bool endsCleanly();
    // Writes a command line to the program.
    void command(const QString &line);
    // Runs `line` and returns the first printed line starting with `prefix` that was not there
    // before, or an empty text after 10 s. The test's event loop runs meanwhile, so that objects
    // the test serves (on the bus, a session manager) answer the program.
    QString ask(const QString &line, const QString &prefix);
    // The program's visible windows, by their names.
    QString windows() { return ask(QStringLiteral("windows"), QStringLiteral("windows")); }

    // The partner's socket at kPartnerAddress, port 57979; false when it cannot be bound.
    bool bindPartner();
    QUdpSocket &partner() { return m_partner; }
    // The texts that have come to the partner since the last call. One from anyone but the
    // program stands after its sender's address, so that it is like nothing the program sends.
    QStringList arrivals();

private:
    QString m_connectionName;
    QTemporaryDir m_dir;
    QString m_displayNumber;
    QString m_busAddress;
    QProcessEnvironment m_extra;
    QProcess m_display;
    QProcess m_bus;
    QProcess m_program;
    QString m_output;
    QUdpSocket m_partner;
};

} // namespace testkit
