#pragma once

#include "base/platform/clipboard.h"

namespace platform {

class QtClipboard final : public Clipboard {
public:
    bool hasText() const override;
    QString text() const override;
    void clear() override;
};

} // namespace platform
