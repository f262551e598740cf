#include "platform/programdir.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace platform {

QString dataDirectory(const QString &programDir)
{
    if (QFileInfo(programDir).isWritable())
        return programDir;
    const QString userData = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(userData);
    return userData;
}

} // namespace platform
