#include "gui/history/historywindow.h"

#include "base/core/twips.h"
#include "gui/kit/defaultbutton.h"
#include "gui/kit/longtext.h"
#include "gui/kit/pictures.h"
#include "gui/kit/placement.h"
#include "gui/kit/textbox.h"

#include "gui/kit/modelwindow.h"
#include "gui/kit/statusclock.h"
#include "gui/kit/twipsgeometry.h"
#include <QCloseEvent>
#include <QHeaderView>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <QStyleOptionHeader>
#include <QStyledItemDelegate>

namespace history {
namespace {

using kit::pixelRect;
using kit::px;
using kit::tw;

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

// picture: an open notebook, the history's emblem.
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

HistoryWindow::HistoryWindow(core::Context &context, HistoryViewer &viewer, QWidget *parent)
    : QWidget(parent), m_context(context), m_viewer(viewer), m_layout(designLayout())
{
    setObjectName(QStringLiteral("FrmLog"));
    buildLists();
    buildDetailPane();
    buildButtons();
    buildStatusBar();

    // Wide enough that the sent list, the wider of the two, shows every column at its designed
    // width, with room for its frame and a vertical scroll bar.
    const int listWidth = sentList->header()->length() + 2 * sentList->frameWidth() +
                          sentList->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, sentList);
    resize(px(openingInnerWidth(tw(listWidth))), px(kDesignHeight));
    applyLayout();
    kit::followModel(*this, m_viewer.window(), m_context.opt, [this] { refresh(); });
}

void HistoryWindow::buildLists()
{
    tabStrip = new QTabBar(this);
    tabStrip->setObjectName(QStringLiteral("TabStrip1"));
    tabStrip->addTab(QStringLiteral("送信履歴"));
    tabStrip->addTab(QStringLiteral("受信履歴"));
    tabStrip->setExpanding(false);
    connect(tabStrip, &QTabBar::currentChanged, this,
            [this](int index) { m_viewer.showTab(index == 0 ? Which::Sent : Which::Received); });

    m_stripFrame = new QFrame(this);
    m_stripFrame->setFrameShape(QFrame::StyledPanel);

    sentPage = new QFrame(this);
    sentPage->setObjectName(QStringLiteral("Picture1"));
    receivedPage = new QFrame(this);
    receivedPage->setObjectName(QStringLiteral("Picture2"));
    sentList = makeList(sentPage, m_viewer.history().sent(), "LvLog", {1095, 1095, 4234, 3528}, 1);
    connect(sentList, &QTreeView::clicked, this,
            [this](const QModelIndex &index) { m_viewer.openSentRow(index.row() + 1); });
    receivedList =
        makeList(receivedPage, m_viewer.history().received(), "LvrcvLog", {1095, 4233, 1094, 2540}, -1);
    connect(receivedList, &QTreeView::clicked, this,
            [this](const QModelIndex &index) { m_viewer.openReceivedRow(index.row() + 1); });
}

QTreeView *HistoryWindow::makeList(QFrame *page, core::HistoryList &rows, const char *name,
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
    // Headings start at the left like their cells; Qt's headers centre them of their own accord.
    list->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    int column = 0;
    for (int width : widths)
        list->setColumnWidth(column++, px(width));
    return list;
}

void HistoryWindow::buildDetailPane()
{
    detailPane = new QFrame(this);
    detailPane->setObjectName(QStringLiteral("PicLog"));
    detailPane->setFrameShape(QFrame::NoFrame);
    for (auto [label, name] :
         {std::pair{&dateLabel, "LblDate"}, {&sendTimeLabel, "LblSt"}, {&receiveTimeLabel, "LblRt"}}) {
        *label = new QLabel(detailPane);
        (*label)->setObjectName(QString::fromLatin1(name));
    }
    detailText = new kit::TextBox(detailPane);
    detailText->setObjectName(QStringLiteral("TxtLog"));
    detailText->setReadOnly(true);
    detailText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    detailPane->hide();
}

void HistoryWindow::buildButtons()
{
    backButton = makeButton({}, "CmdBack", this);
    backButton->setIcon(arrowPicture(false));
    nextButton = makeButton({}, "CmdNext", this);
    nextButton->setIcon(arrowPicture(true));
    for (QPushButton *step : {backButton, nextButton}) {
        step->setIconSize(QSize(px(240), px(240)));
        step->hide();
    }
    connect(backButton, &QPushButton::clicked, this, [this] { m_viewer.back(); });
    connect(nextButton, &QPushButton::clicked, this, [this] { m_viewer.next(); });

    clearButton = makeButton(QStringLiteral("履歴ｸﾘｱ"), "CmdClear", this);
    connect(clearButton, &QPushButton::clicked, this, [this] { m_viewer.clear(); });
    okButton = makeButton(QStringLiteral("OK"), "CmdOK", this);
    kit::pressWithEnter(*this, *okButton);
    connect(okButton, &QPushButton::clicked, this, [this] { m_viewer.ok(); });

    picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Image1"));
    countLabel = new QLabel(this);
    countLabel->setObjectName(QStringLiteral("LblCnt"));
    countLabel->hide();
}

void HistoryWindow::buildStatusBar()
{
    statusBar = new QStatusBar(this);
    statusBar->setObjectName(QStringLiteral("StatusBar1"));
    statusBar->setSizeGripEnabled(false);
    QLabel *datePanel = kit::addStatusPanel(*statusBar, 2540, "StatusBar1Date");
    QLabel *timePanel = kit::addStatusPanel(*statusBar, 2540, "StatusBar1Time");
    m_textPanel = kit::addStatusPanel(*statusBar, 4868, "StatusBar1Text", 1);
    new kit::StatusClock(*this, *datePanel, *timePanel, [this] { return m_context.now(); });
}

void HistoryWindow::applyLayout()
{
    const HistoryLayout &l = m_layout;
    tabStrip->setGeometry(pixelRect(l.tabStrip));
    const int tabs = tabStrip->sizeHint().height();
    QRect frame = pixelRect(l.tabStrip);
    frame.setTop(frame.top() + tabs - 1);
    m_stripFrame->setGeometry(frame);
    sentPage->setGeometry(pixelRect(l.sentPage));
    receivedPage->setGeometry(pixelRect(l.receivedPage));
    sentList->setGeometry(pixelRect(l.sentList));
    receivedList->setGeometry(pixelRect(l.receivedList));
    okButton->setGeometry(pixelRect(l.okButton));
    clearButton->setGeometry(pixelRect(l.clearButton));
    picture->setGeometry(pixelRect(l.picture));
    picture->setPixmap(notebookPicture(picture->width()));
    nextButton->setGeometry(pixelRect(l.nextButton));
    backButton->setGeometry(pixelRect(l.backButton));
    detailPane->setGeometry(pixelRect(l.detailPane));
    detailText->setGeometry(pixelRect(l.detailText));
    dateLabel->setGeometry(pixelRect(l.dateLabel));
    sendTimeLabel->setGeometry(pixelRect(l.sendTimeLabel));
    receiveTimeLabel->setGeometry(pixelRect(l.receiveTimeLabel));
    const int bar = statusBar->sizeHint().height();
    statusBar->setGeometry(0, height() - bar, width(), bar);
}

void HistoryWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_layout = layOutWindow(m_layout, tw(width()), tw(height())).layout;
    applyLayout();
}

