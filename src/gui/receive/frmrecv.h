#pragma once

#include "base/core/context.h"
#include "base/receive/received.h"
#include "base/receive/recvlayout.h"

#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QWidget>

namespace receive {

// The received-message window: the message above, the reply below, a splitter between them and
// the four answers on the right. It follows its model; the answers are ReceivedWindow's.
class FrmRecv final : public QWidget {
    Q_OBJECT
public:
    FrmRecv(core::Context &context, ReceivedWindow &handlers);

    QPlainTextEdit *Text1 = nullptr;
    QFrame *PicSplitter = nullptr;
    QPlainTextEdit *Text2 = nullptr;
    QPushButton *CmdOPCL = nullptr;
    QPushButton *CmdCancel = nullptr;
    QPushButton *CmdDel = nullptr;
    QPushButton *CmdCback = nullptr;
    QLabel *Image1 = nullptr;
    QLabel *Image2 = nullptr;
    QStatusBar *StatusBar1 = nullptr;

    const RecvLayout &layout() const { return m_layout; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void refresh();
    void applyLayout();
    int innerHeightTwips() const;

    core::Context &m_context;
    ReceivedWindow &m_handlers;
    RecvLayout m_layout;
    QLabel *m_weekdayPanel = nullptr;
    bool m_dragFlag = false;
    QString m_shownText1; // what Text1 holds, as the model had it
};

} // namespace receive
