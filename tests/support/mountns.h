#pragma once

#include <QString>
#include <QTemporaryDir>
#include <QTest>

namespace testkit {

// Tests that need file systems of their own (a small tmpfs that fills up, a read-only one) run in
// a child process of the test executable, in a mount namespace of the child's own: what it mounts
// is seen by nobody else and goes with the child. Where the system refuses namespaces or mounts,
// the test is skipped with a line that says so.

struct NamespaceRun {
    enum Outcome { Passed, Skipped, Failed };
    Outcome outcome = Failed;
    QString report; // the reason of a skip, or the child's output
};

// True in the child that rerunInOwnMountNamespace() started. It stops the child outright when the
// child finds itself in the namespace of the process that started it, before anything is mounted.
bool inOwnMountNamespace();
// Runs the current test function and data row again in a child under `unshare --mount`.
NamespaceRun rerunInOwnMountNamespace();

// A tmpfs of `kib` KiB on a temporary directory, mounted read-only with `readOnly`, unmounted when
// it goes. Only inside the child's own namespace.
class ScratchMount {
public:
    explicit ScratchMount(int kib, bool readOnly = false);
    ~ScratchMount();
    ScratchMount(const ScratchMount &) = delete;
    ScratchMount &operator=(const ScratchMount &) = delete;

    bool mounted() const { return m_mounted; }
    const QString &error() const { return m_error; }
    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }
    // Fills the file system with a file of its own until nothing more fits, then gives back
    // `leaveFree` bytes (whole pages) of it.
    bool fill(qint64 leaveFree = 0);
    // Makes the file system read-only from here on, files already open for writing (the lock
    // file) included: a read-only view of it is mounted over it.
    bool makeReadOnly();

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
    bool m_readOnlyView = false;
    QString m_error;
};

} // namespace testkit

// The first statement of a test function whose rest runs in a mount namespace of its own: in the
// test process it runs the function again in the child, reports the child's outcome and returns;
// in the child it does nothing.
#define TESTKIT_IN_OWN_MOUNT_NAMESPACE()                                                                     \
    do {                                                                                                     \
        if (!testkit::inOwnMountNamespace()) {                                                               \
            const testkit::NamespaceRun run = testkit::rerunInOwnMountNamespace();                           \
            if (run.outcome == testkit::NamespaceRun::Skipped)                                               \
                QSKIP(qPrintable(run.report));                                                               \
            QVERIFY2(run.outcome == testkit::NamespaceRun::Passed, qPrintable(run.report));                  \
            return;                                                                                          \
        }                                                                                                    \
    } while (false)
