#include "base/core/options.h"

namespace core {

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

} // namespace core
