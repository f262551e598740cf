#pragma once

#include "base/core/context.h"

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
    QLabel *Image1 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QPushButton *CmdOK = nullptr;

protected:
    explicit NoticeWindow(core::WindowSlotBase &slot);
    void closeEvent(QCloseEvent *event) override;

private:
    core::WindowSlotBase &m_slot;
};

class FrmSndOK final : public NoticeWindow {
    Q_OBJECT
public:
    explicit FrmSndOK(core::Context &context);
};

class FrmRcvOK final : public NoticeWindow {
    Q_OBJECT
public:
    explicit FrmRcvOK(core::Context &context);
};

class FrmSROK final : public QWidget {
    Q_OBJECT
public:
    explicit FrmSROK(core::Context &context);
    QLabel *Image1 = nullptr;
    QLabel *Image2 = nullptr;
    QLabel *Label1 = nullptr;
    QPushButton *Command1 = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    core::Context &m_context;
};

} // namespace receive
