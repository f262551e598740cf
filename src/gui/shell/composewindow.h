#pragma once

#include "base/core/options.h"
#include "base/platform/clock.h"
#include "base/send/compose.h"
#include "gui/kit/composelayout.h"
#include "gui/kit/statusclock.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QWidget>

namespace shell {

// The compose window. It shows its model and passes the user's acts on as signals; the behaviour
// lives in the handlers.
class ComposeWindow final : public QWidget {
    Q_OBJECT
public:
    ComposeWindow(send::ComposeWindowModel &model, const core::Options &options, platform::Clock &clock);

    QPlainTextEdit *message = nullptr;
    QPushButton *sendButton = nullptr;
    QPushButton *cancelButton = nullptr;
    QLabel *picture = nullptr;
    QStatusBar *statusBar = nullptr;

    const kit::ComposeLayout &layout() const { return m_layout; }

signals:
    // The close box. The window stays: whoever owns it decides, and only hides it.
    void closeRequested();
    void sendPressed();
    void cancelPressed();
    // Right button on the picture: the call menu, at this point of the screen.
    void callMenuRequested(const QPoint &globalPos);
    // Double click on the picture: a call.
    void callRequested();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void refresh();
    void centre();

    send::ComposeWindowModel &m_model;
    const core::Options &m_options;
    platform::Clock &m_clock;
    kit::ComposeLayout m_layout;
    QLabel *m_weekdayPanel = nullptr;
};

} // namespace shell
