#pragma once

#include <QCoreApplication>

namespace platform {

// Puts Qt's own texts (the buttons of message boxes, the font and colour dialogs, the context
// menus of text boxes) into Japanese, from the Qt translations installed on the system, so that no
// English word is left in a window. Returns false where they are not installed; Qt then speaks
// English and nothing else changes.
bool installQtJapanese(QCoreApplication &app);

} // namespace platform
