#pragma once

#include <QByteArray>
#include <QObject>
#include <QPoint>

namespace platform {

// The notification-area record. The numbers are those of the Windows record the program has
// always filled, kept so that every tray call carries the same content on every system.
struct TrayRecord {
    static constexpr int tipBytes = 64; // the text part of the 65-byte tip field

    int cbSize = 89; // six 32-bit fields and the 65-byte tip
    int uID = 1;
    int uFlags = 7;             // message, icon and tip are valid
    int uCallbackMessage = 512; // the mouse-move message
    quint32 hIcon = 0;          // an icon id's handle
    QByteArray szTip;           // CP932, at most tipBytes, cut on a character boundary

    friend bool operator==(const TrayRecord &, const TrayRecord &) = default;
};

enum class TrayOp { Add = 0, Modify = 1, Delete = 2 };

// The tray icon. Left and right presses on it are reported as signals.
class Tray : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    // Returns 1 on success and 0 on failure, like the system call it stands for.
    virtual int notify(TrayOp op, const TrayRecord &trayRecord) = 0;

signals:
    void leftPressed();
    void rightPressed(const QPoint &globalPos);
};

} // namespace platform
