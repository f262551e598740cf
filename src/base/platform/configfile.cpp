#include "base/platform/configfile.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace platform {

bool readConfigFlag(const QString &path, const QString &key, bool fallback)
{
    if (path.isEmpty() || !QFileInfo::exists(path))
        return fallback;
    const QSettings config(path, QSettings::IniFormat);
    const QVariant value = config.value(key);
    // Only the words QSettings itself writes count; anything else a hand left there is no answer.
    const QString word = value.toString().trimmed().toLower();
    if (word == u"true")
        return true;
    if (word == u"false")
        return false;
    return fallback;
}

bool writeConfigFlag(const QString &path, const QString &key, bool value)
{
    if (path.isEmpty() || !QDir().mkpath(QFileInfo(path).path()))
        return false;
    QSettings config(path, QSettings::IniFormat);
    config.setValue(key, value);
    config.sync();
    return config.status() == QSettings::NoError;
}

} // namespace platform
