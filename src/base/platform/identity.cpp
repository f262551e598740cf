#include "base/platform/identity.h"

#include <QHostInfo>

#ifdef Q_OS_WIN
#include <lmcons.h>
#include <windows.h>
#else
#include <pwd.h>
#include <unistd.h>
#endif

namespace platform {

QString SystemIdentity::loginName() const
{
#ifdef Q_OS_WIN
    wchar_t buffer[UNLEN + 1];
    DWORD size = UNLEN + 1;
    return GetUserNameW(buffer, &size) ? QString::fromWCharArray(buffer) : QString();
#else
    const passwd *entry = getpwuid(getuid());
    return entry != nullptr ? QString::fromLocal8Bit(entry->pw_name) : QString();
#endif
}

QString SystemIdentity::hostName() const
{
    return QHostInfo::localHostName();
}

} // namespace platform
