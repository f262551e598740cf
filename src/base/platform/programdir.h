#pragma once

#include <QString>

namespace platform {

// Where the data files live: beside the program when the program's directory can be written to
// (a copy run from a folder of its own, as it has always been used), else in the user's data
// directory (an installed program, whose directory belongs to the system), made readable by its
// user alone when the program makes it.
QString dataDirectory(const QString &programDir);

// The desktop entry that starts the program when its user logs in: miltoanne.desktop in the
// XDG autostart folder ($XDG_CONFIG_HOME/autostart, ~/.config/autostart by default). Empty where
// the desktop has no such folder.
QString autostartEntryFile();

// The program's own settings file, for what the options file has no field for (that file keeps
// the layout every copy of the program reads): miltoanne/miltoanne.conf in the user's config folder
// ($XDG_CONFIG_HOME, ~/.config by default). Named after the program, not after the application's
// name, which is the one shown to the user and may change.
QString configFile();

} // namespace platform
