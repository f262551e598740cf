#include "base/receive/waitingnotice.h"

#include "base/text/fields.h"

namespace receive {
namespace {
constexpr platform::NotificationSlot kSlot = platform::NotificationSlot::Waiting;
} // namespace

WaitingNotice::WaitingNotice(core::Context &context, receive::Receiving &receiving) : m_context(context)
{
    connect(&receiving, &receive::Receiving::messageWaits, this, &WaitingNotice::post);
    connect(&receiving, &receive::Receiving::waitingChanged, this, [this](bool waits) {
        if (!waits)
            withdraw();
    });
}

QString WaitingNotice::title(const receive::WaitingNote &note)
{
    // The caption keeps a blank after a name; a title stands alone.
    const QString from = note.from.trimmed();
    return from.isEmpty() ? QStringLiteral("受信ﾒｯｾｰｼﾞ") : from;
}

QString WaitingNotice::body(const receive::WaitingNote &note, QDate today)
{
    const QDate day = note.arrivedAt.date();
    // One that waited over an earlier day (kept across an end of the program) says which day.
    const QString when = day == today ? text::hhmm(note.arrivedAt.time())
                                      : text::shortDate(day) + u' ' + text::hhmm(note.arrivedAt.time());
    return when + (note.letter ? QStringLiteral(" に置き手紙が届きました。")
                               : QStringLiteral(" にﾒｯｾｰｼﾞが届きました。"));
}

void WaitingNotice::post(const receive::WaitingNote &note)
{
    if (m_on)
        m_context.services.notifications.post(kSlot, title(note), body(note, m_context.now().date()));
}

void WaitingNotice::setOn(bool on)
{
    m_on = on;
    if (!on)
        withdraw();
}

void WaitingNotice::withdraw()
{
    m_context.services.notifications.withdraw(kSlot);
}

} // namespace receive
