#pragma once

#include <QString>

namespace core {

// The program's name, the title of its boxes.
inline const QString kProductName = QStringLiteral("ミルトアンヌ");
inline const QString kErrorTitle = QStringLiteral("ｴﾗｰ確認");

} // namespace core
