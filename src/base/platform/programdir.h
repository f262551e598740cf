#pragma once

#include <QString>

namespace platform {

// Where the data files live: beside the program when the program's directory can be written to
// (a copy run from a folder of its own, as it has always been used), else in the user's data
// directory (an installed program, whose directory belongs to the system), made readable by its
// user alone when the program makes it.
QString dataDirectory(const QString &programDir);

} // namespace platform
