#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QObject>
#include <QStringList>

namespace testkit {

// The panel's side of the tray, as a desktop runs it: items register here, and a host shows
// them.
class Watcher final : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ items)
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ hostRegistered)
    Q_PROPERTY(int ProtocolVersion READ protocolVersion)
public:
    static inline const QString kService = QStringLiteral("org.kde.StatusNotifierWatcher");
    static inline const QString kPath = QStringLiteral("/StatusNotifierWatcher");

    explicit Watcher(const QDBusConnection &bus)
        : m_gone(QString(), bus, QDBusServiceWatcher::WatchForUnregistration)
    {
        connect(&m_gone, &QDBusServiceWatcher::serviceUnregistered, this, [this](const QString &service) {
            m_items.removeAll(service);
            m_gone.removeWatchedService(service);
            emit StatusNotifierItemUnregistered(service);
        });
    }
    QStringList items() const { return m_items; }
    bool hostRegistered() const { return m_host; }
    // The panel that draws the icons goes or comes back; the watcher itself stays.
    void setHost(bool present)
    {
        m_host = present;
        if (present)
            emit StatusNotifierHostRegistered();
        else
            emit StatusNotifierHostUnregistered();
    }
    int protocolVersion() const { return 0; }
    int registrations = 0;

public slots:
    void RegisterStatusNotifierItem(const QString &service)
    {
        // An item names its bus name, or an object path on the connection it calls from.
        const QString item = service.startsWith(u'/') ? message().service() : service;
        ++registrations;
        if (!m_items.contains(item)) {
            m_items << item;
            m_gone.addWatchedService(item);
        }
        emit StatusNotifierItemRegistered(item);
    }
    void RegisterStatusNotifierHost(const QString &) { emit StatusNotifierHostRegistered(); }

signals:
    void StatusNotifierItemRegistered(const QString &service);
    void StatusNotifierItemUnregistered(const QString &service);
    void StatusNotifierHostRegistered();
    void StatusNotifierHostUnregistered();

private:
    QStringList m_items;
    bool m_host = true;
    QDBusServiceWatcher m_gone;
};

} // namespace testkit
