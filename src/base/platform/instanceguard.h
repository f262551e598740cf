#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

namespace platform {

// Refuses a second copy that runs from the same program directory. A lock left behind by a copy
// that died is taken over; the port bind stays the second line of defence.
class InstanceGuard final {
public:
    enum class Result {
        Acquired,
        HeldByRunningCopy, // another copy runs from this directory
        NoPermission,      // the lock file cannot be created: the folder is read-only or not ours
        NotWritten,        // the lock file could not be written, for instance on a full disk
    };

    explicit InstanceGuard(const QString &programDir);
    Result tryAcquire();
    // The folder of the lock file, written as the system writes paths.
    QString folder() const;

private:
    QString m_folder;
    std::unique_ptr<QLockFile> m_lock;
};

} // namespace platform
