#pragma once

#include <QDateTime>
#include <QLabel>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace kit {

// The date and time panels of a window's status bar. They follow the clock only while the window
// is shown, so a hidden window costs no timer.
class StatusClock final : public QObject {
    Q_OBJECT
public:
    StatusClock(QWidget &window, QLabel &datePanel, QLabel &timePanel, std::function<QDateTime()> now);

    void refresh();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLabel &m_date;
    QLabel &m_time;
    std::function<QDateTime()> m_now;
    QTimer m_timer;
};

} // namespace kit
