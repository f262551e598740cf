#include "gui/receive/frmuser.h"

#include "gui/kit/modelwindow.h"
#include "gui/kit/pictures.h"
#include "gui/kit/statusclock.h"
#include "gui/kit/twipsgeometry.h"

#include <QCloseEvent>
#include <QHeaderView>

namespace receive {

using shell::px;
using shell::tw;

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

FrmUser::FrmUser(core::Context &context, UserSearch &search) : m_context(context), m_search(search)
{
    setObjectName(QStringLiteral("FrmUser"));

    ListView1 = new QTreeWidget(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setRootIsDecorated(false);
    ListView1->setItemsExpandable(false);
    ListView1->setUniformRowHeights(true);
    ListView1->setHeaderLabels({QStringLiteral("UserName"), QStringLiteral("HostName"),
                                QStringLiteral("IPｱﾄﾞﾚｽ"), QStringLiteral("相手のIPｱﾄﾞﾚｽ"),
                                QStringLiteral("ﾕｰｻﾞｰ名")});
    ListView1->header()->setStretchLastSection(false);
    for (int column = 0; column < ListView1->columnCount(); ++column)
        ListView1->setColumnWidth(column, px(kColumnWidth));

    Picture1 = new QFrame(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setFrameShape(QFrame::Box);
    // Decorative: the first five icon sets, in two columns.
    for (std::size_t i = 0; i < Images.size(); ++i) {
        QLabel *image = new QLabel(Picture1);
        image->setObjectName(QStringLiteral("Image%1").arg(i + 1));
        const int index = static_cast<int>(i);
        image->setPixmap(shell::pictureFor(core::IconId::normal(index)).pixmap(px(kPictureTwips)));
        shell::place(*image,
                     {120 + (index % 2) * 540, 120 + (index / 2) * 600, kPictureTwips, kPictureTwips});
        Images[i] = image;
    }

    CmdSrch = button(this, QStringLiteral("再検索"), "CmdSrch");
    CmdClose = button(this, QStringLiteral("閉じる"), "CmdClose");
    connect(CmdSrch, &QPushButton::clicked, this, [this] { m_search.cmdSrchClick(); });
    connect(CmdClose, &QPushButton::clicked, this, [this] { m_search.cmdCloseClick(); });

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    shell::addStatusPanel(*StatusBar1, 300, "StatusBar1Text");
    QLabel *datePanel = shell::addStatusPanel(*StatusBar1, 1440, "StatusBar1Date");
    QLabel *timePanel = shell::addStatusPanel(*StatusBar1, 1440, "StatusBar1Time", 1);
    QLabel *picturePanel = shell::addStatusPanel(*StatusBar1, 400, "StatusBar1Picture");
    picturePanel->setPixmap(shell::pictureFor(core::IconId::normal(0)).pixmap(px(240)));
    new shell::StatusClock(*this, *datePanel, *timePanel, [this] { return m_context.now(); });

    m_centred.posCenter = QStringLiteral("True");
    m_centred.posLeftUp = m_centred.posLeftLow = m_centred.posRightUp = m_centred.posRightLow =
        QStringLiteral("False");

    resize(px(kUserClientWidth), px(kUserClientHeight));
    applyLayout();
    shell::followModel(*this, m_search.frmUser(), m_centred, [this] { refresh(); });
}

void FrmUser::refresh()
{
    // The widget may outlive its window by the event that unloaded it; it must not load it again.
    const UserWindowModel *model = m_search.slot().ifLoaded();
    if (model == nullptr)
        return;
    setWindowTitle(model->caption());
    setWindowIcon(shell::pictureFor(model->icon()));
    ListView1->clear();
    QList<QTreeWidgetItem *> items;
    for (const UserRow &row : model->view().rows) {
        items << new QTreeWidgetItem(QStringList{cellText(row.userName), cellText(row.hostName), row.address,
                                                 cellText(row.partnerAddress), cellText(row.displayName)});
    }
    ListView1->addTopLevelItems(items);
}

void FrmUser::applyLayout()
{
    const int statusHeight = StatusBar1->sizeHint().height();
    StatusBar1->setGeometry(0, height() - statusHeight, width(), statusHeight);
    shell::place(*ListView1, m_layout.ListView1);
    shell::place(*Picture1, m_layout.Picture1);
    shell::place(*CmdSrch, m_layout.CmdSrch);
    shell::place(*CmdClose, m_layout.CmdClose);
}

void FrmUser::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    QStringList refused;
    m_layout = layOutUser(m_layout, tw(width()), tw(height()), refused);
    applyLayout();
}

void FrmUser::closeEvent(QCloseEvent *event)
{
    event->ignore();
    m_search.cmdCloseClick();
}

} // namespace receive
