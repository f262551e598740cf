#pragma once

#include <QString>

namespace settings {

// Settings of this program's own that optFile.dat has no field for. They live in the config file
// (core::Services::configFile), so that the options file stays, byte for byte, the one every copy
// of the program reads and writes.

// Whether a message that waits is also told in a desktop notification: on unless turned off.
bool desktopNotificationsOn(const QString &configFile);
// False when the config file could not be written.
bool setDesktopNotificationsOn(const QString &configFile, bool on);

} // namespace settings
