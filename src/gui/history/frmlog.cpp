#include "gui/history/frmlog.h"

#include "base/core/twips.h"
#include "gui/kit/pictures.h"
#include "gui/kit/placement.h"

#include "gui/kit/modelwindow.h"
#include "gui/kit/statusclock.h"
#include "gui/kit/twipsgeometry.h"
#include <QCloseEvent>
#include <QHeaderView>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionHeader>
#include <QStyledItemDelegate>

namespace history {
namespace {

using shell::pixelRect;
using shell::px;
using shell::tw;

// A column whose heading and cells are centred, as the sent list's send time is.
class CentredHeader final : public QHeaderView {
public:
    CentredHeader(int column, QWidget *parent) : QHeaderView(Qt::Horizontal, parent), m_column(column) {}

protected:
    void initStyleOptionForIndex(QStyleOptionHeader *option, int logicalIndex) const override
    {
        QHeaderView::initStyleOptionForIndex(option, logicalIndex);
        if (logicalIndex == m_column)
            option->textAlignment = Qt::AlignCenter;
    }

private:
    int m_column;
};

class CentredCells final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->displayAlignment = Qt::AlignCenter;
    }
};

// The step buttons' pictures: a plain arrow head pointing the way the button steps.
QIcon arrowPicture(bool forward)
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x1f, 0x4e, 0x99));
    const QPolygonF head =
        forward ? QPolygonF{{10, 5}, {26, 16}, {10, 27}} : QPolygonF{{22, 5}, {6, 16}, {22, 27}};
    painter.drawPolygon(head);
    return QIcon(pixmap);
}

// Image1: an open notebook, the history's emblem.
QPixmap notebookPicture(int side)
{
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(side / 32.0, side / 32.0);
    painter.setPen(QPen(QColor(0x5a, 0x3e, 0x1b), 1.2));
    painter.setBrush(QColor(0xfb, 0xf6, 0xe8));
    QPainterPath left;
    left.moveTo(16, 9);
    left.cubicTo(12, 6, 7, 6, 3, 8);
    left.lineTo(3, 26);
    left.cubicTo(7, 24, 12, 24, 16, 27);
    left.closeSubpath();
    painter.drawPath(left);
    painter.drawPath(QTransform(-1, 0, 0, 1, 32, 0).map(left));
    painter.setPen(QPen(QColor(0x9a, 0x8a, 0x6a), 0.8));
    for (int y = 12; y <= 21; y += 3) {
        painter.drawLine(QPointF(6, y), QPointF(13, y + 1));
        painter.drawLine(QPointF(19, y + 1), QPointF(26, y));
    }
    return pixmap;
}

QPushButton *makeButton(const QString &caption, const char *name, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

} // namespace

FrmLog::FrmLog(core::Context &context, LogViewer &viewer, QWidget *parent)
    : QWidget(parent), m_context(context), m_viewer(viewer), m_layout(designLayout())
{
    setObjectName(QStringLiteral("FrmLog"));
    buildLists();
    buildDetailPane();
    buildButtons();
    buildStatusBar();

    resize(px(kDesignWidth), px(kDesignHeight));
    applyLayout();
    shell::followModel(*this, m_context.frmLog, m_context.opt, [this] { refresh(); });
}

