#pragma once

#include "base/core/options.h"
#include "base/send/notices.h"

#include <QLabel>
#include <QPushButton>
#include <QWidget>

namespace receive {

// The three notices of what became of a sent message. Each follows its model and unloads its
// window on OK or on its close box; the shell drops the widget with the window.

// The send-result and reaction notices have the same controls.
class NoticeWindow : public QWidget {
    Q_OBJECT
public:
    QLabel *picture = nullptr;
    QLabel *textLabel = nullptr;
    QLabel *dateLabel = nullptr;
    QLabel *timeLabel = nullptr;
    QPushButton *okButton = nullptr;

protected:
    explicit NoticeWindow(core::WindowSlotBase &slot);
    void closeEvent(QCloseEvent *event) override;

private:
    core::WindowSlotBase &m_slot;
};

class SendResultNotice final : public NoticeWindow {
    Q_OBJECT
public:
    SendResultNotice(send::SendNotices &notices, const core::Options &options);
};

class ReactionNotice final : public NoticeWindow {
    Q_OBJECT
public:
    ReactionNotice(send::SendNotices &notices, const core::Options &options);
};

class SmallNotice final : public QWidget {
    Q_OBJECT
public:
    SmallNotice(send::SendNotices &notices, const core::Options &options);
    QLabel *deliveryPicture = nullptr;
    QLabel *reactionPicture = nullptr;
    QLabel *timeLabel = nullptr;
    QPushButton *okButton = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    send::SendNotices &m_notices;
};

} // namespace receive
