#pragma once

#include "base/core/context.h"
#include "base/protocol/arrival.h"

namespace receive {

// The call signal: a double click sends a call to the partner, whose tray icon then animates until
// the partner turns to the program.
class CallSignal final {
public:
    // Two frames alternate this many times, then a third picture (or one more frame) ends a cycle.
    static constexpr int kAlternations = 10;

    explicit CallSignal(core::Context &context) : m_context(context) {}

    // Double click on the compose window's picture: a call of the kind the call menu has checked.
    void sendCall();
    // A call arrived: from the partner, the animation runs (a second call only changes the kind);
    // anyone else's call is not taken, as the partner's start and end notices alone are.
    void callArrived(const protocol::Arrival &arrival);
    // Every datagram, of whatever kind: the animation shows a person while the last one that
    // arrived has "1" as its twelfth character, a telephone otherwise. A call says its kind there;
    // a message that arrives during the animation turns it to the telephone.
    void noteArrival(const protocol::Arrival &arrival);
    // callAnimationTimer: one step of the animation.
    void tick();

private:
    core::Context &m_context;
    bool m_byPerson = false;
};

} // namespace receive
