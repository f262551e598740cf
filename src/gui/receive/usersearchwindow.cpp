#include "gui/receive/usersearchwindow.h"

#include "gui/kit/modelwindow.h"
#include "gui/kit/pictures.h"
#include "gui/kit/statusclock.h"
#include "gui/kit/twipsgeometry.h"

#include <QCloseEvent>
#include <QHeaderView>

namespace receive {

using kit::px;
using kit::tw;

namespace {

constexpr int kColumnWidth = 1440;
constexpr int kPictureTwips = 480; // 32 pixels at the usual 96 DPI

// A list cell ends at its first zero character, as the login field's padding shows.
QString cellText(const QString &value)
{
    const qsizetype zero = value.indexOf(QChar(u'\0'));
    return zero < 0 ? value : value.left(zero);
}

QPushButton *button(QWidget *parent, const QString &caption, const char *name)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

} // namespace

UserSearchWindow::UserSearchWindow(core::Context &context, UserSearch &search)
    : m_context(context), m_search(search)
{
    setObjectName(QStringLiteral("FrmUser"));

    list = new QTreeWidget(this);
    list->setObjectName(QStringLiteral("ListView1"));
    list->setRootIsDecorated(false);
    list->setItemsExpandable(false);
    list->setUniformRowHeights(true);
    list->setHeaderLabels({QStringLiteral("UserName"), QStringLiteral("HostName"), QStringLiteral("IPｱﾄﾞﾚｽ"),
                           QStringLiteral("相手のIPｱﾄﾞﾚｽ"), QStringLiteral("ﾕｰｻﾞｰ名")});
    list->header()->setStretchLastSection(false);
    for (int column = 0; column < list->columnCount(); ++column)
        list->setColumnWidth(column, px(kColumnWidth));

    picturePanel = new QFrame(this);
    picturePanel->setObjectName(QStringLiteral("Picture1"));
    picturePanel->setFrameShape(QFrame::Box);
    // Decorative: the first five icon sets, in two columns.
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        QLabel *image = new QLabel(picturePanel);
        image->setObjectName(QStringLiteral("Image%1").arg(i + 1));
        const int index = static_cast<int>(i);
        image->setPixmap(kit::pictureFor(core::IconId::normal(index)).pixmap(px(kPictureTwips)));
        kit::place(*image, {120 + (index % 2) * 540, 120 + (index / 2) * 600, kPictureTwips, kPictureTwips});
        pictures[i] = image;
    }

    searchButton = button(this, QStringLiteral("再検索"), "CmdSrch");
    closeButton = button(this, QStringLiteral("閉じる"), "CmdClose");
    connect(searchButton, &QPushButton::clicked, this, [this] { m_search.searchAgain(); });
    connect(closeButton, &QPushButton::clicked, this, [this] { m_search.close(); });

    statusBar = new QStatusBar(this);
    statusBar->setObjectName(QStringLiteral("StatusBar1"));
    kit::addStatusPanel(*statusBar, 300, "StatusBar1Text");
    QLabel *datePanel = kit::addStatusPanel(*statusBar, 1440, "StatusBar1Date");
    QLabel *timePanel = kit::addStatusPanel(*statusBar, 1440, "StatusBar1Time", 1);
    QLabel *picturePanel = kit::addStatusPanel(*statusBar, 400, "StatusBar1Picture");
    picturePanel->setPixmap(kit::pictureFor(core::IconId::normal(0)).pixmap(px(240)));
    new kit::StatusClock(*this, *datePanel, *timePanel, [this] { return m_context.now(); });

    m_centred.posCenter = true;
    m_centred.posLeftUp = m_centred.posLeftLow = m_centred.posRightUp = m_centred.posRightLow = false;

    resize(px(kUserClientWidth), px(kUserClientHeight));
    applyLayout();
    kit::followModel(*this, m_search.window(), m_centred, [this] { refresh(); });
}

void UserSearchWindow::refresh()
{
    // The widget may outlive its window by the event that unloaded it; it must not load it again.
    const UserWindowModel *model = m_search.slot().ifLoaded();
    if (model == nullptr)
        return;
    setWindowTitle(model->caption());
    setWindowIcon(kit::pictureFor(model->icon()));
    list->clear();
    QList<QTreeWidgetItem *> items;
    for (const UserRow &row : model->view().rows) {
        items << new QTreeWidgetItem(QStringList{cellText(row.userName), cellText(row.hostName), row.address,
                                                 cellText(row.partnerAddress), cellText(row.displayName)});
    }
    list->addTopLevelItems(items);
}

void UserSearchWindow::applyLayout()
{
    const int statusHeight = statusBar->sizeHint().height();
    statusBar->setGeometry(0, height() - statusHeight, width(), statusHeight);
    kit::place(*list, m_layout.list);
    kit::place(*picturePanel, m_layout.picturePanel);
    kit::place(*searchButton, m_layout.searchButton);
    kit::place(*closeButton, m_layout.closeButton);
}

void UserSearchWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    QStringList refused;
    m_layout = layOutUser(m_layout, tw(width()), tw(height()), refused);
    applyLayout();
}

void UserSearchWindow::closeEvent(QCloseEvent *event)
{
    event->ignore();
    m_search.close();
}

} // namespace receive
