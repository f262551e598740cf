#pragma once

#include <QString>

namespace platform {

// Yes-or-no settings in an INI file ("[Group]" and "key=true"), which the user may also read and
// edit by hand. `key` is "Group/key".

// The value of `key`, or `fallback` when the file, the key or a readable value is missing.
bool readConfigFlag(const QString &path, const QString &key, bool fallback);
// Sets `key` in the file, keeping every other key there; makes the folder when it is missing.
// False when the file could not be written.
bool writeConfigFlag(const QString &path, const QString &key, bool value);

} // namespace platform
