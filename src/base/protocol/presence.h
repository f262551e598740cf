#pragma once

#include "base/core/options.h"
#include "base/core/partnerrecord.h"
#include "base/core/trayicon.h"
#include "base/platform/clock.h"
#include "base/protocol/arrival.h"
#include "base/protocol/dispatch.h"
#include "base/protocol/send.h"

#include <QObject>

namespace protocol {

// Whether the other side runs: the presence check's answer, and the start and end notices both
// ways. It keeps the copy's start time, which all three carry.
class Presence final : public QObject {
    Q_OBJECT
public:
    Presence(Outbox &outbox, platform::Clock &clock, const core::RegisteredPartner &partner,
             const core::Options &options, core::TrayIcon &tray);

    // Answers presence checks and takes the partner's start and end notices.
    void plugInto(Dispatcher &dispatcher);
    // The copy started now; the start notice goes with `announce()`.
    void started();
    // The start notice to the partner.
    void announce();
    void endNotice();
    const QString &startTime() const { return m_startTime; }

    // "存在確認" arrived: answer with our start time, saying whether the asker is our partner.
    void answer(const Arrival &request);
    // The partner's start or end notice arrived.
    void noticeArrived(const Arrival &notice, bool started);

signals:
    // The partner started or ended; `times` is what its notice says of when.
    void partnerCameOrWent(const QString &times);

private:
    Outbox &m_outbox;
    platform::Clock &m_clock;
    const core::RegisteredPartner &m_partner;
    const core::Options &m_options;
    core::TrayIcon &m_tray;
    QString m_startTime;
};

} // namespace protocol
