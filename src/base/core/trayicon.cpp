#include "base/core/trayicon.h"

#include "base/text/cp932.h"

#include <algorithm>

namespace core {

namespace {
constexpr int kTimerMs = 500;
}

TrayIcon::TrayIcon(platform::Tray &tray, const Options &options) : m_tray(tray), m_options(options)
{
    m_blinkTimer.setInterval(kTimerMs);
    m_callTimer.setInterval(kTimerMs);
    connect(&m_blinkTimer, &QTimer::timeout, this, &TrayIcon::blinkStep);
    connect(&m_callTimer, &QTimer::timeout, this, &TrayIcon::callStep);
}

void TrayIcon::fillRecord()
{
    m_record = platform::TrayRecord{};
    m_record.hIcon = m_picture.handle();
    // The tip field holds 64 bytes; a longer text is cut on a character boundary, never mid-kanji.
    const QString tip = m_options.showsTip() ? m_options.tipText : QString();
    if (tip != m_tipSource || m_tipBytes.isNull()) {
        m_tipBytes = text::cp932Prefix(tip, platform::TrayRecord::tipBytes);
        m_tipSource = tip;
    }
    m_record.szTip = m_tipBytes;
}

int TrayIcon::call(platform::TrayOp op)
{
    m_lastResult = m_tray.notify(op, m_record);
    return m_lastResult;
}

void TrayIcon::add(IconId picture)
{
    m_picture = picture;
    fillRecord();
    call(platform::TrayOp::Add);
}

void TrayIcon::remove()
{
    call(platform::TrayOp::Delete);
    m_callTimer.stop();
    m_blinkTimer.stop();
}

void TrayIcon::show(IconId picture)
{
    m_picture = picture;
    fillRecord();
    call(platform::TrayOp::Modify);
}

IconId TrayIcon::restingPicture() const
{
    const int set = m_options.iconSet();
    return m_messageWaiting ? IconId::received(set) : IconId::normal(set);
}

void TrayIcon::stopAnimations(bool blinkToo)
{
    for (QTimer *animation : {&m_callTimer, blinkToo ? &m_blinkTimer : nullptr}) {
        if (animation != nullptr && animation->isActive()) {
            animation->stop();
            show(restingPicture());
        }
    }
}

void TrayIcon::blinkStep()
{
    IconId picture = m_picture;
    if (m_phase == 0) {
        m_phase = 1;
        picture = IconId::received(m_options.iconSet());
    } else if (m_phase == 1) {
        m_phase = 0;
        picture = IconId::normal(m_options.iconSet());
    }
    show(picture);
}

void TrayIcon::callStep()
{
    const bool person = m_callByPerson;
    IconId picture = m_picture;
    if (m_phase == 0) {
        m_phase = 1;
        picture = IconId::callFrame(person ? 2 : 5);
        // The blink shares the phase and can keep this animation from ever seeing the second
        // phase, where a cycle ends; the count stops at a cycle's length instead of growing.
        m_callCount = std::min(m_callCount + 1, kCallAlternations);
    } else if (m_phase == 1) {
        m_phase = 0;
        picture = IconId::callFrame(person ? 3 : 6);
        if (m_callCount >= kCallAlternations) {
            m_callCount = 0;
            m_phase = 2;
        }
    } else if (m_phase == 2) {
        m_phase = 0;
        if (person)
            picture = IconId::callFrame(4);
    }
    show(picture);
}

} // namespace core
