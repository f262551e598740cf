// The options file: any bytes are read without harm, and a file read as ours is written and read
// again to the same record.
#include "checks.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QStringList broken = fuzzcheck::checkOptionsFile(bytes);
    for (const QString &what : broken)
        std::fprintf(stderr, "BROKEN: %s\n", what.toUtf8().constData());
    if (!broken.isEmpty())
        std::abort();
    return 0;
}
