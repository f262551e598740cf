#include "gui/platform/dbusnotifications.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>

namespace platform {

// A picture as the "image-data" hint carries it: rows of 8-bit RGBA.
struct NotificationPicture {
    int width = 0;
    int height = 0;
    int rowStride = 0;
    bool hasAlpha = true;
    int bitsPerSample = 8;
    int channels = 4;
    QByteArray data;
};

QDBusArgument &operator<<(QDBusArgument &argument, const NotificationPicture &picture)
{
    argument.beginStructure();
    argument << picture.width << picture.height << picture.rowStride << picture.hasAlpha
             << picture.bitsPerSample << picture.channels << picture.data;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, NotificationPicture &picture)
{
    argument.beginStructure();
    argument >> picture.width >> picture.height >> picture.rowStride >> picture.hasAlpha >>
        picture.bitsPerSample >> picture.channels >> picture.data;
    argument.endStructure();
    return argument;
}

} // namespace platform

Q_DECLARE_METATYPE(platform::NotificationPicture)

namespace platform {
namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = kService;
// The program's desktop entry and its icon's name.
const QString kDesktopEntry = QStringLiteral("miltoanne");
const QString kOpenAction = QStringLiteral("open");
const QString kDefaultAction = QStringLiteral("default");

QDBusMessage call(const QString &method)
{
    return QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
}

NotificationPicture pictureOf(const QImage &image)
{
    const QImage rgba = image.convertToFormat(QImage::Format_RGBA8888);
    NotificationPicture picture;
    picture.width = rgba.width();
    picture.height = rgba.height();
    picture.rowStride = static_cast<int>(rgba.bytesPerLine());
    picture.data = QByteArray(reinterpret_cast<const char *>(rgba.constBits()), rgba.sizeInBytes());
    return picture;
}

} // namespace

DBusNotifications::DBusNotifications(QString appName, const QImage &picture, QObject *parent)
    : Notifications(parent), m_appName(std::move(appName))
{
    qDBusRegisterMetaType<NotificationPicture>();
    if (!picture.isNull())
        m_picture = QVariant::fromValue(pictureOf(picture));
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    bus.connect(kService, kPath, kInterface, QStringLiteral("NotificationClosed"), this,
                SLOT(closed(uint, uint)));
    bus.connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                SLOT(actionInvoked(uint, QString)));
    // A server that starts or restarts knows none of the numbers given before, and may keep
    // notifications differently.
    auto *watcher = new QDBusServiceWatcher(kService, bus, QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(watcher, &QDBusServiceWatcher::serviceOwnerChanged, this, [this] {
        for (auto &[slot, shown] : m_shown)
            shown.id = 0;
        askCapabilities();
    });
    askCapabilities();
}

void DBusNotifications::askCapabilities()
{
    auto *pending = new QDBusPendingCallWatcher(
        QDBusConnection::sessionBus().asyncCall(call(QStringLiteral("GetCapabilities"))), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *answer) {
        answer->deleteLater();
        const QDBusPendingReply<QStringList> capabilities = *answer;
        m_available = !capabilities.isError();
        m_resident = m_available && capabilities.value().contains(QStringLiteral("persistence"));
    });
}

void DBusNotifications::post(NotificationSlot slot, const QString &title, const QString &body)
{
    if (!QDBusConnection::sessionBus().isConnected())
        return;
    Shown &shown = m_shown[slot];
    // Until the server has numbered the last one, a new one would stand beside it: it waits.
    if (shown.asking) {
        shown.next = Content{title, body};
        shown.withdrawNext = false;
        return;
    }
    notify(slot, {title, body});
}

void DBusNotifications::notify(NotificationSlot slot, const Content &content)
{
    Shown &shown = m_shown[slot];
    const bool waiting = slot == NotificationSlot::Waiting;
    QVariantMap hints{
        {QStringLiteral("desktop-entry"), kDesktopEntry},
        {QStringLiteral("category"), waiting ? QStringLiteral("im.received") : QStringLiteral("im")}};
    if (m_picture.isValid())
        hints.insert(QStringLiteral("image-data"), m_picture);
    // Kept after a click: the message still waits until it is read, answered or closed.
    if (m_resident && waiting)
        hints.insert(QStringLiteral("resident"), true);
    const QString open = QStringLiteral("開く");
    // A notice only tells; clicking it is its "OK".
    const QStringList actions = waiting ? QStringList{kDefaultAction, open, kOpenAction, open}
                                        : QStringList{kDefaultAction, QStringLiteral("OK")};
    QDBusMessage message = call(QStringLiteral("Notify"));
    message << m_appName << shown.id << kDesktopEntry << content.title << content.body << actions
            << hints
            // A waiting message's stays until it is withdrawn; a notice's as long as the desktop keeps one.
            << qint32(waiting ? 0 : -1);
    shown.asking = true;
    auto *pending = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(message), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this, [this, slot](QDBusPendingCallWatcher *answer) {
        answer->deleteLater();
        const QDBusPendingReply<uint> id = *answer;
        answered(slot, id.isError() ? std::nullopt : std::optional<uint>(id.value()));
    });
}

void DBusNotifications::answered(NotificationSlot slot, std::optional<uint> id)
{
    Shown &shown = m_shown[slot];
    shown.asking = false;
    shown.id = id.value_or(0);
    if (shown.withdrawNext) {
        shown.withdrawNext = false;
        withdraw(slot);
    } else if (shown.next) {
        const Content next = *shown.next;
        shown.next.reset();
        notify(slot, next);
    }
}

void DBusNotifications::withdraw(NotificationSlot slot)
{
    const auto found = m_shown.find(slot);
    if (found == m_shown.end())
        return;
    Shown &shown = found->second;
    if (shown.asking) {
        shown.next.reset();
        shown.withdrawNext = true;
        return;
    }
    if (shown.id == 0)
        return;
    QDBusMessage message = call(QStringLiteral("CloseNotification"));
    message << shown.id;
    shown.id = 0;
    QDBusConnection::sessionBus().send(message);
}

void DBusNotifications::closed(uint id, uint reason)
{
    // Closed by the user, or expired after all: the next post makes a new one. (Reason 3 is our own
    // CloseNotification, whose id is already forgotten.)
    for (auto &[slot, shown] : m_shown) {
        if (id != 0 && shown.id == id) {
            shown.id = 0;
            if (reason != 3)
                emit dismissed(slot);
        }
    }
}

void DBusNotifications::actionInvoked(uint id, const QString &action)
{
    if (id == 0 || (action != kDefaultAction && action != kOpenAction))
        return;
    for (const auto &[slot, shown] : m_shown) {
        if (shown.id == id) {
            emit invoked(slot);
            return;
        }
    }
}

} // namespace platform
