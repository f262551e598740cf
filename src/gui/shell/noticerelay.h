#pragma once

#include "base/platform/notifications.h"
#include "base/send/notices.h"

#include <QObject>

#include <functional>

namespace shell {

// Where a window cannot appear without taking the keyboard from the one the user types in (a
// Wayland session: the compositor decides, and most give a new window the keyboard), the notices
// of a sent message come as desktop notifications instead, whenever the desktop shows them: a
// keystroke meant for the compose window would otherwise close a notice. Clicking or closing the
// notification is the notice's "OK". Elsewhere, without notifications, or with the user's option
// for them off, they are windows.
class NoticeRelay final : public QObject {
    Q_OBJECT
public:
    // `wanted` tells whether the user wants desktop notifications at all.
    NoticeRelay(send::SendNotices &notices, platform::Notifications &notifications,
                std::function<bool()> wanted, bool windowsTakeKeyboard);

    // Whether a notice loaded now goes to the desktop instead of a window.
    bool relays() const;

private:
    template <typename Model>
    void relay(core::WindowSlot<Model> &slot, platform::NotificationSlot to,
               std::function<QString(const Model &)> body);

    platform::Notifications &m_notifications;
    std::function<bool()> m_wanted;
    bool m_windowsTakeKeyboard;
};

} // namespace shell
