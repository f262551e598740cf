#include "gui/settings/frmpw.h"

#include "gui/kit/modelwindow.h"
#include "gui/kit/pictures.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>

namespace settings {

FrmPw::FrmPw(core::Context &context, PasswordWindow &window) : m_context(context), m_window(window)
{
    setObjectName(QStringLiteral("FrmPw"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    Label2 = new QLabel(QStringLiteral("ﾊﾟｽﾜｰﾄﾞを入力してください。"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label1 = new QLabel(QStringLiteral("ﾊﾟｽﾜｰﾄﾞ："), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    TxtPw = new QLineEdit(this);
    TxtPw->setObjectName(QStringLiteral("TxtPw"));
    TxtPw->setEchoMode(QLineEdit::Password); // also keeps the input method off
    CmdOK = new QPushButton(QStringLiteral("OK"), this);
    CmdOK->setObjectName(QStringLiteral("CmdOK"));
    CmdOK->setDefault(true);
    Command2 = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));

    auto *grid = new QGridLayout(this);
    grid->addWidget(Image1, 0, 0, 2, 1, Qt::AlignTop);
    grid->addWidget(Label2, 0, 1, 1, 2);
    grid->addWidget(Label1, 1, 1);
    grid->addWidget(TxtPw, 1, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CmdOK);
    buttons->addWidget(Command2);
    grid->addLayout(buttons, 2, 0, 1, 3);

    connect(TxtPw, &QLineEdit::textEdited, this,
            [this](const QString &t) { m_window.frmPw().editQuietly([&](PwView &v) { v.TxtPw = t; }); });
    connect(TxtPw, &QLineEdit::returnPressed, this, [this] { m_window.cmdOkClick(); });
    connect(CmdOK, &QPushButton::clicked, this, [this] { m_window.cmdOkClick(); });
    connect(Command2, &QPushButton::clicked, this, [this] { m_window.command2Click(); });

    PwWindowModel &model = window.frmPw();
    shell::followModel(*this, model, context.opt, [this, &model] {
        setWindowTitle(model.caption());
        const QIcon icon = shell::pictureFor(core::IconId::normal(m_context.iconSet()));
        setWindowIcon(icon);
        Image1->setPixmap(icon.pixmap(32));
        if (TxtPw->text() != model.view().TxtPw)
            TxtPw->setText(model.view().TxtPw);
        TxtPw->setFocus();
    });
    adjustSize();
    setFixedSize(sizeHint());
}

void FrmPw::closeEvent(QCloseEvent *event)
{
    event->ignore();
    m_window.command2Click();
}

} // namespace settings