void FrmLog::buildLists()
{
    TabStrip1 = new QTabBar(this);
    TabStrip1->setObjectName(QStringLiteral("TabStrip1"));
    TabStrip1->addTab(QStringLiteral("送信履歴"));
    TabStrip1->setTabData(0, kSentTab);
    TabStrip1->addTab(QStringLiteral("受信履歴"));
    TabStrip1->setTabData(1, kReceivedTab);
    TabStrip1->setExpanding(false);
    connect(TabStrip1, &QTabBar::currentChanged, this,
            [this](int index) { m_viewer.tabClick(TabStrip1->tabData(index).toString()); });

    m_stripFrame = new QFrame(this);
    m_stripFrame->setFrameShape(QFrame::StyledPanel);

    Picture1 = new QFrame(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture2 = new QFrame(this);
    Picture2->setObjectName(QStringLiteral("Picture2"));
    LvLog = makeList(Picture1, m_context.LvLog, "LvLog", {1095, 1095, 4234, 3528}, 1);
    connect(LvLog, &QTreeView::clicked, this,
            [this](const QModelIndex &index) { m_viewer.sentRowClick(index.row() + 1); });
    LvrcvLog = makeList(Picture2, m_context.LvrcvLog, "LvrcvLog", {1095, 4233, 1094, 2540}, -1);
    connect(LvrcvLog, &QTreeView::clicked, this,
            [this](const QModelIndex &index) { m_viewer.receivedRowClick(index.row() + 1); });
}

QTreeView *FrmLog::makeList(QFrame *page, core::HistoryList &rows, const char *name,
                            std::initializer_list<int> widths, int centredColumn)
{
    page->setFrameShape(QFrame::NoFrame);
    auto *list = new QTreeView(page);
    list->setObjectName(QString::fromLatin1(name));
    if (centredColumn >= 0) {
        list->setHeader(new CentredHeader(centredColumn, list));
        list->setItemDelegateForColumn(centredColumn, new CentredCells(list));
    }
    list->setModel(&rows);
    // A flat report: every row the same height, so the view never measures the rows it does not
    // draw, and the columns keep their set widths instead of being fitted to their contents.
    list->setUniformRowHeights(true);
    list->setRootIsDecorated(false);
    list->setItemsExpandable(false);
    list->setAllColumnsShowFocus(true);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->header()->setSectionResizeMode(QHeaderView::Interactive);
    list->header()->setStretchLastSection(false);
    int column = 0;
    for (int width : widths)
        list->setColumnWidth(column++, px(width));
    return list;
}

void FrmLog::buildDetailPane()
{
    PicLog = new QFrame(this);
    PicLog->setObjectName(QStringLiteral("PicLog"));
    PicLog->setFrameShape(QFrame::NoFrame);
    for (auto [label, name] : {std::pair{&LblDate, "LblDate"}, {&LblSt, "LblSt"}, {&LblRt, "LblRt"}}) {
        *label = new QLabel(PicLog);
        (*label)->setObjectName(QString::fromLatin1(name));
    }
    TxtLog = new QPlainTextEdit(PicLog);
    TxtLog->setObjectName(QStringLiteral("TxtLog"));
    TxtLog->setReadOnly(true);
    TxtLog->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    PicLog->hide();
}

void FrmLog::buildButtons()
{
    CmdBack = makeButton({}, "CmdBack", this);
    CmdBack->setIcon(arrowPicture(false));
    CmdNext = makeButton({}, "CmdNext", this);
    CmdNext->setIcon(arrowPicture(true));
    for (QPushButton *step : {CmdBack, CmdNext}) {
        step->setIconSize(QSize(px(240), px(240)));
        step->hide();
    }
    connect(CmdBack, &QPushButton::clicked, this, [this] { m_viewer.back(); });
    connect(CmdNext, &QPushButton::clicked, this, [this] { m_viewer.next(); });

    CmdClear = makeButton(QStringLiteral("履歴ｸﾘｱ"), "CmdClear", this);
    connect(CmdClear, &QPushButton::clicked, this, [this] { m_viewer.clear(); });
    CmdOK = makeButton(QStringLiteral("OK"), "CmdOK", this);
    CmdOK->setDefault(true);
    connect(CmdOK, &QPushButton::clicked, this, [this] { m_viewer.ok(); });

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    LblCnt = new QLabel(this);
    LblCnt->setObjectName(QStringLiteral("LblCnt"));
    LblCnt->hide();
}

void FrmLog::buildStatusBar()
{
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    QLabel *datePanel = shell::addStatusPanel(*StatusBar1, 2540, "StatusBar1Date");
    QLabel *timePanel = shell::addStatusPanel(*StatusBar1, 2540, "StatusBar1Time");
    m_textPanel = shell::addStatusPanel(*StatusBar1, 4868, "StatusBar1Text", 1);
    new shell::StatusClock(*this, *datePanel, *timePanel, [this] { return m_context.now(); });
}

void FrmLog::applyLayout()
{
    const LogLayout &l = m_layout;
    TabStrip1->setGeometry(pixelRect(l.TabStrip1));
    const int tabs = TabStrip1->sizeHint().height();
    QRect frame = pixelRect(l.TabStrip1);
    frame.setTop(frame.top() + tabs - 1);
    m_stripFrame->setGeometry(frame);
    Picture1->setGeometry(pixelRect(l.Picture1));
    Picture2->setGeometry(pixelRect(l.Picture2));
    LvLog->setGeometry(pixelRect(l.LvLog));
    LvrcvLog->setGeometry(pixelRect(l.LvrcvLog));
    CmdOK->setGeometry(pixelRect(l.CmdOK));
    CmdClear->setGeometry(pixelRect(l.CmdClear));
    Image1->setGeometry(pixelRect(l.Image1));
    Image1->setPixmap(notebookPicture(Image1->width()));
    CmdNext->setGeometry(pixelRect(l.CmdNext));
    CmdBack->setGeometry(pixelRect(l.CmdBack));
    PicLog->setGeometry(pixelRect(l.PicLog));
    TxtLog->setGeometry(pixelRect(l.TxtLog));
    LblDate->setGeometry(pixelRect(l.LblDate));
    LblSt->setGeometry(pixelRect(l.LblSt));
    LblRt->setGeometry(pixelRect(l.LblRt));
    const int bar = StatusBar1->sizeHint().height();
    StatusBar1->setGeometry(0, height() - bar, width(), bar);
}

void FrmLog::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_layout = layOutWindow(m_layout, tw(width()), tw(height())).layout;
    applyLayout();
}

