#include "base/history/historyviewer.h"

#include <algorithm>

namespace history {

HistoryViewer::HistoryViewer(core::Context &context, History &history)
    : m_context(context), m_history(history)
{
    context.menu.setAction(core::MenuId::History, [this] { open(); });
    for (const core::HistoryList *list : {&history.sent(), &history.received()}) {
        const auto changed = [this, list] { listChanged(*list); };
        QObject::connect(list, &core::HistoryList::rowsInserted, &m_listWatch, changed);
        QObject::connect(list, &core::HistoryList::rowsRemoved, &m_listWatch, changed);
    }
}

void HistoryViewer::showPartnerTimes(const QString &times)
{
    m_window.setCaption(QStringLiteral("送受信履歴　（") + times + QStringLiteral("）"));
}

core::HistoryList &HistoryViewer::listOf(Which list) const
{
    return list == Which::Sent ? m_history.sent() : m_history.received();
}

QString HistoryViewer::countText(Which tab) const
{
    if (tab == Which::Sent)
        return QStringLiteral("送信件数： ") + QString::number(m_history.sent().size());
    return QStringLiteral("受信件数： ") + QString::number(m_history.received().size());
}

QString HistoryViewer::detailText(Which list, qint32 position) const
{
    const QString label = list == Which::Sent ? QStringLiteral("送信履歴： ") : QStringLiteral("受信履歴： ");
    return label + QString::number(position) + u'/' + QString::number(listOf(list).size());
}

void HistoryViewer::fillDetail(HistoryView &view, const core::HistoryList &list)
{
    m_shownRow = list.dropped() + view.detailPosition;
    const core::HistoryRow &row = list.at(view.detailPosition);
    view.detailDate = QStringLiteral("DATE： ") + row.date;
    view.detailSendTime = QStringLiteral("送信時間： ") + row.sendTime;
    view.detailReceiveTime = QStringLiteral("受信時間： ") + row.shownRecvTime();
    view.detailText = row.message;
}

void HistoryViewer::open()
{
    m_context.menu.setVisible(core::MenuId::Tray, false);
    m_window.edit([this](HistoryView &v) { v.countPanel = countText(v.selectedTab); });
    m_window.show();
}

void HistoryViewer::showTab(Which tab)
{
    m_window.edit([&](HistoryView &v) {
        v.selectedTab = tab;
        v.countPanel = countText(tab);
    });
}

void HistoryViewer::openSentRow(qint32 position)
{
    openRow(Which::Sent, position);
}

void HistoryViewer::openReceivedRow(qint32 position)
{
    openRow(Which::Received, position);
}

void HistoryViewer::openRow(Which list, qint32 position)
{
    const core::HistoryList &rows = listOf(list);
    if (position < 1 || position > rows.size())
        return;
    m_window.edit([&](HistoryView &v) {
        v.detailPosition = position;
        v.shownList = list;
        fillDetail(v, rows);
        ++v.detailLayouts;
        v.countPanel = detailText(list, position);
        v.detailVisible = true;
        v.backEnabled = position != 1;
        v.nextEnabled = position != rows.size();
        v.clearEnabled = false;
    });
}

void HistoryViewer::listChanged(const core::HistoryList &changed)
{
    const HistoryView &now = m_window.view();
    const core::HistoryList &rows = listOf(now.shownList);
    if (!now.detailVisible || &rows != &changed || !m_shownRow)
        return;
    // 0 once the row shown has been pushed out: Next then shows the oldest row left.
    const auto position = static_cast<qint32>(std::max<qsizetype>(0, *m_shownRow - rows.dropped()));
    const bool back = position > 1;
    const bool next = position < rows.size();
    if (position == now.detailPosition && back == now.backEnabled && next == now.nextEnabled)
        return;
    m_window.edit([&](HistoryView &v) {
        v.detailPosition = position;
        v.backEnabled = back;
        v.nextEnabled = next;
        v.countPanel = detailText(v.shownList, position);
    });
}

bool HistoryViewer::stepsFrom(const HistoryView &view) const
{
    // The steps belong to the detail pane, and the row it shows must still be in its list: a list
    // cleared once the pane was left keeps no row for a step to land on. Position 0 lies before
    // the first row, where the row shown was pushed out.
    return view.detailVisible && view.detailPosition >= 0 &&
           view.detailPosition <= listOf(view.shownList).size();
}

void HistoryViewer::next()
{
    const HistoryView &now = m_window.view();
    // The count is read at each press, so rows entered while the pane is open can be reached.
    const core::HistoryList &rows = listOf(now.shownList);
    if (!stepsFrom(now) || now.detailPosition >= rows.size())
        return;
    m_window.edit([&](HistoryView &v) {
        ++v.detailPosition;
        fillDetail(v, rows);
        v.nextEnabled = v.detailPosition != rows.size();
        v.backEnabled = v.detailPosition > 1;
        v.countPanel = detailText(v.shownList, v.detailPosition);
    });
}

void HistoryViewer::back()
{
    const HistoryView &now = m_window.view();
    if (!stepsFrom(now) || now.detailPosition <= 1)
        return;
    const core::HistoryList &rows = listOf(now.shownList);
    m_window.edit([&](HistoryView &v) {
        --v.detailPosition;
        fillDetail(v, rows);
        v.backEnabled = v.detailPosition != 1;
        v.nextEnabled = true;
        v.countPanel = detailText(v.shownList, v.detailPosition);
    });
}

void HistoryViewer::ok()
{
    if (!m_window.view().detailVisible) {
        m_window.hide();
        return;
    }
    m_window.edit([this](HistoryView &v) {
        v.detailVisible = false;
        v.clearEnabled = true;
        v.countPanel = countText(v.selectedTab);
    });
}

void HistoryViewer::clear()
{
    // The button is offered only while the lists show; a press that reaches here otherwise would
    // leave the detail pane pointing into an emptied list, so it is not taken.
    if (!m_window.view().clearEnabled)
        return;
    listOf(m_window.view().selectedTab).clear();
    m_window.edit([](HistoryView &v) { v.countPanel.clear(); });
}

void HistoryViewer::closeBox()
{
    m_window.hide();
}

HistoryLayout designLayout()
{
    HistoryLayout l;
    l.tabStrip.top = 120;
    l.okButton = {0, 0, 1095, 375};
    l.clearButton = {0, 0, 1095, 375};
    l.picture = {0, 0, 480, 480};
    l.nextButton = {0, 0, 495, 495};
    l.backButton = {0, 0, 495, 495};
    l.detailText.top = 300;
    l.dateLabel = {50, 100, 0, 180};
    l.sendTimeLabel = {0, 100, 0, 180};
    l.receiveTimeLabel = {0, 100, 0, 180};
    return layOutWindow(l, kDesignWidth, kDesignHeight).layout;
}

LayoutResult layOutWindow(const HistoryLayout &current, int innerWidth, int innerHeight)
{
    LayoutResult result{current, {}};
    HistoryLayout &l = result.layout;
    core::LayoutSteps steps(result.refused);

    l.tabStrip.left = 0;
    steps.size(l.tabStrip.height, innerHeight - 520, "TabStrip1.Height");
    steps.size(l.tabStrip.width, innerWidth - 1400, "TabStrip1.Width");

    for (Box *page : {&l.sentPage, &l.receivedPage}) {
        const bool first = page == &l.sentPage;
        page->top = l.tabStrip.top + 330;
        page->left = l.tabStrip.left + 50;
        steps.size(page->width, l.tabStrip.width - 120, first ? "Picture1.Width" : "Picture2.Width");
        steps.size(page->height, l.tabStrip.height - 400, first ? "Picture1.Height" : "Picture2.Height");
    }
    l.sentList = {0, 0, l.sentPage.width, l.sentPage.height};
    l.receivedList = {0, 0, l.receivedPage.width, l.receivedPage.height};

    l.okButton.left = innerWidth - 1200;
    l.okButton.top = innerHeight - 810;
    l.clearButton.left = innerWidth - 1200;
    l.clearButton.top = innerHeight - 1310;
    l.picture.left = innerWidth - 890;
    l.picture.top = innerHeight - 1990;
    l.nextButton.left = innerWidth - 600;
    l.nextButton.top = 300;
    l.backButton.left = innerWidth - 1200;
    l.backButton.top = 300;

    steps.size(l.detailPane.height, innerHeight - 440, "PicLog.Height");
    steps.size(l.detailPane.width, innerWidth - 1400, "PicLog.Width");
    steps.size(l.detailText.width, l.detailPane.width, "TxtLog.Width");
    steps.size(l.detailText.height, l.detailPane.height - l.detailText.top, "TxtLog.Height");
    return result;
}

int openingInnerWidth(int listWidth)
{
    return std::max(kDesignWidth, listWidth + 1400 + 120);
}

LayoutResult layOutDetail(const HistoryLayout &current, int innerWidth, int innerHeight, int dateWidth,
                          int sendWidth, int receiveWidth)
{
    LayoutResult result{current, {}};
    HistoryLayout &l = result.layout;
    core::LayoutSteps steps(result.refused);

    l.detailPane.left = 0;
    l.detailPane.top = 0;
    steps.size(l.detailPane.height, innerHeight - 440, "PicLog.Height");
    steps.size(l.detailPane.width, innerWidth - 1400, "PicLog.Width");
    l.dateLabel.top = 100;
    l.sendTimeLabel.top = 100;
    l.receiveTimeLabel.top = 100;
    // The text starts 300 twips down, or below the labels where their font makes them taller than
    // the 200 twips left for them: the text box must not cover the date and the times.
    const int labels = std::max({l.dateLabel.height, l.sendTimeLabel.height, l.receiveTimeLabel.height});
    l.detailText.left = 0;
    l.detailText.top = std::max(300, 100 + labels);
    steps.size(l.detailText.width, l.detailPane.width, "TxtLog.Width");
    steps.size(l.detailText.height, l.detailPane.height - l.detailText.top, "TxtLog.Height");
    l.dateLabel.left = 50;

    steps.size(l.dateLabel.width, dateWidth, "LblDate.Width");
    steps.size(l.sendTimeLabel.width, sendWidth, "LblSt.Width");
    steps.size(l.receiveTimeLabel.width, receiveWidth, "LblRt.Width");
    l.sendTimeLabel.left = l.dateLabel.left + l.dateLabel.width + 100;
    l.receiveTimeLabel.left = l.sendTimeLabel.left + l.sendTimeLabel.width + 100;
    return result;
}

} // namespace history
