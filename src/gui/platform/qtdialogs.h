#pragma once

#include "base/platform/dialogs.h"

namespace platform {

class QtDialogs final : public Dialogs {
public:
    int messageBox(const QString &text, int style, const QString &title) override;
    std::optional<FontChoice> chooseFont(const FontChoice &initial) override;
    std::optional<quint32> chooseColor(quint32 initial) override;
    void closeAll() override;

private:
    bool m_closed = false;
};

} // namespace platform
