#include "gui/shell/frmversion.h"

#include "gui/kit/dialogfit.h"
#include "gui/kit/modelwindow.h"
#include "gui/kit/pictures.h"
#include "gui/kit/twipsgeometry.h"

#include <QCloseEvent>

#include <algorithm>

namespace shell {
namespace {

constexpr int kClientWidth = 4155;
constexpr int kClientHeight = 2160;
constexpr int kPicture = 480;

QLabel *label(QWidget *parent, const char *name)
{
    auto *l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

QFrame *line(QWidget *parent, const char *name)
{
    auto *l = new QFrame(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setFrameShape(QFrame::HLine);
    l->setFrameShadow(QFrame::Sunken);
    return l;
}

void showPicture(QLabel &label, core::IconId id)
{
    label.setPixmap(pictureFor(id).pixmap(px(kPicture)));
}

} // namespace

FrmVersion::FrmVersion(core::Context &context, core::About &about) : m_about(about)
{
    setObjectName(QStringLiteral("FrmVersion"));
    // A fixed box with a close box only: nothing to minimise or maximise.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);

    Image1 = label(this, "Image1");
    Image2 = label(this, "Image2");
    Image3 = label(this, "Image3");
    ImgStart = label(this, "ImgStart");
    ImgEnd = label(this, "ImgEnd");
    for (QLabel *store : {Image2, Image3, ImgStart, ImgEnd}) {
        place(*store, {0, 0, kPicture, kPicture});
        store->hide();
    }
    place(*Image1, {360, 360, kPicture, kPicture});

    Label1 = label(this, "Label1");
    QFont productFont = Label1->font();
    productFont.setBold(true);
    productFont.setPointSizeF(productFont.pointSizeF() * 1.4);
    Label1->setFont(productFont);
    Label2 = label(this, "Label2");
    Label3 = label(this, "Label3");
    Label4 = label(this, "Label4");
    Line1 = line(this, "Line1");
    Line2 = line(this, "Line2");
    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    connect(Command1, &QPushButton::clicked, this, [this] { m_about.command1Click(); });

    followModel(*this, about.frmVersion(), context.opt, [this] { refresh(); });
}

void FrmVersion::refresh()
{
    const core::VersionWindowModel &m = m_about.frmVersion();
    const core::VersionView &v = m.view();
    setWindowTitle(m.caption());
    setWindowIcon(pictureFor(m.icon()));
    showPicture(*Image1, v.image1);
    showPicture(*Image2, v.image2);
    showPicture(*Image3, v.image3);
    showPicture(*ImgStart, v.imgStart);
    showPicture(*ImgEnd, v.imgEnd);
    Label1->setText(v.label1);
    Label2->setText(v.label2);
    Label3->setText(v.label3);
    Label4->setText(v.label4);

    // The product and version to the right of the picture, OK at the right edge; the author block
    // between the two lines below. Each text takes the room it needs and the rest makes way.
    placeAtLeast(*Label1, {1080, 300, 1800, 300});
    placeAtLeast(*Label2, {1080, 660, 1800, 240});
    const int textRight = std::max(Label1->geometry().right(), Label2->geometry().right());
    placeAtLeast(*Command1, {std::max(2940, tw(textRight) + 240), 360, 975, 375});
    placeAtLeast(*Label3, {480, 1230, 3480, 240});
    placeAtLeast(*Label4, {480, 1530, 3480, 240});
    const int clientTwips =
        std::max({kClientWidth, tw(Command1->geometry().right()) + 180, tw(Label3->geometry().right()) + 180,
                  tw(Label4->geometry().right()) + 180});
    place(*Line1, {120, 1080, clientTwips - 240, 60});
    const int line2Top = std::max(1890, tw(Label4->geometry().bottom()) + 90);
    place(*Line2, {120, line2Top, clientTwips - 240, 60});
    fitClientArea(*this, clientTwips, std::max(kClientHeight, line2Top + 270));
}

void FrmVersion::closeEvent(QCloseEvent *event)
{
    event->ignore();
    m_about.command1Click();
}

} // namespace shell
