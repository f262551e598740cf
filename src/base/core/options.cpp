#include "base/core/options.h"

#include "base/core/icons.h"

namespace core {

int Options::iconSet() const
{
    bool ok = false;
    const int set = iconNo.trimmed().toInt(&ok);
    return ok && set >= 0 && set < kIconSets ? set : 0;
}

bool truthOf(const QString &value)
{
    const QString v = value.trimmed();
    if (v.compare(u"True", Qt::CaseInsensitive) == 0)
        return true;
    if (v.compare(u"False", Qt::CaseInsensitive) == 0)
        return false;
    bool ok = false;
    const double n = v.toDouble(&ok);
    return ok && n != 0;
}

WindowPosition windowPositionOf(bool center, bool rightUp, bool rightLow, bool leftUp, bool leftLow)
{
    if (leftLow)
        return WindowPosition::LeftLow;
    if (leftUp)
        return WindowPosition::LeftUp;
    if (rightLow)
        return WindowPosition::RightLow;
    if (rightUp)
        return WindowPosition::RightUp;
    return center ? WindowPosition::Center : WindowPosition::Unset;
}

void Options::setWindowPosition(WindowPosition position)
{
    posCenter = position == WindowPosition::Center;
    posRightUp = position == WindowPosition::RightUp;
    posRightLow = position == WindowPosition::RightLow;
    posLeftUp = position == WindowPosition::LeftUp;
    posLeftLow = position == WindowPosition::LeftLow;
}

} // namespace core
