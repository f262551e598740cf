#include "gui/shell/composewindow.h"

#include "base/text/fields.h"
#include "gui/kit/defaultbutton.h"
#include "gui/kit/modelwindow.h"
#include "gui/kit/pictures.h"
#include "gui/kit/textbox.h"
#include "gui/kit/textstyle.h"
#include "gui/kit/twipsgeometry.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>

namespace shell {

ComposeWindow::ComposeWindow(send::ComposeWindowModel &model, const core::Options &options,
                             platform::Clock &clock)
    : m_model(model), m_options(options), m_clock(clock)
{
    setObjectName(QStringLiteral("FrmSnd"));

    message = new kit::TextBox(this);
    // Tab goes on to the buttons, as in every form; a message has no use for a tab character.
    message->setTabChangesFocus(true);
    message->setObjectName(QStringLiteral("TxtMsg"));
    message->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    connect(message, &QPlainTextEdit::textChanged, this, [this] {
        const QString typed = text::wireLineBreaks(message->toPlainText());
        m_model.editQuietly([&](send::ComposeView &v) { v.message = typed; });
    });

    sendButton = new QPushButton(QStringLiteral("送信(&S)"), this);
    sendButton->setObjectName(QStringLiteral("CmdSend"));
    connect(sendButton, &QPushButton::clicked, this, &ComposeWindow::sendPressed);

    cancelButton = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ "), this);
    cancelButton->setObjectName(QStringLiteral("CmdCancel"));
    connect(cancelButton, &QPushButton::clicked, this, &ComposeWindow::cancelPressed);
    kit::pressFocusedWithEnter(*this);

    picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setToolTip(QStringLiteral("ﾀﾞﾌﾞﾙｸﾘｯｸでCALL"));
    picture->installEventFilter(this);

    statusBar = new QStatusBar(this);
    statusBar->setObjectName(QStringLiteral("StatusBar1"));
    statusBar->setSizeGripEnabled(false);
    QLabel *datePanel = kit::addStatusPanel(*statusBar, 2540, "StatusBar1Date");
    m_weekdayPanel = kit::addStatusPanel(*statusBar, 706, "StatusBar1Weekday");
    QLabel *timePanel = kit::addStatusPanel(*statusBar, 2187, "StatusBar1Time", 1);
    new kit::StatusClock(*this, *datePanel, *timePanel, [this] { return m_clock.now(); });

    for (auto [widget, box] : {std::pair<QWidget *, core::Box>{message, m_layout.message},
                               {sendButton, m_layout.sendButton},
                               {cancelButton, m_layout.cancelButton},
                               {picture, m_layout.picture}})
        kit::place(*widget, box);
    resize(kit::px(4410), kit::px(2280));
    centre();
    kit::followModel(*this, m_model, m_options, [this] { refresh(); });
}

void ComposeWindow::refresh()
{
    const send::ComposeWindowModel &m = m_model;
    setWindowTitle(m.caption());
    const QIcon icon = kit::pictureFor(m.icon());
    setWindowIcon(icon);
    picture->setPixmap(icon.pixmap(picture->size()));
    const QString shown = text::editorLineBreaks(m.view().message);
    if (message->toPlainText() != shown)
        message->setPlainText(shown);
    kit::applyTextStyle(*message, m.view().messageStyle);
    m_weekdayPanel->setText(m.view().weekdayPanel);
}

void ComposeWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int statusHeight = statusBar->sizeHint().height();
    statusBar->setGeometry(0, height() - statusHeight, width(), statusHeight);
    QStringList refused;
    m_layout = kit::layOutCompose(m_layout, kit::tw(width()) + kit::kFrameWidthTwips,
                                  kit::tw(height()) + kit::kFrameHeightTwips, kit::tw(statusHeight), refused);
    kit::place(*message, m_layout.message);
    kit::place(*sendButton, m_layout.sendButton);
    kit::place(*cancelButton, m_layout.cancelButton);
    kit::place(*picture, m_layout.picture);
}

void ComposeWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    message->setFocus();
}

void ComposeWindow::centre()
{
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move((area.width() - frameGeometry().width()) / 2, (area.height() - frameGeometry().height()) / 2);
    }
}

void ComposeWindow::closeEvent(QCloseEvent *event)
{
    event->ignore();
    emit closeRequested();
}

bool ComposeWindow::eventFilter(QObject *watched, QEvent *event)
{
    const bool press = event->type() == QEvent::MouseButtonPress;
    const bool doubleClick = event->type() == QEvent::MouseButtonDblClick;
    if (watched == picture && (press || doubleClick)) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (press && mouse->button() == Qt::RightButton)
            emit callMenuRequested(mouse->globalPosition().toPoint());
        else if (doubleClick && mouse->button() == Qt::LeftButton)
            emit callRequested();
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace shell
