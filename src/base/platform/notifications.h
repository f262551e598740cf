#pragma once

#include <QObject>
#include <QString>

namespace platform {

// What a desktop notification is about. Each kind has one place on the desktop: the next
// notification of a kind replaces the one shown, and never stands beside it.
enum class NotificationSlot {
    Waiting, // a received message or letter waits to be dealt with
    // The notices of a sent message, where they cannot be windows (see the shell's notice relay).
    SendResult,
    Reaction,
    SmallNotice,
};

// The desktop's notifications (pop-ups, and the list a desktop keeps of them). Posting and
// withdrawing never wait for the desktop: where it has no notifications, nothing happens.
class Notifications : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    // Shows `title` and `body` in the slot's notification, in place of what it showed; it stays
    // until it is withdrawn or the user closes it.
    virtual void post(NotificationSlot slot, const QString &title, const QString &body) = 0;
    // Takes the slot's notification away, if one is shown.
    virtual void withdraw(NotificationSlot slot) = 0;
    // Whether the desktop shows notifications at all, as far as is known yet.
    virtual bool available() const = 0;

signals:
    // The user clicked the slot's notification, or its "開く" button.
    void invoked(platform::NotificationSlot slot);
    // The slot's notification went without being withdrawn: the user closed it, or it expired.
    void dismissed(platform::NotificationSlot slot);
};

} // namespace platform
