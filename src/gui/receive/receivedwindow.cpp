#include "gui/receive/receivedwindow.h"

#include "base/text/fields.h"
#include "gui/kit/composelayout.h"
#include "gui/kit/defaultbutton.h"
#include "gui/kit/longtext.h"
#include "gui/kit/modelwindow.h"
#include "gui/kit/pictures.h"
#include "gui/kit/placement.h"
#include "gui/kit/statusclock.h"
#include "gui/kit/textbox.h"
#include "gui/kit/textstyle.h"
#include "gui/kit/twipsgeometry.h"

#include <QCloseEvent>
#include <QMouseEvent>

namespace receive {

using kit::px;
using kit::tw;

namespace {
QPushButton *button(QWidget *parent, const QString &caption, const char *name, const QString &tip = {})
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(tip);
    return b;
}
} // namespace

ReceivedWindow::ReceivedWindow(ReceivedWindowModel &model, core::Context &context, ReceivedMessage &handlers)
    : m_model(model), m_context(context), m_handlers(handlers)
{
    setObjectName(QStringLiteral("FrmRecv"));

    message = new kit::TextBox(this);
    message->setObjectName(QStringLiteral("Text1"));
    message->setReadOnly(true);
    message->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    splitter = new QFrame(this);
    splitter->setObjectName(QStringLiteral("PicSplitter"));
    splitter->setCursor(Qt::SizeVerCursor);
    splitter->setAutoFillBackground(true);
    splitter->setMouseTracking(true);
    splitter->installEventFilter(this);

    reply = new kit::TextBox(this);
    // Tab goes on to the buttons, as in every form; a message has no use for a tab character.
    reply->setTabChangesFocus(true);
    reply->setObjectName(QStringLiteral("Text2"));
    reply->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    connect(reply, &QPlainTextEdit::textChanged, this, [this] {
        const QString typed = text::wireLineBreaks(reply->toPlainText());
        m_model.editQuietly([&](ReceivedView &v) { v.reply = typed; });
    });

    openCloseButton = button(this, QString(), "CmdOPCL");
    holdButton = button(this, QStringLiteral("返信保留 "), "CmdCancel",
                        QStringLiteral("受信内容は残して画面を閉じます。"));
    closeButton = button(this, QStringLiteral("閉じる "), "CmdDel", QStringLiteral("受信内容は消されます。"));
    replyButton = button(this, QStringLiteral("返信(&S)"), "CmdCback");
    connect(openCloseButton, &QPushButton::clicked, this, [this] { m_handlers.openOrClose(); });
    connect(holdButton, &QPushButton::clicked, this, [this] { m_handlers.hold(); });
    connect(closeButton, &QPushButton::clicked, this, [this] { m_handlers.close(); });
    connect(replyButton, &QPushButton::clicked, this, [this] { m_handlers.reply(); });
    kit::pressFocusedWithEnter(*this);

    normalPicture = new QLabel(this);
    normalPicture->setObjectName(QStringLiteral("Image1"));
    receivedPicture = new QLabel(this);
    receivedPicture->setObjectName(QStringLiteral("Image2"));

    statusBar = new QStatusBar(this);
    statusBar->setObjectName(QStringLiteral("StatusBar1"));
    QLabel *datePanel = kit::addStatusPanel(*statusBar, 1440, "StatusBar1Date");
    m_weekdayPanel = kit::addStatusPanel(*statusBar, 400, "StatusBar1Weekday");
    QLabel *timePanel = kit::addStatusPanel(*statusBar, 1239, "StatusBar1Time", 1);
    new kit::StatusClock(*this, *datePanel, *timePanel, [this] { return m_context.now(); });

    setTabOrder(openCloseButton, holdButton);
    setTabOrder(holdButton, closeButton);
    setTabOrder(closeButton, reply);
    setTabOrder(reply, replyButton);
    setTabOrder(replyButton, message);

    QStringList refused;
    m_layout = loadReceivedLayout(tw(statusBar->sizeHint().height()), refused);
    resize(px(kReceivedWidth - kit::kFrameWidthTwips), px(kReceivedHeight - kit::kFrameHeightTwips));
    applyLayout();
    kit::followModel(*this, m_model, m_context.opt, [this] { refresh(); });
}

void ReceivedWindow::refresh()
{
    const ReceivedWindowModel &m = m_model;
    const ReceivedView &v = m.view();
    if (windowTitle() != m.caption()) {
        setWindowTitle(m.caption());
        // The caption names the sender and the time: the title bar must show it whole. A window
        // the user made narrower keeps its width until the caption changes.
        kit::widenForCaption(*this);
    }
    setWindowIcon(kit::pictureFor(m.icon()));
    const int set = m_context.opt.iconSet();
    normalPicture->setPixmap(kit::pictureFor(core::IconId::normal(set)).pixmap(px(480)));
    receivedPicture->setPixmap(kit::pictureFor(core::IconId::received(set)).pixmap(px(480)));
    // Laying out a long held text takes a while, so it is done only when the text is to be seen
    // and has changed since; arrivals hide it until OPEN.
    if (v.messageVisible && v.message != m_shownMessage) {
        kit::setLongText(*message, text::editorLineBreaks(v.message));
        m_shownMessage = v.message;
    }
    const QString replyText = text::editorLineBreaks(v.reply);
    if (reply->toPlainText() != replyText)
        reply->setPlainText(replyText);
    message->setVisible(v.messageVisible);
    openCloseButton->setText(v.openCloseCaption);
    m_weekdayPanel->setText(v.weekdayPanel);
    kit::applyTextStyle(*message, v.messageStyle);
    kit::applyTextStyle(*reply, v.replyStyle);
}

int ReceivedWindow::innerHeightTwips() const
{
    return tw(height());
}

void ReceivedWindow::applyLayout()
{
    const int statusHeight = statusBar->sizeHint().height();
    statusBar->setGeometry(0, height() - statusHeight, width(), statusHeight);
    kit::place(*message, m_layout.message);
    kit::place(*splitter, m_layout.splitter);
    kit::place(*reply, m_layout.reply);
    kit::place(*openCloseButton, m_layout.openCloseButton);
    kit::place(*holdButton, m_layout.holdButton);
    kit::place(*closeButton, m_layout.closeButton);
    kit::place(*replyButton, m_layout.replyButton);
    kit::place(*normalPicture, m_layout.normalPicture);
    kit::place(*receivedPicture, m_layout.receivedPicture);
}

void ReceivedWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    QStringList refused;
    m_layout =
        layOutReceived(m_layout, tw(width()) + kit::kFrameWidthTwips, tw(height()) + kit::kFrameHeightTwips,
                       tw(statusBar->sizeHint().height()), refused);
    applyLayout();
}

void ReceivedWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    reply->setFocus();
}

bool ReceivedWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != splitter)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        m_dragFlag = true;
        break;
    case QEvent::MouseMove: {
        QStringList refused;
        if (m_dragFlag) {
            const auto *move = static_cast<QMouseEvent *>(event);
            const double proposal = m_layout.splitter.top + tw(qRound(move->position().y()));
            m_layout.splitter.top = splitterTop(proposal, innerHeightTwips());
        }
        m_layout = applySplit(m_layout, innerHeightTwips(), refused);
        applyLayout();
        break;
    }
    case QEvent::MouseButtonRelease:
        m_dragFlag = false;
        splitter->setBackgroundRole(QPalette::Button);
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void ReceivedWindow::closeEvent(QCloseEvent *event)
{
    // The window is never unloaded: its close box is the close button, and it only hides.
    event->ignore();
    m_handlers.close();
}

} // namespace receive
