#pragma once

#include "base/core/context.h"
#include "gui/kit/mainlayout.h"
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
class FrmSnd final : public QWidget {
    Q_OBJECT
public:
    struct Actions {
        std::function<bool()> closeBox; // true: stay open (the window only hides)
        std::function<void()> send;
        std::function<void()> cancel;
        std::function<void(QPoint)> callMenu; // right button on Image1
        std::function<void()> call;           // double click on Image1
    };

    FrmSnd(core::Context &context, Actions actions);

    QPlainTextEdit *TxtMsg = nullptr;
    QPushButton *CmdSend = nullptr;
    QPushButton *CmdCancel = nullptr;
    QLabel *Image1 = nullptr;
    QStatusBar *StatusBar1 = nullptr;

    const MainLayout &layout() const { return m_layout; }

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
    MainLayout m_layout;
    QLabel *m_weekdayPanel = nullptr;
};

} // namespace shell
