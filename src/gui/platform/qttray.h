#pragma once

#include "base/platform/tray.h"

#include <QIcon>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

namespace platform {

// The tray icon on the desktop's notification area. Where the desktop has none, a small window
// that stays on top shows the same picture and answers the same two presses, so the program is
// never invisible.
class QtTray final : public Tray {
    Q_OBJECT
public:
    // Gives the picture for an icon handle; it should keep what it draws, the tray asks often.
    using Pictures = std::function<QIcon(quint32 handle)>;
    explicit QtTray(Pictures pictures, QObject *parent = nullptr);
    ~QtTray() override;

    int notify(TrayOp op, const TrayRecord &trayRecord) override;

private:
    void apply(const TrayRecord &trayRecord);
    void remove();

    Pictures m_pictures;
    // What the icon shows now. A record equal to it changes nothing, so it is not applied again.
    std::optional<TrayRecord> m_shown;
    std::unique_ptr<QSystemTrayIcon> m_icon;
    std::unique_ptr<QWidget> m_standIn;
};

} // namespace platform
