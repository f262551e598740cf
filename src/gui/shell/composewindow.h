#pragma once

#include "base/core/context.h"
#include "gui/kit/composelayout.h"
#include "gui/kit/statusclock.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QWidget>

#include <functional>

namespace shell {

// The compose window. It shows its model and passes the user's acts on; the behaviour lives in
// the handlers.
class ComposeWindow final : public QWidget {
    Q_OBJECT
public:
    struct Actions {
        std::function<bool()> closeBox; // true: stay open (the window only hides)
        std::function<void()> send;
        std::function<void()> cancel;
        std::function<void(QPoint)> callMenu; // right button on picture
        std::function<void()> call;           // double click on picture
    };

    ComposeWindow(core::Context &context, Actions actions);

    QPlainTextEdit *message = nullptr;
    QPushButton *sendButton = nullptr;
    QPushButton *cancelButton = nullptr;
    QLabel *picture = nullptr;
    QStatusBar *statusBar = nullptr;

    const kit::ComposeLayout &layout() const { return m_layout; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void refresh();
    void centre();

    core::Context &m_context;
    Actions m_actions;
    kit::ComposeLayout m_layout;
    QLabel *m_weekdayPanel = nullptr;
};

} // namespace shell
