#pragma once

#include "base/platform/notifications.h"

#include <QImage>
#include <QStringList>
#include <QVariant>

#include <map>
#include <optional>

namespace platform {

// The desktop's notification server (org.freedesktop.Notifications) on the session bus. Every call
// is asynchronous: a desktop without a server, or without a session bus, costs nothing and never
// holds up the windows.
class DBusNotifications final : public Notifications {
    Q_OBJECT
public:
    // `appName` is what the notifications say they come from; `picture` is shown with them, since
    // the desktop knows the program's icon by name only where the program is installed.
    DBusNotifications(QString appName, const QImage &picture, QObject *parent = nullptr);

    void post(NotificationSlot slot, const QString &title, const QString &body) override;
    void withdraw(NotificationSlot slot) override;
    bool available() const override { return m_available; }

private slots:
    void closed(uint id, uint reason);
    void actionInvoked(uint id, const QString &action);
    void askCapabilities();

private:
    struct Content {
        QString title;
        QString body;
    };
    // A slot's notification on the desktop.
    struct Shown {
        uint id = 0;         // the server's number for it; 0 while none is shown
        bool asking = false; // a Notify is on its way and its number not yet known
        // What to do once that number is known: post this in place of it, or withdraw it.
        std::optional<Content> next;
        bool withdrawNext = false;
    };
    void notify(NotificationSlot slot, const Content &content);
    void answered(NotificationSlot slot, std::optional<uint> id);

    QString m_appName;
    QVariant m_picture;       // the "image-data" hint; none for a null picture
    bool m_resident = false;  // the server keeps notifications until they are closed
    bool m_available = false; // a server has answered
    std::map<NotificationSlot, Shown> m_shown;
};

} // namespace platform
