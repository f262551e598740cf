#pragma once

#include <QObject>

namespace platform {

// Follows the StatusNotifierWatcher on the session bus, where the icons of a D-Bus tray register:
// whether it runs and whether a host (the panel that draws the registered icons) has registered
// with it. Only both together show an icon. A panel that restarts or is removed takes the host
// away, and on many desktops the watcher with it.
class StatusNotifierHosts final : public QObject {
    Q_OBJECT
public:
    explicit StatusNotifierHosts(QObject *parent = nullptr);

    // Asks the watcher and waits for its answer; for the start, when there is nothing to go on.
    bool askNow();
    bool present() const { return m_present; }

signals:
    void changed();

private slots:
    // Asks the watcher again; the answer arrives later and emits `changed` if it differs.
    void ask();

private:
    void take(bool present);

    bool m_present = false;
};

} // namespace platform
