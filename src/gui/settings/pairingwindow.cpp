#include "gui/settings/pairingwindow.h"

#include "gui/kit/dialogfit.h"
#include "gui/kit/modelwindow.h"
#include "gui/kit/pictures.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace settings {

PairingWindow::PairingWindow(core::Context &context, Pairing &pairing) : m_pairing(pairing)
{
    setObjectName(QStringLiteral("FrmPair"));
    setWindowFlags(kit::kFixedDialog);

    status = new QLabel(this);
    status->setObjectName(QStringLiteral("LblStatus"));
    status->setWordWrap(true);
    QFont bold = status->font();
    bold.setBold(true);
    status->setFont(bold);

    auto *showFrame = new QGroupBox(QStringLiteral("こちらでコードを表示する"), this);
    showButton = new QPushButton(QStringLiteral("コードを表示"), showFrame);
    showButton->setObjectName(QStringLiteral("CmdShow"));
    code = new QLabel(showFrame);
    code->setObjectName(QStringLiteral("LblCode"));
    code->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // Digits of one width, large enough to read across a desk.
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSizeF(fixed.pointSizeF() * 1.6);
    code->setFont(fixed);
    code->setMinimumWidth(QFontMetrics(fixed).horizontalAdvance(QStringLiteral("0000-0000-0000-0000-0000")) +
                          8);
    auto *showRow = new QHBoxLayout(showFrame);
    showRow->addWidget(showButton);
    showRow->addWidget(code, 1);

    auto *typeFrame = new QGroupBox(QStringLiteral("お相手に表示されたコードを入力する"), this);
    typed = new QLineEdit(typeFrame);
    typed->setObjectName(QStringLiteral("TxtCode"));
    typed->setPlaceholderText(QStringLiteral("0000-0000-0000-0000-0000"));
    enterButton = new QPushButton(QStringLiteral("暗号化する"), typeFrame);
    enterButton->setObjectName(QStringLiteral("CmdEnter"));
    auto *typeRow = new QHBoxLayout(typeFrame);
    typeRow->addWidget(typed, 1);
    typeRow->addWidget(enterButton);

    result = new QLabel(this);
    result->setObjectName(QStringLiteral("LblResult"));
    result->setWordWrap(true);
    dropped = new QLabel(this);
    dropped->setObjectName(QStringLiteral("LblDropped"));
    dropped->setWordWrap(true);
    unpairButton = new QPushButton(QStringLiteral("解除"), this);
    unpairButton->setObjectName(QStringLiteral("CmdUnpair"));
    closeButton = new QPushButton(QStringLiteral("閉じる"), this);
    closeButton->setObjectName(QStringLiteral("CmdCancel"));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(unpairButton);
    buttons->addStretch();
    buttons->addWidget(closeButton);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(status);
    layout->addWidget(showFrame);
    layout->addWidget(typeFrame);
    layout->addWidget(result);
    layout->addWidget(dropped);
    layout->addLayout(buttons);

    // Deriving the key takes a moment: the cursor says so.
    auto busy = [](const std::function<void()> &step) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        step();
        QApplication::restoreOverrideCursor();
    };
    connect(typed, &QLineEdit::textEdited, this, [this](const QString &t) {
        m_pairing.window().editQuietly([&](PairingView &v) { v.typed = t; });
    });
    connect(typed, &QLineEdit::returnPressed, enterButton, &QPushButton::click);
    connect(showButton, &QPushButton::clicked, this,
            [this, busy] { busy([this] { m_pairing.showCode(); }); });
    connect(enterButton, &QPushButton::clicked, this,
            [this, busy] { busy([this] { m_pairing.enterCode(); }); });
    connect(unpairButton, &QPushButton::clicked, this, [this] { m_pairing.unpair(); });
    connect(closeButton, &QPushButton::clicked, this, [this] { m_pairing.close(); });

    kit::followModel(*this, m_pairing.window(), context.opt, [this] { refresh(); });
    setMinimumWidth(480);
    adjustSize();
}

void PairingWindow::refresh()
{
    const PairingWindowModel &model = m_pairing.window();
    const PairingView &v = model.view();
    setWindowTitle(model.caption());
    setWindowIcon(kit::pictureFor(model.icon()));
    status->setText(v.status);
    code->setText(v.code);
    if (typed->text() != v.typed)
        typed->setText(v.typed);
    result->setText(v.result);
    result->setVisible(!v.result.isEmpty());
    dropped->setText(v.dropped);
    dropped->setVisible(!v.dropped.isEmpty());
    unpairButton->setEnabled(v.sealed);
}

void PairingWindow::closeEvent(QCloseEvent *event)
{
    event->ignore();
    m_pairing.close();
}

} // namespace settings
