#pragma once

#include "base/core/context.h"

namespace receive {

// The call signal: a double click sends a call to the partner, whose tray icon then animates until
// the partner turns to the program.
class CallSignal final {
public:
    // Two frames alternate this many times, then a third picture (or one more frame) ends a cycle.
    static constexpr int kAlternations = 10;

    explicit CallSignal(core::Context &context) : m_context(context) {}

    // Double click on Image1: a call of the kind the call menu has checked.
    void sendCall();
    // A call arrived: the animation runs (a second call only changes the kind).
    void callArrived();
    // Timer1: one step of the animation.
    void tick();

private:
    core::Context &m_context;
};

} // namespace receive
