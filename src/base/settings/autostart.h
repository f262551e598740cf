#pragma once

#include "base/core/context.h"

#include <QByteArray>

namespace settings {

// Starting with the desktop session. The setting is the autostart entry itself, not a field of the
// options file: the entry is there or it is not, whoever put it there.

// The program's own desktop entry with Exec naming `programFile` by its full path, and the key
// that has the session start it.
QByteArray autostartEntry(const QString &programFile);
// Whether the autostart entry is there.
bool startsAtLogin(const core::Context &context);
// Writes the entry, or removes it. A failure is told to the user.
void setStartAtLogin(core::Context &context, bool on);

} // namespace settings
