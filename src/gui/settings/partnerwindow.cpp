#include "gui/settings/partnerwindow.h"

#include "gui/kit/defaultbutton.h"
#include "gui/kit/dialogfit.h"
#include "gui/kit/modelwindow.h"
#include "gui/kit/pictures.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace settings {
namespace {

constexpr int kPicture = 32;

QLabel *makePicture(QWidget *parent, const char *name, const QIcon &icon)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setPixmap(icon.pixmap(kPicture));
    label->setFixedSize(kPicture, kPicture);
    return label;
}

} // namespace

PartnerWindow::PartnerWindow(core::Context &context, Partner &partner)
    : m_context(context), m_partner(partner)
{
    setObjectName(QStringLiteral("FrmAddress"));
    setWindowFlags(kit::kFixedDialog);

    frame = new QGroupBox(QStringLiteral("相手のｱﾄﾞﾚｽ"), this);
    frame->setObjectName(QStringLiteral("Frame1"));
    nameCaption = new QLabel(QStringLiteral("名　　前"), frame);
    nameCaption->setObjectName(QStringLiteral("Label1"));
    name = new QLineEdit(frame);
    name->setObjectName(QStringLiteral("TxtName1"));
    addressCaption = new QLabel(QStringLiteral("ＩＰｱﾄﾞﾚｽ"), frame);
    addressCaption->setObjectName(QStringLiteral("Label2"));
    address = new QLineEdit(frame);
    address->setObjectName(QStringLiteral("TxtIp1"));
    auto *fields = new QGridLayout(frame);
    fields->addWidget(nameCaption, 0, 0);
    fields->addWidget(name, 0, 1);
    fields->addWidget(addressCaption, 1, 0);
    fields->addWidget(address, 1, 1);

    registerButton = new QPushButton(QStringLiteral("登録"), this);
    registerButton->setObjectName(QStringLiteral("CmdOk"));
    kit::pressWithEnter(*this, *registerButton);
    closeButton = new QPushButton(QStringLiteral("閉じる"), this);
    closeButton->setObjectName(QStringLiteral("CmdCancel"));
    checkButton = new QPushButton(QStringLiteral("存在確認"), this);
    checkButton->setObjectName(QStringLiteral("CmdCheck"));
    pairButton = new QPushButton(QStringLiteral("暗号化…"), this);
    pairButton->setObjectName(QStringLiteral("CmdPair"));
    checkResult = new QLabel(this);
    checkResult->setObjectName(QStringLiteral("LblCheck"));
    checkResult->setMinimumWidth(
        checkResult->fontMetrics().horizontalAdvance(QStringLiteral("いないね～！")) + 8);

    picture = makePicture(this, "Image1", kit::pictureFor(core::IconId::normal(0)));
    mutualPicture = makePicture(this, "Image2", kit::presencePicture(kit::Presence::Mutual));
    oneSidedPicture = makePicture(this, "Image3", kit::presencePicture(kit::Presence::OneSided));
    nobodyPicture = makePicture(this, "Image4", kit::presencePicture(kit::Presence::Nobody));

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(registerButton);
    buttons->addWidget(closeButton);
    buttons->addStretch();
    buttons->addWidget(pairButton);
    auto *top = new QHBoxLayout;
    top->addWidget(picture, 0, Qt::AlignTop);
    top->addWidget(frame, 1);
    top->addLayout(buttons);
    auto *check = new QHBoxLayout;
    check->addWidget(checkButton);
    check->addWidget(checkResult, 1);
    // The three answers share one place: at most one of them shows.
    auto *answer = new QGridLayout;
    answer->addWidget(mutualPicture, 0, 0);
    answer->addWidget(oneSidedPicture, 0, 0);
    answer->addWidget(nobodyPicture, 0, 0);
    check->addLayout(answer);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(check);

    connect(name, &QLineEdit::textEdited, this, [this](const QString &t) {
        m_partner.window().editQuietly([&](PartnerView &v) { v.name = t; });
    });
    connect(address, &QLineEdit::textEdited, this, [this](const QString &t) {
        m_partner.window().editQuietly([&](PartnerView &v) { v.address = t; });
    });
    connect(registerButton, &QPushButton::clicked, this, [this] { m_partner.registerPartner(); });
    connect(closeButton, &QPushButton::clicked, this, [this] { m_partner.close(); });
    connect(checkButton, &QPushButton::clicked, this, [this] { m_partner.checkPresence(); });
    connect(pairButton, &QPushButton::clicked, this, [this] { m_partner.requestPairing(); });

    kit::followModel(*this, m_partner.window(), m_context.opt, [this] { refresh(); });
    adjustSize();
    setFixedSize(sizeHint());
}

void PartnerWindow::refresh()
{
    const PartnerWindowModel &model = m_partner.window();
    const PartnerView &v = model.view();
    setWindowTitle(model.caption());
    setWindowIcon(kit::pictureFor(model.icon()));
    picture->setPixmap(kit::pictureFor(model.icon()).pixmap(kPicture));
    if (name->text() != v.name)
        name->setText(v.name);
    if (address->text() != v.address)
        address->setText(v.address);
    checkResult->setText(v.checkResult);
    checkResult->setToolTip(v.checkHint);
    nobodyPicture->setToolTip(v.checkHint);
    for (auto [label, shown] :
         {std::pair{mutualPicture, v.answeredMutual}, std::pair{oneSidedPicture, v.answeredOneSided},
          std::pair{nobodyPicture, v.answeredNobody}}) {
        // Hidden pictures keep their room, so the window does not change size with the answer.
        QSizePolicy policy = label->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        label->setSizePolicy(policy);
        label->setVisible(shown);
    }
}

void PartnerWindow::closeEvent(QCloseEvent *event)
{
    // Closing unloads the window; the shell takes the widget away with it.
    event->ignore();
    m_partner.close();
}

} // namespace settings
