#pragma once

#include "base/core/context.h"
#include "base/receive/receiving.h"

#include <QObject>

namespace receive {

// The desktop notification of a message that waits, for desktops where the tray icon is not seen
// (or not there at all): posted when a message or a letter arrives, naming its sender as the
// received window's caption does and saying what came and when, but never what it says. The next
// arrival replaces it, and it goes once nothing waits any more. Clicking it does what a left click
// on the tray icon does; the copy wires that.
class WaitingNotice final : public QObject {
    Q_OBJECT
public:
    WaitingNotice(core::Context &context, receive::Receiving &receiving);

    // The title and the text of the notification for `note`, on the day `today`.
    static QString title(const receive::WaitingNote &note);
    static QString body(const receive::WaitingNote &note, QDate today);

    bool isOn() const { return m_on; }
    // The user's option. Turned off, the notification shown goes at once and no other comes.
    void setOn(bool on);
    // Takes the notification away: at the end of the copy nothing would answer its buttons (the
    // messages that wait are posted again at the next start).
    void withdraw();

private:
    void post(const receive::WaitingNote &note);

    core::Context &m_context;
    bool m_on = true;
};

} // namespace receive
