#include "core/windows.h"

namespace core {

void WindowModel::show()
{
    if (m_visible)
        return;
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
