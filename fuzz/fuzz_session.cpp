// Whole sessions between two copies: hostile datagrams interleaved with what their users do, with
// the journal on. Each input is a program (see session.h); after it, no file outside the copies'
// data folders, nothing grown past its bound (bounds.h), and no crash, leak or undefined behaviour.
#include "session.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

std::unique_ptr<fuzzcheck::SessionRig> g_rig;

// A run that stops at a fault ends at once, without its destructors, and leaves its root behind,
// with the journals of its last session (in memory, when the root is in /dev/shm). Each root is
// named after the process that made it; those of processes that are gone are removed here.
void removeRootsOfEndedRuns(const QString &base)
{
    if (!QFileInfo::exists(QStringLiteral("/proc/self")))
        return; // no way to tell a live run from an ended one
    const QDir dir(base);
    for (const QString &name : dir.entryList({QStringLiteral("fuzz_session-*")}, QDir::Dirs)) {
        const QString process = name.section(u'-', 1, 1);
        if (!process.isEmpty() && !QFileInfo::exists(QStringLiteral("/proc/") + process))
            QDir(dir.filePath(name)).removeRecursively();
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // The rig first: it points HOME, the XDG folders and TMPDIR into its own root, so whatever Qt
    // writes at start-up goes there too. Each input starts two copies, which make and remove their
    // folders and files: in memory that costs a tenth of what it costs on a disk.
    const QString shm = QStringLiteral("/dev/shm");
    const QString base = QFileInfo(shm).isWritable() ? shm : QDir::tempPath();
    removeRootsOfEndedRuns(base);
    g_rig = std::make_unique<fuzzcheck::SessionRig>(
        base, QStringLiteral("fuzz_session-%1").arg(QCoreApplication::applicationPid()));
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz_session";
    static char *argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const fuzzcheck::SessionResult result =
        g_rig->run(QByteArrayView(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)));
    if (result.broken.isEmpty())
        return 0;
    for (const QString &what : result.broken)
        std::fprintf(stderr, "BROKEN: %s\n", what.toUtf8().constData());
    // What the input means, for its row in tests/base/test_fuzzfound.cpp.
    std::fprintf(stderr, "STEPS: %s\n", result.steps.toUtf8().constData());
    std::abort();
}
