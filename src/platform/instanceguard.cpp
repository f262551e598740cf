#include "platform/instanceguard.h"

#include <QDir>

namespace platform {

InstanceGuard::InstanceGuard(const QString &programDir)
    : m_lock(std::make_unique<QLockFile>(QDir(programDir).filePath(QStringLiteral("miltoanne.lock"))))
{
    m_lock->setStaleLockTime(0);
}

bool InstanceGuard::tryAcquire()
{
    return m_lock->isLocked() || m_lock->tryLock(0);
}

} // namespace platform
