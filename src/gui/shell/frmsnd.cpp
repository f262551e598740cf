#include "gui/shell/frmsnd.h"

#include "base/text/fields.h"
#include "gui/kit/modelwindow.h"
#include "gui/kit/pictures.h"
#include "gui/kit/textstyle.h"
#include "gui/kit/twipsgeometry.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>

namespace shell {

FrmSnd::FrmSnd(core::Context &context, Actions actions) : m_context(context), m_actions(std::move(actions))
{
    setObjectName(QStringLiteral("FrmSnd"));

    TxtMsg = new QPlainTextEdit(this);
    TxtMsg->setObjectName(QStringLiteral("TxtMsg"));
    TxtMsg->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    connect(TxtMsg, &QPlainTextEdit::textChanged, this, [this] {
        const QString typed = text::wireLineBreaks(TxtMsg->toPlainText());
        m_context.frmSnd.editQuietly([&](core::MainView &v) { v.txtMsg = typed; });
    });

    CmdSend = new QPushButton(QStringLiteral("送信(&S)"), this);
    CmdSend->setObjectName(QStringLiteral("CmdSend"));
    connect(CmdSend, &QPushButton::clicked, this, [this] {
        if (m_actions.send)
            m_actions.send();
    });

    CmdCancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ "), this);
    CmdCancel->setObjectName(QStringLiteral("CmdCancel"));
    connect(CmdCancel, &QPushButton::clicked, this, [this] {
        if (m_actions.cancel)
            m_actions.cancel();
    });

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setToolTip(QStringLiteral("ﾀﾞﾌﾞﾙｸﾘｯｸでCALL"));
    Image1->installEventFilter(this);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    QLabel *datePanel = addStatusPanel(*StatusBar1, 2540, "StatusBar1Date");
    m_weekdayPanel = addStatusPanel(*StatusBar1, 706, "StatusBar1Weekday");
    QLabel *timePanel = addStatusPanel(*StatusBar1, 2187, "StatusBar1Time", 1);
    new StatusClock(*this, *datePanel, *timePanel, [this] { return m_context.now(); });

    for (auto [widget, box] : {std::pair<QWidget *, core::Box>{TxtMsg, m_layout.TxtMsg},
                               {CmdSend, m_layout.CmdSend},
                               {CmdCancel, m_layout.CmdCancel},
                               {Image1, m_layout.Image1}})
        place(*widget, box);
    resize(px(4410), px(2280));
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
    const QString shown = text::editorLineBreaks(m.view().txtMsg);
    if (TxtMsg->toPlainText() != shown)
        TxtMsg->setPlainText(shown);
    applyTextStyle(*TxtMsg, m.view().txtMsgStyle);
    m_weekdayPanel->setText(m.view().weekdayPanel);
}

void FrmSnd::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int statusHeight = StatusBar1->sizeHint().height();
    StatusBar1->setGeometry(0, height() - statusHeight, width(), statusHeight);
    QStringList refused;
    m_layout = layOutMain(m_layout, tw(width()) + kFrameWidthTwips, tw(height()) + kFrameHeightTwips,
                          tw(statusHeight), refused);
    place(*TxtMsg, m_layout.TxtMsg);
    place(*CmdSend, m_layout.CmdSend);
    place(*CmdCancel, m_layout.CmdCancel);
    place(*Image1, m_layout.Image1);
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
    const bool press = event->type() == QEvent::MouseButtonPress;
    const bool doubleClick = event->type() == QEvent::MouseButtonDblClick;
    if (watched == Image1 && (press || doubleClick)) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (press && mouse->button() == Qt::RightButton && m_actions.callMenu)
            m_actions.callMenu(mouse->globalPosition().toPoint());
        else if (doubleClick && mouse->button() == Qt::LeftButton && m_actions.call)
            m_actions.call();
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace shell
