#pragma once

#include "base/core/context.h"
#include "base/receive/receivedlayout.h"
#include "base/receive/receivedmessage.h"

#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QWidget>

namespace receive {

// The received-message window: the message above, the reply below, a splitter between them and
// the four answers on the right. It follows its model; the answers are ReceivedMessage's.
class ReceivedWindow final : public QWidget {
    Q_OBJECT
public:
    ReceivedWindow(ReceivedWindowModel &model, core::Context &context, ReceivedMessage &handlers);

    QPlainTextEdit *message = nullptr;
    QFrame *splitter = nullptr;
    QPlainTextEdit *reply = nullptr;
    QPushButton *openCloseButton = nullptr;
    QPushButton *holdButton = nullptr;
    QPushButton *closeButton = nullptr;
    QPushButton *replyButton = nullptr;
    QLabel *normalPicture = nullptr;
    QLabel *receivedPicture = nullptr;
    QStatusBar *statusBar = nullptr;

    const ReceivedLayout &layout() const { return m_layout; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void refresh();
    void applyLayout();
    int innerHeightTwips() const;

    ReceivedWindowModel &m_model;
    core::Context &m_context;
    ReceivedMessage &m_handlers;
    ReceivedLayout m_layout;
    QLabel *m_weekdayPanel = nullptr;
    bool m_dragFlag = false;
    QString m_shownMessage; // what message holds, as the model had it
};

} // namespace receive
