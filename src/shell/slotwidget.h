#pragma once

#include "core/windows.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>

namespace shell {

// The widget of a window that unloads: made when the window loads (or at once, when it already
// is), dropped when it unloads. The widget may be the one whose button unloaded it, so it goes
// once the event in hand is over.
template <typename Widget>
class SlotWidget final {
public:
    SlotWidget(core::WindowSlotBase &slot, QObject &owner, std::function<Widget *()> make)
        : m_state(std::make_shared<State>())
    {
        auto state = m_state;
        if (slot.isLoaded())
            state->widget = make();
        QObject::connect(&slot, &core::WindowSlotBase::loaded, &owner, [state, make] { state->widget = make(); });
        QObject::connect(&slot, &core::WindowSlotBase::unloading, &owner, [state] {
            if (state->widget)
                state->widget->deleteLater();
            state->widget = nullptr;
        });
    }

    Widget *get() const { return m_state->widget; }

private:
    struct State {
        QPointer<Widget> widget;
    };
    std::shared_ptr<State> m_state;
};

} // namespace shell