void HistoryWindow::sizeLabels()
{
    // The labels take the size of their text; only a row click moves them.
    for (auto [label, box] : {std::pair{dateLabel, &m_layout.dateLabel},
                              {sendTimeLabel, &m_layout.sendTimeLabel},
                              {receiveTimeLabel, &m_layout.receiveTimeLabel}}) {
        // Measured in the font the label is drawn in, which it has only once polished.
        label->ensurePolished();
        const QSize text = label->sizeHint();
        box->width = tw(text.width());
        box->height = tw(text.height());
    }
}

void HistoryWindow::refresh()
{
    const HistoryWindowModel &m = m_viewer.window();
    const HistoryView &v = m.view();
    setWindowTitle(m.caption());
    setWindowIcon(kit::pictureFor(m.icon()));

    const int tab = v.selectedTab == Which::Sent ? 0 : 1;
    if (tabStrip->currentIndex() != tab) {
        const QSignalBlocker quiet(tabStrip);
        tabStrip->setCurrentIndex(tab);
    }
    sentPage->setVisible(v.selectedTab == Which::Sent);
    receivedPage->setVisible(v.selectedTab != Which::Sent);
    for (QWidget *lists : std::initializer_list<QWidget *>{tabStrip, m_stripFrame, sentList, receivedList})
        lists->setVisible(!v.detailVisible);
    for (QWidget *detail : std::initializer_list<QWidget *>{detailPane, nextButton, backButton})
        detail->setVisible(v.detailVisible);

    dateLabel->setText(v.detailDate);
    sendTimeLabel->setText(v.detailSendTime);
    receiveTimeLabel->setText(v.detailReceiveTime);
    // Messages keep their CR LF line breaks and the text box hands them back as LF: compared as the box
    // holds them, an unchanged message is not set again, so the reader's scroll position stays.
    QString message = v.detailText;
    message.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (detailText->toPlainText() != message)
        kit::setLongText(*detailText, message);
    sizeLabels();
    if (v.detailLayouts != m_detailLayoutsSeen) {
        m_detailLayoutsSeen = v.detailLayouts;
        m_layout = layOutDetail(m_layout, tw(width()), tw(height()), m_layout.dateLabel.width,
                                m_layout.sendTimeLabel.width, m_layout.receiveTimeLabel.width)
                       .layout;
    }
    applyLayout();

    backButton->setEnabled(v.backEnabled);
    nextButton->setEnabled(v.nextEnabled);
    clearButton->setEnabled(v.clearEnabled);
    m_textPanel->setText(v.countPanel);
}

void HistoryWindow::closeEvent(QCloseEvent *event)
{
    event->ignore();
    m_viewer.closeBox();
}

void HistoryWindow::keyPressEvent(QKeyEvent *event)
{
    // okButton is the window's default and cancel button: Escape presses it, and so does Enter unless
    // another button has the focus, which then takes the press itself.
    switch (event->key()) {
    case Qt::Key_Escape:
        okButton->click();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (auto *focused = qobject_cast<QPushButton *>(focusWidget());
            focused != nullptr && focused->isEnabled())
            focused->click();
        else
            okButton->click();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

} // namespace history
