#pragma once

#include "base/copy/copy.h"
#include "support/fakenetwork.h"
#include "support/fakes.h"

#include <QTemporaryDir>

#include <functional>
#include <memory>

namespace testkit {

// One whole copy of the program in this process, at an address of its own, with its own
// temporary program directory and scripted dialogs. On a fake network by default; with
// `realSockets` it binds real UDP sockets to its (loopback) address.
class TestCopy {
    // First, so that it outlives the copy's lock file inside it.
    QTemporaryDir m_dir;

public:
    // A copy on the fake network.
    TestCopy(FakeNetwork &network, const QString &address, const QString &programDir = {});
    // A copy on real UDP sockets bound to `loopbackAddress` (127.0.0.x).
    TestCopy(const QString &loopbackAddress, const QString &programDir = {});
    ~TestCopy();

    // Runs the start-up; false when the copy ended during it.
    bool start() { return copy->startUp(); }

    core::Context &context() { return copy->context(); }
    core::Options &opt() { return copy->context().opt; }
    send::Compose &compose() { return copy->compose(); }
    send::SendNotices &notices() { return copy->notices(); }
    bool messageWaiting() const { return copy->messageWaiting(); }
    receive::ReceivedWindowModel &receivedWindow() { return copy->receivedWindow(); }
    core::TrayIcon &trayIcon() { return copy->tray(); }
    history::History &history() { return copy->history(); }
    history::HistoryWindowModel &historyWindow() { return copy->historyViewer().window(); }
    const core::RegisteredPartner &partner() const { return copy->registeredPartner(); }
    // Registers `address` as the partner, as "登録" does but without the file.
    void registerPartner(const QString &address) { copy->partner().setRegistered({{}, address}); }
    // The copy's host on the fake network.
    FakeTransport &host() { return static_cast<FakeTransport &>(*transport); }
    const QString &address() const { return m_address; }
    QString programDir() const;
    // Where the copy puts its autostart entry: a folder of the test's own.
    QString autostartFile() const;
    // Its config file, in a folder of the test's own too.
    QString configFile() const;
    // Puts a data file into the program directory before start-up.
    void writeFile(const QString &name, const QByteArray &bytes) const;
    QByteArray readFile(const QString &name) const;
    // Writes an options file holding the defaults as changed by `change`, for the next start-up.
    void writeOptions(const std::function<void(core::Options &)> &change) const;
    // Writes an address file registering this partner, for the next start-up.
    void writePartner(const QString &name, const QString &address) const;

    FakeTray tray;
    ScriptedDialogs dialogs;
    ManualClock clock;
    FakeClipboard clipboard;
    FakeIdentity identity;
    FlakyFileStore files;
    FakeNotifications notifications;
    std::unique_ptr<platform::Transport> transport;
    std::unique_ptr<copy::Copy> copy;

private:
    void build(const QString &programDir);

    QString m_address;
    QString m_programDir;
};

} // namespace testkit
