#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QObject>
#include <QString>
#include <QStringView>

namespace platform {

// Failure numbers of the socket layer. They are Winsock's, so that a number a user reads off an
// error box means the same here as on the Windows copies.
namespace socket_error {
constexpr int none = 0;
constexpr int accessDenied = 10013;
constexpr int invalidArgument = 10022;
constexpr int messageTooLong = 10040;
constexpr int addressInUse = 10048;
constexpr int addressNotAvailable = 10049;
constexpr int networkUnreachable = 10051;
constexpr int hostNotFound = 11001;
} // namespace socket_error

// The UDP seam: one receiving socket for the life of the program, and sends that leave from a
// local port of the system's choosing (never the receiving port).
class Transport : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    // Binds the receiving socket. Returns 0 or a failure number (10048: the port is taken).
    virtual int bindReceiver(quint16 port) = 0;
    // Sends `bytes` to `host` (dotted decimal IPv4, or 255.255.255.255) at `port`.
    // Returns 0 or a failure number.
    virtual int send(QStringView host, quint16 port, QByteArrayView bytes) = 0;

signals:
    // One datagram arrived; `sender` is the dotted decimal address it came from.
    void datagramArrived(const QByteArray &bytes, const QString &sender);
};

} // namespace platform
