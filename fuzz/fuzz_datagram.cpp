// Arriving datagrams: the CP932 decoder, the tag classification and the message fields on any
// bytes, and a whole copy's dispatch of them. MILTOANNE_FUZZ_MODE=codec or =dispatch runs one side
// alone (faster); by default every input goes through both.
#include "checks.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

enum Mode { kCodec = 1, kDispatch = 2 };
int g_mode = kCodec | kDispatch;

void failIfBroken(const QStringList &broken)
{
    if (broken.isEmpty())
        return;
    for (const QString &what : broken)
        std::fprintf(stderr, "BROKEN: %s\n", what.toUtf8().constData());
    std::abort();
}

// One pair of copies lives through many datagrams, as a running copy does. Their history, the
// held text and the fake tray's call log grow with every message, so after this many the pair is
// made afresh: that keeps the memory bounded and brings the start-up state back now and then.
constexpr int kArrivalsPerRig = 20000;

fuzzcheck::DispatchRig &rig()
{
    static std::unique_ptr<fuzzcheck::DispatchRig> instance;
    static int arrivals = 0;
    if (!instance || ++arrivals > kArrivalsPerRig) {
        instance.reset();
        instance = std::make_unique<fuzzcheck::DispatchRig>();
        arrivals = 0;
    }
    return *instance;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    const QByteArray mode = qgetenv("MILTOANNE_FUZZ_MODE");
    if (mode == "codec")
        g_mode = kCodec;
    else if (mode == "dispatch")
        g_mode = kDispatch;
    if (g_mode & kDispatch) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        // Its own arguments: the fuzzer's flags are not Qt's business.
        static int argc = 1;
        static char name[] = "fuzz_datagram";
        static char *argv[] = {name, nullptr};
        static QApplication app(argc, argv);
        rig();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    if (g_mode & kCodec)
        failIfBroken(fuzzcheck::checkDatagram(bytes));
    if (g_mode & kDispatch)
        failIfBroken(rig().arrive(bytes));
    return 0;
}
