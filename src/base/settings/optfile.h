#pragma once

#include "base/core/context.h"

#include <QByteArray>

namespace settings {

// What reading the options file found.
enum class OptionsFileState {
    Missing, // no file: the defaults stay
    Foreign, // the first field is not the marker: the defaults stay
    Read,    // the groups the file holds were read over the defaults
};

// Reads the options file's bytes over `opt` (which holds the defaults). The file is read group by
// group; a shorter file leaves the later groups at their defaults, and a field that cannot be
// read keeps its default.
OptionsFileState parseOptions(const QByteArray &bytes, core::Options &opt);
// The whole record as the options file's bytes.
QByteArray formatOptions(const core::Options &opt);

// Start-up: defaults, then the file, then the settings that act only at start-up (random icon,
// icon set, start lock). A foreign file is reported once. What a save cut off by a crash left
// beside the file is removed first.
void readOptionsFile(core::Context &context);
// Writes the whole record. A full disk offers Retry and Cancel, any other failure is told; either
// way the previous file stays as it was. Returns true when the file was written.
bool writeOptionsFile(core::Context &context);

} // namespace settings
