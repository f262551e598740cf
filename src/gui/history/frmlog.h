#pragma once

#include "base/core/context.h"
#include "base/history/viewer.h"

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
// the LogViewer, and what the window shows comes from its model.
class FrmLog final : public QWidget {
    Q_OBJECT
public:
    FrmLog(core::Context &context, LogViewer &viewer, QWidget *parent = nullptr);

    // Where the controls are, in twips, after the last layout.
    const LogLayout &layout() const { return m_layout; }

    QTabBar *TabStrip1 = nullptr;
    QFrame *Picture1 = nullptr;
    QFrame *Picture2 = nullptr;
    QTreeView *LvLog = nullptr;
    QTreeView *LvrcvLog = nullptr;
    QFrame *PicLog = nullptr;
    QLabel *LblDate = nullptr;
    QLabel *LblSt = nullptr;
    QLabel *LblRt = nullptr;
    QPlainTextEdit *TxtLog = nullptr;
    QPushButton *CmdBack = nullptr;
    QPushButton *CmdNext = nullptr;
    QPushButton *CmdClear = nullptr;
    QPushButton *CmdOK = nullptr;
    QStatusBar *StatusBar1 = nullptr;
    QLabel *Image1 = nullptr;
    QLabel *LblCnt = nullptr;

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
    LogViewer &m_viewer;
    LogLayout m_layout;
    quint32 m_detailLayoutsSeen = 0;
    QFrame *m_stripFrame = nullptr; // the frame the tab strip draws round its pages
    QLabel *m_textPanel = nullptr;
};

} // namespace history
