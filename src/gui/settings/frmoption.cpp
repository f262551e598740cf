#include "gui/settings/frmoption.h"

#include "gui/kit/dialogfit.h"
#include "gui/kit/modelwindow.h"
#include "gui/kit/pictures.h"
#include "gui/kit/twipsgeometry.h"

#include <QCloseEvent>

namespace shell {
namespace {

constexpr int kClientWidth = 3855;
constexpr int kClientHeight = 4080;
constexpr int kPicture = 480;
constexpr int kRowTops[] = {360, 960, 1560, 2160, 2760};
constexpr int kColumnLefts[] = {240, 2040};

QLabel *picture(QWidget *parent, const QString &name, int left, int top)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignCenter);
    place(*label, {left, top, kPicture, kPicture});
    return label;
}

} // namespace

FrmOption::FrmOption(core::Context &context, settings::IconSelection &selection) : m_selection(selection)
{
    setObjectName(QStringLiteral("FrmOption"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);

    // Sets 0-4 fill the first column top to bottom, 5-9 the second.
    for (int i = 0; i < core::kIconSets; ++i) {
        const int left = kColumnLefts[i / 5];
        const int top = kRowTops[i % 5];
        auto *option = new QRadioButton(this);
        option->setObjectName(QStringLiteral("Option1(%1)").arg(i));
        place(*option, {left, top, 255, 495});
        m_group.addButton(option, i);
        Option1[static_cast<std::size_t>(i)] = option;
        Image1[static_cast<std::size_t>(i)] =
            picture(this, QStringLiteral("Image1(%1)").arg(i), left + 360, top);
        Image2[static_cast<std::size_t>(i)] =
            picture(this, QStringLiteral("Image2(%1)").arg(i), left + 960, top);
    }
    m_group.setExclusive(true);
    connect(&m_group, &QButtonGroup::idClicked, this, [this](int set) { m_selection.option1Click(set); });

    Line1 = new QFrame(this);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Sunken);
    place(*Line1, {120, 3390, kClientWidth - 240, 60});

    CmdOK = new QPushButton(QStringLiteral("OK"), this);
    CmdOK->setObjectName(QStringLiteral("CmdOK"));
    CmdOK->setDefault(true);
    CmdCancel = new QPushButton(QStringLiteral("閉じる"), this);
    CmdCancel->setObjectName(QStringLiteral("CmdCancel"));
    placeAtLeast(*CmdOK, {240, 3600, 1575, 375});
    placeAtLeast(*CmdCancel, {2040, 3600, 1575, 375});
    connect(CmdOK, &QPushButton::clicked, this, [this] { m_selection.cmdOkClick(); });
    connect(CmdCancel, &QPushButton::clicked, this, [this] { m_selection.cmdCancelClick(); });
    fitClientArea(*this, kClientWidth, kClientHeight);

    // The window is placed whatever its state, so a minimised one comes back to be placed.
    connect(&selection.frmOption, &core::WindowModel::visibilityChanged, this, [this](bool visible) {
        if (visible)
            setWindowState(windowState() & ~Qt::WindowMinimized);
    });
    followModel(*this, selection.frmOption, context.opt, [this] { refresh(); });
}

void FrmOption::refresh()
{
    const settings::IconSelectionWindowModel &m = m_selection.frmOption;
    setWindowTitle(m.caption());
    setWindowIcon(pictureFor(m.icon()));
    if (QAbstractButton *chosen = m_group.button(m.view().option1))
        chosen->setChecked(true);
}

void FrmOption::showEvent(QShowEvent *event)
{
    // The twenty pictures are drawn when the window is first shown, not at start-up, where the
    // window is made hidden and most users never open it.
    if (Image1[0]->pixmap().isNull()) {
        for (int i = 0; i < core::kIconSets; ++i) {
            const auto at = static_cast<std::size_t>(i);
            Image1[at]->setPixmap(pictureFor(core::IconId::normal(i)).pixmap(px(kPicture)));
            Image2[at]->setPixmap(pictureFor(core::IconId::received(i)).pixmap(px(kPicture)));
        }
    }
    QWidget::showEvent(event);
}

void FrmOption::closeEvent(QCloseEvent *event)
{
    event->ignore();
    m_selection.cmdCancelClick();
}

} // namespace shell
