#pragma once

#include <QString>

namespace platform {

// Who and where this copy runs, for the answer to a user search.
class Identity {
public:
    virtual ~Identity() = default;
    virtual QString loginName() const = 0;
    virtual QString hostName() const = 0;
};

class SystemIdentity final : public Identity {
public:
    QString loginName() const override;
    QString hostName() const override;
};

} // namespace platform
