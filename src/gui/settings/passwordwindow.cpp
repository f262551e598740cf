#include "gui/settings/passwordwindow.h"

#include "gui/kit/defaultbutton.h"
#include "gui/kit/dialogfit.h"
#include "gui/kit/modelwindow.h"
#include "gui/kit/pictures.h"
#include "gui/kit/textbox.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>

namespace settings {

PasswordWindow::PasswordWindow(core::Context &context, PasswordPrompt &prompt) : m_prompt(prompt)
{
    setObjectName(QStringLiteral("FrmPw"));
    setWindowFlags(kit::kFixedDialog);
    noteLabel = new QLabel(QStringLiteral("ﾊﾟｽﾜｰﾄﾞを入力してください。"), this);
    noteLabel->setObjectName(QStringLiteral("Label2"));
    promptLabel = new QLabel(QStringLiteral("ﾊﾟｽﾜｰﾄﾞ："), this);
    promptLabel->setObjectName(QStringLiteral("Label1"));
    password = new QLineEdit(this);
    password->setObjectName(QStringLiteral("TxtPw"));
    kit::maskWithStars(*password); // a password box also keeps the input method off
    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("CmdOK"));
    kit::pressWithEnter(*this, *okButton);
    cancelButton = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    cancelButton->setObjectName(QStringLiteral("Command2"));
    picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Image1"));

    auto *grid = new QGridLayout(this);
    grid->addWidget(picture, 0, 0, 2, 1, Qt::AlignTop);
    grid->addWidget(noteLabel, 0, 1, 1, 2);
    grid->addWidget(promptLabel, 1, 1);
    grid->addWidget(password, 1, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    grid->addLayout(buttons, 2, 0, 1, 3);

    connect(password, &QLineEdit::textEdited, this, [this](const QString &t) {
        m_prompt.window().editQuietly([&](PasswordView &v) { v.password = t; });
    });
    connect(okButton, &QPushButton::clicked, this, [this] { m_prompt.submit(); });
    connect(cancelButton, &QPushButton::clicked, this, [this] { m_prompt.cancel(); });

    PasswordWindowModel &model = prompt.window();
    kit::followModel(*this, model, context.opt, [this, &model] {
        setWindowTitle(model.caption());
        const QIcon icon = kit::pictureFor(model.icon());
        setWindowIcon(icon);
        picture->setPixmap(icon.pixmap(32));
        if (password->text() != model.view().password)
            password->setText(model.view().password);
        password->setFocus();
    });
    adjustSize();
    setFixedSize(sizeHint());
}

void PasswordWindow::closeEvent(QCloseEvent *event)
{
    event->ignore();
    m_prompt.cancel();
}

} // namespace settings
