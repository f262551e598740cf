#include "gui/kit/statusclock.h"

#include "base/text/fields.h"

#include <QEvent>

namespace kit {

StatusClock::StatusClock(QWidget &window, QLabel &datePanel, QLabel &timePanel,
                         std::function<QDateTime()> now)
    : QObject(&window), m_date(datePanel), m_time(timePanel), m_now(std::move(now))
{
    m_timer.setInterval(1000);
    connect(&m_timer, &QTimer::timeout, this, &StatusClock::refresh);
    window.installEventFilter(this);
    refresh();
}

void StatusClock::refresh()
{
    const QDateTime now = m_now();
    m_date.setText(text::shortDate(now.date()));
    m_time.setText(text::shortTime(now.time()));
}

bool StatusClock::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Show) {
        refresh();
        m_timer.start();
    } else if (event->type() == QEvent::Hide) {
        m_timer.stop();
    }
    return QObject::eventFilter(watched, event);
}

} // namespace kit
