#pragma once

#include "base/core/context.h"
#include "base/core/layout.h"
#include "base/history/history.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace history {

// The two lists, and the tabs that show them.
enum class Which { Sent, Received };

// The history viewer (FrmLog): which tab, the lists or one row in the detail pane, panel 3.
struct HistoryView {
    Which selectedTab = Which::Sent;
    bool detailVisible = false;        // the detail pane with Back and Next; the tabs and lists hidden
    Which shownList = Which::Received; // the list whose row the detail pane shows
    qint32 detailPosition = 0;
    QString detailDate;
    QString detailSendTime;
    QString detailReceiveTime;
    QString detailText;
    bool backEnabled = true;
    bool nextEnabled = true;
    bool clearEnabled = true;
    QString countPanel;
    // Counts the row clicks: each lays the detail pane out anew, while the step buttons keep the
    // label positions the click gave them.
    quint32 detailLayouts = 0;
};
class HistoryWindowModel final : public core::ViewModel<HistoryView> {
public:
    HistoryWindowModel() : ViewModel(QStringLiteral("送受信履歴"), core::IconId::normal(0)) {}
};

// What the history viewer does when its user acts, carried out on the window's model and the two
// history lists. The widget only forwards presses here and shows the model, so every step can be
// checked without a display.
class HistoryViewer final {
public:
    HistoryViewer(core::Context &context, History &history);

    HistoryWindowModel &window() { return m_window; }
    History &history() { return m_history; }

    // The tray menu's history entry: a count for the selected tab, then show. Hiding and showing
    // again keeps whichever view (lists or detail pane) was there.
    void open();
    // The partner started or ended: the caption says when, as its notice gave it.
    void showPartnerTimes(const QString &times);
    void showTab(Which tab);
    // A click on a row of the sent or the received list; `position` counts from 1.
    void openSentRow(qint32 position);
    void openReceivedRow(qint32 position);
    void next();
    void back();
    void ok();
    void clear();
    // The close box only hides: the lists and the view they were left in stay for the next open.
    void closeBox();

private:
    void openRow(Which list, qint32 position);
    // Rows entered or pushed out of `changed` while the detail pane shows one of its rows: the
    // position follows the row shown, and the steps are offered as far as the list now goes.
    void listChanged(const core::HistoryList &changed);
    // Whether Back and Next can step from what `view` shows.
    bool stepsFrom(const HistoryView &view) const;
    core::HistoryList &listOf(Which list) const;
    QString countText(Which tab) const;
    QString detailText(Which list, qint32 position) const;
    void fillDetail(HistoryView &view, const core::HistoryList &list);

    core::Context &m_context;
    History &m_history;
    HistoryWindowModel m_window;
    // The row the detail pane shows, as the list's dropped() + its position then; none before the
    // first row shown here.
    std::optional<qsizetype> m_shownRow;
    QObject m_listWatch; // the lists' signals reach this viewer while it lives
};

// The lists lie inside their page, the labels and the detail text inside the detail pane, everything else in
// the window's client area.
using core::Box;

// Where every control of the viewer is, in twips.
struct HistoryLayout {
    Box tabStrip;
    Box sentPage;
    Box receivedPage;
    Box sentList;
    Box receivedList;
    Box okButton;
    Box clearButton;
    Box picture;
    Box nextButton;
    Box backButton;
    Box detailPane;
    Box detailText;
    Box dateLabel;
    Box sendTimeLabel;
    Box receiveTimeLabel;
};

// A new layout and the steps it could not take. A control refuses a negative width or height; that
// one step is left out, the control keeps its old value, and later steps that read it see the old
// value, as they would on screen.
struct LayoutResult {
    HistoryLayout layout;
    QStringList refused; // "TabStrip1.Height" and the like, in the order tried
};

inline constexpr int kDesignWidth = 5955;
inline constexpr int kDesignHeight = 3540;

// The controls as the window is designed, for a client area of kDesignWidth × kDesignHeight.
HistoryLayout designLayout();
// The client area's width at which a list `listWidth` twips wide has room: the window opens at
// least that wide, so that every column, the message last, is in view at its designed width.
int openingInnerWidth(int listWidth);
// Run on every resize; `innerWidth` and `innerHeight` are the client area's size.
LayoutResult layOutWindow(const HistoryLayout &current, int innerWidth, int innerHeight);
// Run when a row click opens the detail pane. The label widths are those of the labels sized to
// their new texts; the labels are set in one line, and the text box below them. The labels' heights
// are those in `current`.
LayoutResult layOutDetail(const HistoryLayout &current, int innerWidth, int innerHeight, int dateWidth,
                          int sendWidth, int receiveWidth);

} // namespace history
