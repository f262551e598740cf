#include "gui/receive/frmletter.h"

#include "base/text/fields.h"
#include "gui/kit/modelwindow.h"
#include "gui/kit/pictures.h"
#include "gui/kit/twipsgeometry.h"

#include <QCloseEvent>

namespace receive {

FrmLetter::FrmLetter(core::Context &context, Letters &letters) : m_context(context), m_letters(letters)
{
    setObjectName(QStringLiteral("FrmLetter"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);

    TxtLetter = new QPlainTextEdit(this);
    TxtLetter->setObjectName(QStringLiteral("TxtLetter"));
    TxtLetter->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    connect(TxtLetter, &QPlainTextEdit::textChanged, this, [this] {
        const QString typed = text::wireLineBreaks(TxtLetter->toPlainText());
        if (core::LetterWindowModel *model = m_context.letterSlot.ifLoaded())
            model->editQuietly([&](core::LetterView &v) { v.txtLetter = typed; });
    });
    CmdOK = new QPushButton(QStringLiteral("OK"), this);
    CmdOK->setObjectName(QStringLiteral("CmdOK"));
    CmdCancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    CmdCancel->setObjectName(QStringLiteral("CmdCancel"));
    CmdCancel->setToolTip(QStringLiteral("内容は消去されます。"));
    connect(CmdOK, &QPushButton::clicked, this, [this] { m_letters.cmdOkClick(); });
    connect(CmdCancel, &QPushButton::clicked, this, [this] { m_letters.cmdCancelClick(); });
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    m_statusPanel = shell::addStatusPanel(*StatusBar1, 4530, "StatusBar1Panel1", 1);

    shell::place(*TxtLetter, {0, 0, 3135, 1815});
    shell::place(*CmdOK, {3240, 975, 1215, 375});
    shell::place(*CmdCancel, {3240, 1440, 1215, 375});
    shell::place(*Image1, {3600, 300, 480, 480});
    const int statusHeight = StatusBar1->sizeHint().height();
    const QSize client(shell::px(4530), std::max(shell::px(2190), shell::px(1815) + statusHeight));
    StatusBar1->setGeometry(0, client.height() - statusHeight, client.width(), statusHeight);
    setFixedSize(client);
    shell::followModel(*this, context.frmLetter(), context.opt, [this] { refresh(); });
}

void FrmLetter::refresh()
{
    const core::LetterWindowModel &m = m_context.frmLetter();
    setWindowTitle(m.caption());
    setWindowIcon(shell::pictureFor(m.icon()));
    Image1->setPixmap(shell::pictureFor(m.icon()).pixmap(shell::px(480)));
    const QString shown = text::editorLineBreaks(m.view().txtLetter);
    if (TxtLetter->toPlainText() != shown)
        TxtLetter->setPlainText(shown);
    m_statusPanel->setText(m.view().statusPanel);
}

void FrmLetter::closeEvent(QCloseEvent *event)
{
    event->ignore();
    m_letters.cmdCancelClick();
}

} // namespace receive
