#include "gui/settings/frmaddress.h"

#include "gui/kit/modelwindow.h"
#include "gui/kit/pictures.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace settings {
namespace {

constexpr int kPicture = 32;

QLabel *picture(QWidget *parent, const char *name, const QIcon &icon)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setPixmap(icon.pixmap(kPicture));
    label->setFixedSize(kPicture, kPicture);
    return label;
}

} // namespace

FrmAddress::FrmAddress(core::Context &context, Partner &partner) : m_context(context), m_partner(partner)
{
    setObjectName(QStringLiteral("FrmAddress"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);

    Frame1 = new QGroupBox(QStringLiteral("相手のｱﾄﾞﾚｽ"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Label1 = new QLabel(QStringLiteral("名　　前"), Frame1);
    Label1->setObjectName(QStringLiteral("Label1"));
    TxtName1 = new QLineEdit(Frame1);
    TxtName1->setObjectName(QStringLiteral("TxtName1"));
    Label2 = new QLabel(QStringLiteral("ＩＰｱﾄﾞﾚｽ"), Frame1);
    Label2->setObjectName(QStringLiteral("Label2"));
    TxtIp1 = new QLineEdit(Frame1);
    TxtIp1->setObjectName(QStringLiteral("TxtIp1"));
    auto *fields = new QGridLayout(Frame1);
    fields->addWidget(Label1, 0, 0);
    fields->addWidget(TxtName1, 0, 1);
    fields->addWidget(Label2, 1, 0);
    fields->addWidget(TxtIp1, 1, 1);

    CmdOk = new QPushButton(QStringLiteral("登録"), this);
    CmdOk->setObjectName(QStringLiteral("CmdOk"));
    CmdOk->setDefault(true);
    CmdCancel = new QPushButton(QStringLiteral("閉じる"), this);
    CmdCancel->setObjectName(QStringLiteral("CmdCancel"));
    CmdCheck = new QPushButton(QStringLiteral("存在確認"), this);
    CmdCheck->setObjectName(QStringLiteral("CmdCheck"));
    LblCheck = new QLabel(this);
    LblCheck->setObjectName(QStringLiteral("LblCheck"));
    LblCheck->setMinimumWidth(LblCheck->fontMetrics().horizontalAdvance(QStringLiteral("いないね～！")) + 8);

    Image1 = picture(this, "Image1", shell::pictureFor(core::IconId::normal(0)));
    Image2 = picture(this, "Image2", shell::presencePicture(shell::Presence::Mutual));
    Image3 = picture(this, "Image3", shell::presencePicture(shell::Presence::OneSided));
    Image4 = picture(this, "Image4", shell::presencePicture(shell::Presence::Nobody));

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(CmdOk);
    buttons->addWidget(CmdCancel);
    buttons->addStretch();
    auto *top = new QHBoxLayout;
    top->addWidget(Image1, 0, Qt::AlignTop);
    top->addWidget(Frame1, 1);
    top->addLayout(buttons);
    auto *check = new QHBoxLayout;
    check->addWidget(CmdCheck);
    check->addWidget(LblCheck, 1);
    // The three answers share one place: at most one of them shows.
    auto *answer = new QGridLayout;
    answer->addWidget(Image2, 0, 0);
    answer->addWidget(Image3, 0, 0);
    answer->addWidget(Image4, 0, 0);
    check->addLayout(answer);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(check);

    connect(TxtName1, &QLineEdit::textEdited, this, [this](const QString &t) {
        m_context.frmAddress().editQuietly([&](core::AddressView &v) { v.txtName1 = t; });
    });
    connect(TxtIp1, &QLineEdit::textEdited, this, [this](const QString &t) {
        m_context.frmAddress().editQuietly([&](core::AddressView &v) { v.txtIp1 = t; });
    });
    connect(CmdOk, &QPushButton::clicked, this, [this] { m_partner.cmdOkClick(); });
    connect(CmdCancel, &QPushButton::clicked, this, [this] { m_partner.cmdCancelClick(); });
    connect(CmdCheck, &QPushButton::clicked, this, [this] { m_partner.cmdCheckClick(); });

    shell::followModel(*this, m_context.frmAddress(), m_context.opt, [this] { refresh(); });
    adjustSize();
    setFixedSize(sizeHint());
}

void FrmAddress::refresh()
{
    const core::AddressWindowModel &model = m_context.frmAddress();
    const core::AddressView &v = model.view();
    setWindowTitle(model.caption());
    setWindowIcon(shell::pictureFor(model.icon()));
    Image1->setPixmap(shell::pictureFor(model.icon()).pixmap(kPicture));
    if (TxtName1->text() != v.txtName1)
        TxtName1->setText(v.txtName1);
    if (TxtIp1->text() != v.txtIp1)
        TxtIp1->setText(v.txtIp1);
    LblCheck->setText(v.lblCheck);
    for (auto [label, shown] :
         {std::pair{Image2, v.image2}, std::pair{Image3, v.image3}, std::pair{Image4, v.image4}}) {
        // Hidden pictures keep their room, so the window does not change size with the answer.
        QSizePolicy policy = label->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        label->setSizePolicy(policy);
        label->setVisible(shown);
    }
}

void FrmAddress::closeEvent(QCloseEvent *event)
{
    // Closing unloads the window; the shell takes the widget away with it.
    event->ignore();
    m_partner.cmdCancelClick();
}

} // namespace settings
