#include "gui/shell/aboutwindow.h"

#include "gui/kit/defaultbutton.h"
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
    label.setPixmap(kit::pictureFor(id).pixmap(kit::px(kPicture)));
}

} // namespace

AboutWindow::AboutWindow(core::Context &context, core::About &about) : m_about(about)
{
    setObjectName(QStringLiteral("FrmVersion"));
    setWindowFlags(kit::kFixedDialog);

    shownPicture = label(this, "Image1");
    receivedFrame = label(this, "Image2");
    normalFrame = label(this, "Image3");
    startPicture = label(this, "ImgStart");
    endPicture = label(this, "ImgEnd");
    for (QLabel *store : {receivedFrame, normalFrame, startPicture, endPicture}) {
        kit::place(*store, {0, 0, kPicture, kPicture});
        store->hide();
    }
    kit::place(*shownPicture, {360, 360, kPicture, kPicture});

    productLabel = label(this, "Label1");
    QFont productFont = productLabel->font();
    productFont.setBold(true);
    productFont.setPointSizeF(productFont.pointSizeF() * 1.4);
    productLabel->setFont(productFont);
    versionLabel = label(this, "Label2");
    authorLabel = label(this, "Label3");
    contactLabel = label(this, "Label4");
    upperLine = line(this, "Line1");
    lowerLine = line(this, "Line2");
    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("Command1"));
    kit::pressWithEnter(*this, *okButton);
    connect(okButton, &QPushButton::clicked, this, [this] { m_about.close(); });

    kit::followModel(*this, about.window(), context.opt, [this] { refresh(); });
}

void AboutWindow::refresh()
{
    const core::AboutWindowModel &m = m_about.window();
    const core::AboutView &v = m.view();
    setWindowTitle(m.caption());
    setWindowIcon(kit::pictureFor(m.icon()));
    showPicture(*shownPicture, v.shownPicture);
    showPicture(*receivedFrame, v.receivedFrame);
    showPicture(*normalFrame, v.normalFrame);
    showPicture(*startPicture, v.startPicture);
    showPicture(*endPicture, v.endPicture);
    productLabel->setText(v.productName);
    versionLabel->setText(v.version);
    authorLabel->setText(v.author);
    contactLabel->setText(v.contact);

    // The product and version to the right of the picture, OK at the right edge; the author block
    // between the two lines below. Each text takes the room it needs and the rest makes way.
    kit::placeAtLeast(*productLabel, {1080, 300, 1800, 300});
    kit::placeAtLeast(*versionLabel, {1080, 660, 1800, 240});
    const int textRight = std::max(productLabel->geometry().right(), versionLabel->geometry().right());
    kit::placeAtLeast(*okButton, {std::max(2940, kit::tw(textRight) + 240), 360, 975, 375});
    kit::placeAtLeast(*authorLabel, {480, 1230, 3480, 240});
    kit::placeAtLeast(*contactLabel, {480, 1530, 3480, 240});
    const int clientTwips = std::max({kClientWidth, kit::tw(okButton->geometry().right()) + 180,
                                      kit::tw(authorLabel->geometry().right()) + 180,
                                      kit::tw(contactLabel->geometry().right()) + 180});
    kit::place(*upperLine, {120, 1080, clientTwips - 240, 60});
    const int line2Top = std::max(1890, kit::tw(contactLabel->geometry().bottom()) + 90);
    kit::place(*lowerLine, {120, line2Top, clientTwips - 240, 60});
    kit::fitClientArea(*this, clientTwips, std::max(kClientHeight, line2Top + 270));
}

void AboutWindow::closeEvent(QCloseEvent *event)
{
    event->ignore();
    m_about.close();
}

} // namespace shell
