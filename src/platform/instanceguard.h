#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

namespace platform {

// Refuses a second copy that runs from the same program directory. A lock left behind by a copy
// that died is taken over, since its process no longer exists; the port bind stays the second
// line of defence.
class InstanceGuard final {
public:
    explicit InstanceGuard(const QString &programDir);
    bool tryAcquire();

private:
    std::unique_ptr<QLockFile> m_lock;
};

} // namespace platform
