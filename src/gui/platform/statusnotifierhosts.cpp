#include "gui/platform/statusnotifierhosts.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QDBusVariant>

namespace platform {
namespace {

const QString kService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kPath = QStringLiteral("/StatusNotifierWatcher");
const QString kInterface = kService;
// A watcher that does not answer within this is taken as none.
constexpr int kAnswerMs = 5000;

QDBusMessage hostQuestion()
{
    QDBusMessage get = QDBusMessage::createMethodCall(
        kService, kPath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << kInterface << QStringLiteral("IsStatusNotifierHostRegistered");
    return get;
}

// No watcher, or one that cannot tell, is no tray.
bool hostAnswer(const QDBusPendingReply<QDBusVariant> &reply)
{
    return !reply.isError() && reply.value().variant().toBool();
}

} // namespace

StatusNotifierHosts::StatusNotifierHosts(QObject *parent) : QObject(parent)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    auto *watcher = new QDBusServiceWatcher(kService, bus, QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(watcher, &QDBusServiceWatcher::serviceOwnerChanged, this, &StatusNotifierHosts::ask);
    // The watcher announces every host that comes and goes.
    bus.connect(kService, kPath, kInterface, QStringLiteral("StatusNotifierHostRegistered"), this,
                SLOT(ask()));
    bus.connect(kService, kPath, kInterface, QStringLiteral("StatusNotifierHostUnregistered"), this,
                SLOT(ask()));
}

bool StatusNotifierHosts::askNow()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    m_present = bus.isConnected() && hostAnswer(bus.call(hostQuestion(), QDBus::Block, kAnswerMs));
    return m_present;
}

void StatusNotifierHosts::ask()
{
    auto *pending =
        new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(hostQuestion(), kAnswerMs), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *call) {
        call->deleteLater();
        take(hostAnswer(*call));
    });
}

void StatusNotifierHosts::take(bool present)
{
    if (present == m_present)
        return;
    m_present = present;
    emit changed();
}

} // namespace platform
