#include "gui/receive/frmrecv.h"

#include "base/text/fields.h"
#include "gui/kit/mainlayout.h"
#include "gui/kit/modelwindow.h"
#include "gui/kit/pictures.h"
#include "gui/kit/statusclock.h"
#include "gui/kit/textstyle.h"
#include "gui/kit/twipsgeometry.h"

#include <QCloseEvent>
#include <QMouseEvent>

namespace receive {

using shell::px;
using shell::tw;

namespace {
QPushButton *button(QWidget *parent, const QString &caption, const char *name, const QString &tip = {})
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(tip);
    return b;
}
} // namespace

FrmRecv::FrmRecv(core::Context &context, ReceivedWindow &handlers) : m_context(context), m_handlers(handlers)
{
    setObjectName(QStringLiteral("FrmRecv"));

    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setReadOnly(true);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    PicSplitter = new QFrame(this);
    PicSplitter->setObjectName(QStringLiteral("PicSplitter"));
    PicSplitter->setCursor(Qt::SizeVerCursor);
    PicSplitter->setAutoFillBackground(true);
    PicSplitter->setMouseTracking(true);
    PicSplitter->installEventFilter(this);

    Text2 = new QPlainTextEdit(this);
    Text2->setObjectName(QStringLiteral("Text2"));
    Text2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    connect(Text2, &QPlainTextEdit::textChanged, this, [this] {
        const QString typed = text::wireLineBreaks(Text2->toPlainText());
        m_context.frmRecv.editQuietly([&](core::ReceivedView &v) { v.text2 = typed; });
    });

    CmdOPCL = button(this, QString(), "CmdOPCL");
    CmdCancel = button(this, QStringLiteral("返信保留 "), "CmdCancel",
                       QStringLiteral("受信内容は残して画面を閉じます。"));
    CmdDel = button(this, QStringLiteral("閉じる "), "CmdDel", QStringLiteral("受信内容は消されます。"));
    CmdCback = button(this, QStringLiteral("返信(&S)"), "CmdCback");
    connect(CmdOPCL, &QPushButton::clicked, this, [this] { m_handlers.cmdOPCLClick(); });
    connect(CmdCancel, &QPushButton::clicked, this, [this] { m_handlers.cmdCancelClick(); });
    connect(CmdDel, &QPushButton::clicked, this, [this] { m_handlers.cmdDelClick(); });
    connect(CmdCback, &QPushButton::clicked, this, [this] { m_handlers.cmdCbackClick(); });

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image2 = new QLabel(this);
    Image2->setObjectName(QStringLiteral("Image2"));

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    QLabel *datePanel = shell::addStatusPanel(*StatusBar1, 1440, "StatusBar1Date");
    m_weekdayPanel = shell::addStatusPanel(*StatusBar1, 400, "StatusBar1Weekday");
    QLabel *timePanel = shell::addStatusPanel(*StatusBar1, 1239, "StatusBar1Time", 1);
    new shell::StatusClock(*this, *datePanel, *timePanel, [this] { return m_context.now(); });

    setTabOrder(CmdOPCL, CmdCancel);
    setTabOrder(CmdCancel, CmdDel);
    setTabOrder(CmdDel, Text2);
    setTabOrder(Text2, CmdCback);
    setTabOrder(CmdCback, Text1);

    QStringList refused;
    m_layout = loadRecvLayout(tw(StatusBar1->sizeHint().height()), refused);
    resize(px(kRecvWidth - shell::kFrameWidthTwips), px(kRecvHeight - shell::kFrameHeightTwips));
    applyLayout();
    shell::followModel(*this, m_context.frmRecv, m_context.opt, [this] { refresh(); });
}

void FrmRecv::refresh()
{
    const core::ReceivedWindowModel &m = m_context.frmRecv;
    const core::ReceivedView &v = m.view();
    setWindowTitle(m.caption());
    setWindowIcon(shell::pictureFor(m.icon()));
    const int set = m_context.iconSet();
    Image1->setPixmap(shell::pictureFor(core::IconId::normal(set)).pixmap(px(480)));
    Image2->setPixmap(shell::pictureFor(core::IconId::received(set)).pixmap(px(480)));
    // Laying out a long held text takes a while, so it is done only when the text is to be seen
    // and has changed since; arrivals hide it until OPEN.
    if (v.text1Visible && v.text1 != m_shownText1) {
        Text1->setPlainText(text::editorLineBreaks(v.text1));
        m_shownText1 = v.text1;
    }
    const QString text2 = text::editorLineBreaks(v.text2);
    if (Text2->toPlainText() != text2)
        Text2->setPlainText(text2);
    Text1->setVisible(v.text1Visible);
    CmdOPCL->setText(v.cmdOPCLCaption);
    m_weekdayPanel->setText(v.weekdayPanel);
    shell::applyTextStyle(*Text1, v.text1Style);
    shell::applyTextStyle(*Text2, v.text2Style);
}

int FrmRecv::innerHeightTwips() const
{
    return tw(height());
}

void FrmRecv::applyLayout()
{
    const int statusHeight = StatusBar1->sizeHint().height();
    StatusBar1->setGeometry(0, height() - statusHeight, width(), statusHeight);
    shell::place(*Text1, m_layout.Text1);
    shell::place(*PicSplitter, m_layout.PicSplitter);
    shell::place(*Text2, m_layout.Text2);
    shell::place(*CmdOPCL, m_layout.CmdOPCL);
    shell::place(*CmdCancel, m_layout.CmdCancel);
    shell::place(*CmdDel, m_layout.CmdDel);
    shell::place(*CmdCback, m_layout.CmdCback);
    shell::place(*Image1, m_layout.Image1);
    shell::place(*Image2, m_layout.Image2);
}

void FrmRecv::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    QStringList refused;
    m_layout =
        layOutRecv(m_layout, tw(width()) + shell::kFrameWidthTwips, tw(height()) + shell::kFrameHeightTwips,
                   tw(StatusBar1->sizeHint().height()), refused);
    applyLayout();
}

void FrmRecv::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    Text2->setFocus();
}

bool FrmRecv::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != PicSplitter)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        m_dragFlag = true;
        break;
    case QEvent::MouseMove: {
        QStringList refused;
        if (m_dragFlag) {
            const auto *move = static_cast<QMouseEvent *>(event);
            const double proposal = m_layout.PicSplitter.top + tw(qRound(move->position().y()));
            m_layout.PicSplitter.top = splitterTop(proposal, innerHeightTwips());
        }
        m_layout = splitSet(m_layout, innerHeightTwips(), refused);
        applyLayout();
        break;
    }
    case QEvent::MouseButtonRelease:
        m_dragFlag = false;
        PicSplitter->setBackgroundRole(QPalette::Button);
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void FrmRecv::closeEvent(QCloseEvent *event)
{
    // The window is never unloaded: its close box is the close button, and it only hides.
    event->ignore();
    m_handlers.cmdDelClick();
}

} // namespace receive
