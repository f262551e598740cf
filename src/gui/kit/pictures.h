#pragma once

#include "base/core/icons.h"

#include <QIcon>

namespace kit {

// The program's pictures, drawn here so that they are ours and sharp at every size.
QIcon pictureFor(core::IconId id);
QIcon pictureForHandle(quint32 handle);

// The program's own icon, for its windows and the desktop entry; unlike the icon sets it never
// changes.
QIcon appIcon();

// The answers of the presence check: two hearts, one heart, nobody.
enum class Presence { Mutual, OneSided, Nobody };
QIcon presencePicture(Presence answer);

} // namespace kit
