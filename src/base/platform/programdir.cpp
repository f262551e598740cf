#include "base/platform/programdir.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace platform {

QString dataDirectory(const QString &programDir)
{
    if (QFileInfo(programDir).isWritable())
        return programDir;
    // Named after the program's file, as it always was, whatever name the application shows.
    QString userData =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/miltoanne");
    // The folder holds the password and the journal: one the program makes is its user's alone.
    // The folders above it are the system's shared ones and keep their usual permissions; a folder
    // that is there already is left as its user made it.
    if (!QFileInfo::exists(userData)) {
        QDir().mkpath(QFileInfo(userData).path());
        QDir().mkdir(userData, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    return userData;
}

QString autostartEntryFile()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/autostart/miltoanne.desktop");
#else
    return {};
#endif
}

QString configFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/miltoanne/miltoanne.conf");
}

} // namespace platform
