#pragma once

#include "base/core/context.h"
#include "base/history/historyviewer.h"

#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTabBar>
#include <QTreeView>
#include <QWidget>

namespace history {

// The history viewer window. It shows the two history lists straight from their models, so a long
// run's hundred thousand rows cost one view each and no widget per row; what the user does goes to
// the HistoryViewer, and what the window shows comes from its model.
class HistoryWindow final : public QWidget {
    Q_OBJECT
public:
    HistoryWindow(core::Context &context, HistoryViewer &viewer, QWidget *parent = nullptr);

    // Where the controls are, in twips, after the last layout.
    const HistoryLayout &layout() const { return m_layout; }

    QTabBar *tabStrip = nullptr;
    QFrame *sentPage = nullptr;
    QFrame *receivedPage = nullptr;
    QTreeView *sentList = nullptr;
    QTreeView *receivedList = nullptr;
    QFrame *detailPane = nullptr;
    QLabel *dateLabel = nullptr;
    QLabel *sendTimeLabel = nullptr;
    QLabel *receiveTimeLabel = nullptr;
    QPlainTextEdit *detailText = nullptr;
    QPushButton *backButton = nullptr;
    QPushButton *nextButton = nullptr;
    QPushButton *clearButton = nullptr;
    QPushButton *okButton = nullptr;
    QStatusBar *statusBar = nullptr;
    QLabel *picture = nullptr;
    QLabel *countLabel = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildLists();
    void buildDetailPane();
    void buildButtons();
    void buildStatusBar();
    QTreeView *makeList(QFrame *page, core::HistoryList &rows, const char *name,
                        std::initializer_list<int> widths, int centredColumn);
    void refresh();
    void sizeLabels();
    void applyLayout();

    core::Context &m_context;
    HistoryViewer &m_viewer;
    HistoryLayout m_layout;
    quint32 m_detailLayoutsSeen = 0;
    QFrame *m_stripFrame = nullptr; // the frame the tab strip draws round its pages
    QLabel *m_textPanel = nullptr;
};

} // namespace history
