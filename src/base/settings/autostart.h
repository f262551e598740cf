#pragma once

#include "base/core/context.h"

#include <QByteArray>

#include <optional>

namespace settings {

// Starting with the desktop session. The setting is the autostart entry itself, not a field of the
// options file: the entry is there and switched on, or it is not, whoever made it so.

// The program's own desktop entry with Exec naming `programFile` by its full path, and the key
// that has the session start it. None when there is no path to name: the system gives none for a
// program whose folder's name is not valid UTF-8, and a desktop entry holds UTF-8 only.
std::optional<QByteArray> autostartEntry(const QString &programFile);
// Whether an autostart entry's text lets the session start it: the desktop switches an entry off
// with Hidden=true, and GNOME also with X-GNOME-Autostart-enabled=false.
bool autostartEnabled(const QByteArray &entry);
// Whether the autostart entry is there and switched on.
bool startsAtLogin(const core::Context &context);
// Writes the entry, or removes it. A failure is told to the user.
void setStartAtLogin(core::Context &context, bool on);

} // namespace settings
