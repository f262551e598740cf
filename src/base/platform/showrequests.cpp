#include "base/platform/showrequests.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>

namespace platform {
namespace {

// What a second start writes; anything else on the socket is not ours and is ignored.
const QByteArray kShow = QByteArrayLiteral("show\n");
constexpr int kWaitMs = 1000;

// One socket per program directory, in the user's runtime folder (the user's alone): a path in the
// program directory itself could pass the length a socket's path may have, and the data folder
// may lie on a network share. Without a runtime folder the socket goes where Qt puts local
// sockets, the temporary folder, open to its owner only.
QString socketName(const QString &programDir)
{
    const QByteArray folder = QDir(programDir).canonicalPath().toUtf8();
    const QString name =
        QStringLiteral("miltoanne-") +
        QString::fromLatin1(QCryptographicHash::hash(folder, QCryptographicHash::Sha256).toHex().left(16));
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        return QDir(QDir::tempPath()).filePath(name);
    return QDir(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation)).filePath(name);
}

} // namespace

ShowRequests::ShowRequests(const QString &programDir, QObject *parent)
    : QObject(parent), m_name(socketName(programDir))
{
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *caller = m_server.nextPendingConnection()) {
            connect(caller, &QLocalSocket::disconnected, caller, &QObject::deleteLater);
            connect(caller, &QLocalSocket::readyRead, this, [this, caller] {
                if (!caller->canReadLine())
                    return;
                if (caller->readLine(kShow.size() + 1) == kShow)
                    emit showRequested();
                caller->disconnectFromServer();
            });
        }
    });
}

bool ShowRequests::listen()
{
    if (m_server.isListening())
        return true;
    // Only the copy that holds the lock gets here: a socket of that name is a dead copy's.
    QLocalServer::removeServer(m_name);
    return m_server.listen(m_name);
}

bool ShowRequests::askRunningCopy() const
{
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(kWaitMs))
        return false;
    socket.write(kShow);
    const bool written = socket.waitForBytesWritten(kWaitMs);
    socket.disconnectFromServer();
    return written;
}

} // namespace platform
