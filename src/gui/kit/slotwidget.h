#pragma once

#include "base/core/windows.h"

#include <QList>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>

namespace kit {

// The widget of a window that unloads: made when the window loads (or at once, when it already
// is), dropped when it unloads. The widget may be the one whose button unloaded it, so it goes
// once the event in hand is over. Whatever is left when the shell goes, loaded or on its way out,
// goes with it: a widget follows its copy's models and must never outlive them.
template <typename Widget> class SlotWidget final {
public:
    SlotWidget(core::WindowSlotBase &slot, QObject &owner, std::function<Widget *()> make)
        : m_state(std::make_shared<State>())
    {
        auto state = m_state;
        if (slot.isLoaded())
            state->widget = make();
        QObject::connect(&slot, &core::WindowSlotBase::loaded, &owner,
                         [state, make] { state->widget = make(); });
        QObject::connect(&slot, &core::WindowSlotBase::unloading, &owner, [state] {
            if (state->widget) {
                state->widget->hide();
                state->widget->deleteLater();
                state->leaving.removeIf([](const QPointer<Widget> &gone) { return gone.isNull(); });
                state->leaving.append(state->widget);
            }
            state->widget = nullptr;
        });
    }
    ~SlotWidget()
    {
        delete m_state->widget.data();
        for (const QPointer<Widget> &widget : std::as_const(m_state->leaving))
            delete widget.data();
    }
    SlotWidget(const SlotWidget &) = delete;
    SlotWidget &operator=(const SlotWidget &) = delete;

    Widget *get() const { return m_state->widget; }

private:
    struct State {
        QPointer<Widget> widget;
        QList<QPointer<Widget>> leaving; // unloaded, deleted once the event in hand is over
    };
    std::shared_ptr<State> m_state;
};

} // namespace kit