void FrmLog::sizeLabels()
{
    // The labels take the size of their text; only a row click moves them.
    for (auto [label, box] :
         {std::pair{LblDate, &m_layout.LblDate}, {LblSt, &m_layout.LblSt}, {LblRt, &m_layout.LblRt}}) {
        const QSize text = label->sizeHint();
        box->width = tw(text.width());
        box->height = tw(text.height());
    }
}

void FrmLog::refresh()
{
    const core::LogWindowModel &m = m_context.frmLog;
    const core::LogView &v = m.view();
    setWindowTitle(m.caption());
    setWindowIcon(shell::pictureFor(m.icon()));

    const int tab = v.selectedTab == kSentTab ? 0 : 1;
    if (TabStrip1->currentIndex() != tab) {
        const QSignalBlocker quiet(TabStrip1);
        TabStrip1->setCurrentIndex(tab);
    }
    Picture1->setVisible(v.selectedTab == kSentTab);
    Picture2->setVisible(v.selectedTab != kSentTab);
    for (QWidget *lists : std::initializer_list<QWidget *>{TabStrip1, m_stripFrame, LvLog, LvrcvLog})
        lists->setVisible(!v.detailVisible);
    for (QWidget *detail : std::initializer_list<QWidget *>{PicLog, CmdNext, CmdBack})
        detail->setVisible(v.detailVisible);

    LblDate->setText(v.lblDate);
    LblSt->setText(v.lblSt);
    LblRt->setText(v.lblRt);
    // Messages keep their CR LF line breaks and the text box hands them back as LF: compared as the box
    // holds them, an unchanged message is not set again, so the reader's scroll position stays.
    QString message = v.txtLog;
    message.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (TxtLog->toPlainText() != message)
        TxtLog->setPlainText(message);
    sizeLabels();
    if (v.detailLayouts != m_detailLayoutsSeen) {
        m_detailLayoutsSeen = v.detailLayouts;
        m_layout = layOutDetail(m_layout, tw(width()), tw(height()), m_layout.LblDate.width,
                                m_layout.LblSt.width, m_layout.LblRt.width)
                       .layout;
    }
    applyLayout();

    CmdBack->setEnabled(v.cmdBackEnabled);
    CmdNext->setEnabled(v.cmdNextEnabled);
    CmdClear->setEnabled(v.cmdClearEnabled);
    m_textPanel->setText(v.panel3);
}

void FrmLog::closeEvent(QCloseEvent *event)
{
    event->ignore();
    m_viewer.closeBox();
}

void FrmLog::keyPressEvent(QKeyEvent *event)
{
    // CmdOK is the window's default and cancel button: Escape presses it, and so does Enter unless
    // another button has the focus, which then takes the press itself.
    switch (event->key()) {
    case Qt::Key_Escape:
        CmdOK->click();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (auto *focused = qobject_cast<QPushButton *>(focusWidget());
            focused != nullptr && focused->isEnabled())
            focused->click();
        else
            CmdOK->click();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

} // namespace history
