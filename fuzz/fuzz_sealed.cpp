// Sealed datagrams: any bytes handed to the opening, and scripts in which the partner seals and
// the way between loses, repeats, changes, cuts and lengthens what it carries (see
// fuzzcheck::checkSealed). Only a new, whole datagram of the partner opens, to what was sealed.
#include "checks.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QStringList broken = fuzzcheck::checkSealed(bytes);
    for (const QString &what : broken)
        std::fprintf(stderr, "BROKEN: %s\n", what.toUtf8().constData());
    if (!broken.isEmpty())
        std::abort();
    return 0;
}
