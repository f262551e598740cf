#include "base/settings/programconfig.h"

#include "base/platform/configfile.h"

namespace settings {
namespace {

const QString kDesktopNotifications = QStringLiteral("Notifications/Desktop");

} // namespace

bool desktopNotificationsOn(const QString &configFile)
{
    return platform::readConfigFlag(configFile, kDesktopNotifications, true);
}

bool setDesktopNotificationsOn(const QString &configFile, bool on)
{
    return platform::writeConfigFlag(configFile, kDesktopNotifications, on);
}

} // namespace settings
