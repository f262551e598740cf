#include "gui/receive/letterwindow.h"

#include "base/text/fields.h"
#include "gui/kit/defaultbutton.h"
#include "gui/kit/dialogfit.h"
#include "gui/kit/modelwindow.h"
#include "gui/kit/pictures.h"
#include "gui/kit/textbox.h"
#include "gui/kit/twipsgeometry.h"

#include <QCloseEvent>

namespace receive {

LetterWindow::LetterWindow(core::Context &context, Letters &letters) : m_context(context), m_letters(letters)
{
    setObjectName(QStringLiteral("FrmLetter"));
    setWindowFlags(kit::kFixedDialog);

    letter = new kit::TextBox(this);
    // Tab goes on to the buttons, as in every form; a message has no use for a tab character.
    letter->setTabChangesFocus(true);
    letter->setObjectName(QStringLiteral("TxtLetter"));
    letter->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    connect(letter, &QPlainTextEdit::textChanged, this, [this] {
        const QString typed = text::wireLineBreaks(letter->toPlainText());
        if (LetterWindowModel *model = m_letters.slot().ifLoaded())
            model->editQuietly([&](LetterView &v) { v.letter = typed; });
    });
    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("CmdOK"));
    cancelButton = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    cancelButton->setObjectName(QStringLiteral("CmdCancel"));
    cancelButton->setToolTip(QStringLiteral("内容は消去されます。"));
    connect(okButton, &QPushButton::clicked, this, [this] { m_letters.confirm(); });
    connect(cancelButton, &QPushButton::clicked, this, [this] { m_letters.cancel(); });
    kit::pressFocusedWithEnter(*this);
    picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Image1"));
    statusBar = new QStatusBar(this);
    statusBar->setObjectName(QStringLiteral("StatusBar1"));
    statusBar->setSizeGripEnabled(false);
    m_statusPanel = kit::addStatusPanel(*statusBar, 4530, "StatusBar1Panel1", 1);

    kit::place(*letter, {0, 0, 3135, 1815});
    kit::place(*okButton, {3240, 975, 1215, 375});
    kit::place(*cancelButton, {3240, 1440, 1215, 375});
    kit::place(*picture, {3600, 300, 480, 480});
    const int statusHeight = statusBar->sizeHint().height();
    const QSize client(kit::px(4530), std::max(kit::px(2190), kit::px(1815) + statusHeight));
    statusBar->setGeometry(0, client.height() - statusHeight, client.width(), statusHeight);
    setFixedSize(client);
    kit::followModel(*this, letters.window(), context.opt, [this] { refresh(); });
}

void LetterWindow::refresh()
{
    const LetterWindowModel &m = m_letters.window();
    setWindowTitle(m.caption());
    setWindowIcon(kit::pictureFor(m.icon()));
    picture->setPixmap(kit::pictureFor(m.icon()).pixmap(kit::px(480)));
    const QString shown = text::editorLineBreaks(m.view().letter);
    if (letter->toPlainText() != shown)
        letter->setPlainText(shown);
    m_statusPanel->setText(m.view().statusPanel());
}

void LetterWindow::closeEvent(QCloseEvent *event)
{
    event->ignore();
    m_letters.cancel();
}

} // namespace receive
