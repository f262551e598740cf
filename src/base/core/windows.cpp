#include "base/core/windows.h"

namespace core {

void WindowModel::setCaption(const QString &caption)
{
    if (m_caption == caption)
        return;
    m_caption = caption;
    emit changed();
}

void WindowModel::setIcon(IconId icon)
{
    if (m_icon == icon)
        return;
    m_icon = icon;
    emit changed();
}

void WindowModel::show()
{
    // A window shown again is placed and raised again, so the signal comes every time.
    m_visible = true;
    emit visibilityChanged(true);
}

void WindowModel::hide()
{
    if (!m_visible)
        return;
    m_visible = false;
    emit visibilityChanged(false);
}

} // namespace core
