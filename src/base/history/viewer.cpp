#include "base/history/viewer.h"

namespace history {

LogViewer::LogViewer(core::Context &context) : m_context(context) {}

core::HistoryList &LogViewer::listOf(const QString &shownList) const
{
    // Anything but the sent list's mark means the received list.
    return shownList == kSentList ? m_context.LvLog : m_context.LvrcvLog;
}

QString LogViewer::countText(const QString &tabKey) const
{
    if (tabKey == kSentTab)
        return QStringLiteral("送信件数： ") + QString::number(m_context.LvLog.size());
    return QStringLiteral("受信件数： ") + QString::number(m_context.LvrcvLog.size());
}

QString LogViewer::detailText(const QString &shownList, qint32 position) const
{
    const QString label =
        shownList == kSentList ? QStringLiteral("送信履歴： ") : QStringLiteral("受信履歴： ");
    return label + QString::number(position) + u'/' + QString::number(listOf(shownList).size());
}

void LogViewer::fillDetail(core::LogView &view, const core::HistoryList &list) const
{
    const core::HistoryRow &row = list.at(view.detailPos);
    view.lblDate = QStringLiteral("DATE： ") + row.date;
    view.lblSt = QStringLiteral("送信時間： ") + row.sendTime;
    view.lblRt = QStringLiteral("受信時間： ") + row.recvTime;
    view.txtLog = row.message;
}

void LogViewer::open()
{
    m_context.menu.setVisible(core::MenuId::Tray, false);
    m_context.frmLog.edit([this](core::LogView &v) { v.panel3 = countText(v.selectedTab); });
    m_context.frmLog.show();
}

void LogViewer::tabClick(const QString &key)
{
    m_context.frmLog.edit([&](core::LogView &v) {
        v.selectedTab = key;
        v.panel3 = countText(key);
    });
}

void LogViewer::sentRowClick(qint32 position)
{
    rowClick(kSentList, position);
}

void LogViewer::receivedRowClick(qint32 position)
{
    rowClick(kReceivedList, position);
}

void LogViewer::rowClick(const QString &list, qint32 position)
{
    const core::HistoryList &rows = listOf(list);
    if (position < 1 || position > rows.size())
        return;
    m_context.frmLog.edit([&](core::LogView &v) {
        v.detailPos = position;
        v.shownList = list;
        fillDetail(v, rows);
        ++v.detailLayouts;
        v.panel3 = detailText(list, position);
        v.detailVisible = true;
        v.cmdBackEnabled = position != 1;
        v.cmdNextEnabled = position != rows.size();
        v.cmdClearEnabled = false;
    });
}

bool LogViewer::stepsFrom(const core::LogView &view) const
{
    // The steps belong to the detail pane, and the row it shows must still be in its list: a list
    // cleared once the pane was left keeps no row for a step to land on.
    return view.detailVisible && view.detailPos >= 1 && view.detailPos <= listOf(view.shownList).size();
}

void LogViewer::next()
{
    const core::LogView &now = m_context.frmLog.view();
    // The count is read at each press, so rows entered while the pane is open can be reached.
    const core::HistoryList &rows = listOf(now.shownList);
    if (!stepsFrom(now) || now.detailPos >= rows.size())
        return;
    m_context.frmLog.edit([&](core::LogView &v) {
        ++v.detailPos;
        fillDetail(v, rows);
        v.cmdNextEnabled = v.detailPos != rows.size();
        v.cmdBackEnabled = true;
        v.panel3 = detailText(v.shownList, v.detailPos);
    });
}

void LogViewer::back()
{
    const core::LogView &now = m_context.frmLog.view();
    if (!stepsFrom(now) || now.detailPos <= 1)
        return;
    const core::HistoryList &rows = listOf(now.shownList);
    m_context.frmLog.edit([&](core::LogView &v) {
        --v.detailPos;
        fillDetail(v, rows);
        v.cmdBackEnabled = v.detailPos != 1;
        v.cmdNextEnabled = true;
        v.panel3 = detailText(v.shownList, v.detailPos);
    });
}

void LogViewer::ok()
{
    if (!m_context.frmLog.view().detailVisible) {
        m_context.frmLog.hide();
        return;
    }
    m_context.frmLog.edit([this](core::LogView &v) {
        v.detailVisible = false;
        v.cmdClearEnabled = true;
        v.panel3 = countText(v.selectedTab);
    });
}

void LogViewer::clear()
{
    // The button is offered only while the lists show; a press that reaches here otherwise would
    // leave the detail pane pointing into an emptied list, so it is not taken.
    if (!m_context.frmLog.view().cmdClearEnabled)
        return;
    listOf(m_context.frmLog.view().selectedTab == kSentTab ? kSentList : kReceivedList).clear();
    m_context.frmLog.edit([](core::LogView &v) { v.panel3.clear(); });
}

void LogViewer::closeBox()
{
    m_context.frmLog.hide();
}

LogLayout designLayout()
{
    LogLayout l;
    l.TabStrip1.top = 120;
    l.CmdOK = {0, 0, 1095, 375};
    l.CmdClear = {0, 0, 1095, 375};
    l.Image1 = {0, 0, 480, 480};
    l.CmdNext = {0, 0, 495, 495};
    l.CmdBack = {0, 0, 495, 495};
    l.TxtLog.top = 300;
    l.LblDate = {50, 100, 0, 180};
    l.LblSt = {0, 100, 0, 180};
    l.LblRt = {0, 100, 0, 180};
    return layOutWindow(l, kDesignWidth, kDesignHeight).layout;
}

LayoutResult layOutWindow(const LogLayout &current, int innerWidth, int innerHeight)
{
    LayoutResult result{current, {}};
    LogLayout &l = result.layout;
    core::LayoutSteps steps(result.refused);

    l.TabStrip1.left = 0;
    steps.size(l.TabStrip1.height, innerHeight - 520, "TabStrip1.Height");
    steps.size(l.TabStrip1.width, innerWidth - 1400, "TabStrip1.Width");

    for (Box *page : {&l.Picture1, &l.Picture2}) {
        const bool first = page == &l.Picture1;
        page->top = l.TabStrip1.top + 330;
        page->left = l.TabStrip1.left + 50;
        steps.size(page->width, l.TabStrip1.width - 120, first ? "Picture1.Width" : "Picture2.Width");
        steps.size(page->height, l.TabStrip1.height - 400, first ? "Picture1.Height" : "Picture2.Height");
    }
    l.LvLog = {0, 0, l.Picture1.width, l.Picture1.height};
    l.LvrcvLog = {0, 0, l.Picture2.width, l.Picture2.height};

    l.CmdOK.left = innerWidth - 1200;
    l.CmdOK.top = innerHeight - 810;
    l.CmdClear.left = innerWidth - 1200;
    l.CmdClear.top = innerHeight - 1310;
    l.Image1.left = innerWidth - 890;
    l.Image1.top = innerHeight - 1990;
    l.CmdNext.left = innerWidth - 600;
    l.CmdNext.top = 300;
    l.CmdBack.left = innerWidth - 1200;
    l.CmdBack.top = 300;

    steps.size(l.PicLog.height, innerHeight - 440, "PicLog.Height");
    steps.size(l.PicLog.width, innerWidth - 1400, "PicLog.Width");
    steps.size(l.TxtLog.width, l.PicLog.width, "TxtLog.Width");
    steps.size(l.TxtLog.height, l.PicLog.height - 300, "TxtLog.Height");
    return result;
}

LayoutResult layOutDetail(const LogLayout &current, int innerWidth, int innerHeight, int dateWidth,
                          int sendWidth, int receiveWidth)
{
    LayoutResult result{current, {}};
    LogLayout &l = result.layout;
    core::LayoutSteps steps(result.refused);

    l.PicLog.left = 0;
    l.PicLog.top = 0;
    steps.size(l.PicLog.height, innerHeight - 440, "PicLog.Height");
    steps.size(l.PicLog.width, innerWidth - 1400, "PicLog.Width");
    l.TxtLog.left = 0;
    l.TxtLog.top = 300;
    steps.size(l.TxtLog.width, l.PicLog.width, "TxtLog.Width");
    steps.size(l.TxtLog.height, l.PicLog.height - 300, "TxtLog.Height");
    l.LblDate.top = 100;
    l.LblSt.top = 100;
    l.LblRt.top = 100;
    l.LblDate.left = 50;

    steps.size(l.LblDate.width, dateWidth, "LblDate.Width");
    steps.size(l.LblSt.width, sendWidth, "LblSt.Width");
    steps.size(l.LblRt.width, receiveWidth, "LblRt.Width");
    l.LblSt.left = l.LblDate.left + l.LblDate.width + 100;
    l.LblRt.left = l.LblSt.left + l.LblSt.width + 100;
    return result;
}

} // namespace history
