#include "base/platform/instanceguard.h"

#include <QDir>

namespace platform {

InstanceGuard::InstanceGuard(const QString &programDir)
    : m_folder(programDir),
      m_lock(std::make_unique<QLockFile>(QDir(programDir).filePath(QStringLiteral("miltoanne.lock"))))
{
    m_lock->setStaleLockTime(0);
}

InstanceGuard::Result InstanceGuard::tryAcquire()
{
    if (m_lock->isLocked() || m_lock->tryLock(0))
        return Result::Acquired;
    if (m_lock->error() == QLockFile::LockFailedError) {
        // tryLock has taken over a lock whose process is gone, that dates from before the last
        // boot, or whose process runs a program of another name. What it leaves is a lock whose
        // process id a running program of our name got after the copy that wrote it died. A copy
        // that runs keeps a system lock on its file (flock, or on Windows the open file), so the
        // removal succeeds only when the copy that wrote the file is gone.
        if (m_lock->removeStaleLockFile() && m_lock->tryLock(0))
            return Result::Acquired;
    }
    switch (m_lock->error()) {
    case QLockFile::NoError:
    case QLockFile::LockFailedError:
        return Result::HeldByRunningCopy;
    case QLockFile::PermissionError:
        return Result::NoPermission;
    case QLockFile::UnknownError:
        break;
    }
    return Result::NotWritten;
}

QString InstanceGuard::folder() const
{
    return QDir::toNativeSeparators(m_folder);
}

} // namespace platform
