#include "gui/settings/iconselectionwindow.h"

#include "gui/kit/defaultbutton.h"
#include "gui/kit/dialogfit.h"
#include "gui/kit/modelwindow.h"
#include "gui/kit/pictures.h"
#include "gui/kit/twipsgeometry.h"

#include <QCloseEvent>

namespace settings {
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
    kit::place(*label, {left, top, kPicture, kPicture});
    return label;
}

} // namespace

IconSelectionWindow::IconSelectionWindow(core::Context &context, settings::IconSelection &selection)
    : m_selection(selection)
{
    setObjectName(QStringLiteral("FrmOption"));
    setWindowFlags(kit::kFixedDialog);

    // Sets 0-4 fill the first column top to bottom, 5-9 the second.
    for (int i = 0; i < core::kIconSets; ++i) {
        const int left = kColumnLefts[i / 5];
        const int top = kRowTops[i % 5];
        auto *option = new QRadioButton(this);
        option->setObjectName(QStringLiteral("Option1(%1)").arg(i));
        kit::place(*option, {left, top, 255, 495});
        m_group.addButton(option, i);
        setButtons[static_cast<std::size_t>(i)] = option;
        normalPictures[static_cast<std::size_t>(i)] =
            picture(this, QStringLiteral("Image1(%1)").arg(i), left + 360, top);
        receivedPictures[static_cast<std::size_t>(i)] =
            picture(this, QStringLiteral("Image2(%1)").arg(i), left + 960, top);
    }
    m_group.setExclusive(true);
    connect(&m_group, &QButtonGroup::idClicked, this, [this](int set) { m_selection.select(set); });

    separator = new QFrame(this);
    separator->setObjectName(QStringLiteral("Line1"));
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);
    kit::place(*separator, {120, 3390, kClientWidth - 240, 60});

    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("CmdOK"));
    kit::pressWithEnter(*this, *okButton);
    cancelButton = new QPushButton(QStringLiteral("閉じる"), this);
    cancelButton->setObjectName(QStringLiteral("CmdCancel"));
    kit::placeAtLeast(*okButton, {240, 3600, 1575, 375});
    kit::placeAtLeast(*cancelButton, {2040, 3600, 1575, 375});
    connect(okButton, &QPushButton::clicked, this, [this] { m_selection.apply(); });
    connect(cancelButton, &QPushButton::clicked, this, [this] { m_selection.close(); });
    kit::fitClientArea(*this, kClientWidth, kClientHeight);

    // The window is placed whatever its state, so a minimised one comes back to be placed.
    connect(&selection.window, &core::WindowModel::visibilityChanged, this, [this](bool visible) {
        if (visible)
            setWindowState(windowState() & ~Qt::WindowMinimized);
    });
    kit::followModel(*this, selection.window, context.opt, [this] { refresh(); });
}

void IconSelectionWindow::refresh()
{
    const settings::IconSelectionWindowModel &m = m_selection.window;
    setWindowTitle(m.caption());
    setWindowIcon(kit::pictureFor(m.icon()));
    if (QAbstractButton *chosen = m_group.button(m.view().selectedSet))
        chosen->setChecked(true);
}

void IconSelectionWindow::showEvent(QShowEvent *event)
{
    // The twenty pictures are drawn when the window is first shown, not at start-up, where the
    // window is made hidden and most users never open it.
    if (normalPictures[0]->pixmap().isNull()) {
        for (int i = 0; i < core::kIconSets; ++i) {
            const auto at = static_cast<std::size_t>(i);
            normalPictures[at]->setPixmap(kit::pictureFor(core::IconId::normal(i)).pixmap(kit::px(kPicture)));
            receivedPictures[at]->setPixmap(
                kit::pictureFor(core::IconId::received(i)).pixmap(kit::px(kPicture)));
        }
    }
    QWidget::showEvent(event);
}

void IconSelectionWindow::closeEvent(QCloseEvent *event)
{
    event->ignore();
    m_selection.close();
}

} // namespace settings
