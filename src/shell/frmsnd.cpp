#include "shell/frmsnd.h"

#include "core/twips.h"
#include "shell/modelwindow.h"
#include "shell/pictures.h"
#include "shell/textstyle.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>

namespace shell {
namespace {

qreal logicalDpi()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->logicalDotsPerInch() : 96.0;
}

QRect twipsRect(int left, int top, int width, int height)
{
    const qreal dpi = logicalDpi();
    return {core::twipsToPixels(left, dpi), core::twipsToPixels(top, dpi), core::twipsToPixels(width, dpi),
            core::twipsToPixels(height, dpi)};
}

QLabel *addPanel(QStatusBar *bar, int widthTwips, const char *name)
{
    auto *panel = new QLabel(bar);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setMinimumWidth(core::twipsToPixels(widthTwips, logicalDpi()) - 8);
    bar->addWidget(panel);
    return panel;
}

} // namespace

FrmSnd::FrmSnd(core::Context &context, Actions actions) : m_context(context), m_actions(std::move(actions))
{
    setObjectName(QStringLiteral("FrmSnd"));
    const qreal dpi = logicalDpi();
    resize(core::twipsToPixels(4410, dpi), core::twipsToPixels(2280, dpi));

    TxtMsg = new QPlainTextEdit(this);
    TxtMsg->setObjectName(QStringLiteral("TxtMsg"));
    TxtMsg->setGeometry(twipsRect(15, 80, 3135, 1815));
    TxtMsg->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    connect(TxtMsg, &QPlainTextEdit::textChanged, this,
            [this] { m_context.frmSnd.editQuietly([this](core::MainView &v) { v.txtMsg = TxtMsg->toPlainText(); }); });

    CmdSend = new QPushButton(QStringLiteral("送信(&S)"), this);
    CmdSend->setObjectName(QStringLiteral("CmdSend"));
    CmdSend->setGeometry(twipsRect(3240, 960, 1100, 375));
    connect(CmdSend, &QPushButton::clicked, this, [this] {
        if (m_actions.send)
            m_actions.send();
    });

    CmdCancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ "), this);
    CmdCancel->setObjectName(QStringLiteral("CmdCancel"));
    CmdCancel->setGeometry(twipsRect(3240, 1440, 1100, 375));
    connect(CmdCancel, &QPushButton::clicked, this, [this] {
        if (m_actions.cancel)
            m_actions.cancel();
    });

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(twipsRect(3840, 120, 480, 480));
    Image1->setToolTip(QStringLiteral("ﾀﾞﾌﾞﾙｸﾘｯｸでCALL"));
    Image1->installEventFilter(this);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    QLabel *datePanel = addPanel(StatusBar1, 2540, "StatusBar1Date");
    m_weekdayPanel = addPanel(StatusBar1, 706, "StatusBar1Weekday");
    QLabel *timePanel = addPanel(StatusBar1, 2187, "StatusBar1Time");
    StatusBar1->setGeometry(0, height() - StatusBar1->sizeHint().height(), width(),
                            StatusBar1->sizeHint().height());

    m_clock = new StatusClock(*this, *datePanel, *timePanel, [this] { return m_context.now(); });

    centre();
    followModel(*this, m_context.frmSnd, m_context.opt, [this] { refresh(); });
}

void FrmSnd::refresh()
{
    const core::MainWindowModel &m = m_context.frmSnd;
    setWindowTitle(m.caption());
    const QIcon picture = pictureFor(m.icon());
    setWindowIcon(picture);
    Image1->setPixmap(picture.pixmap(Image1->size()));
    if (TxtMsg->toPlainText() != m.view().txtMsg)
        TxtMsg->setPlainText(m.view().txtMsg);
    applyTextStyle(*TxtMsg, m.view().txtMsgStyle);
    m_weekdayPanel->setText(m.view().weekdayPanel);
}

void FrmSnd::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    TxtMsg->setFocus();
}

void FrmSnd::centre()
{
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move((area.width() - frameGeometry().width()) / 2, (area.height() - frameGeometry().height()) / 2);
    }
}

void FrmSnd::closeEvent(QCloseEvent *event)
{
    if (m_actions.closeBox && m_actions.closeBox())
        event->ignore();
    else
        event->accept();
}

bool FrmSnd::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Image1 && event->type() == QEvent::MouseButtonPress) {
        const auto *press = static_cast<QMouseEvent *>(event);
        if (press->button() == Qt::RightButton && m_actions.callMenu)
            m_actions.callMenu(press->globalPosition().toPoint());
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace shell
