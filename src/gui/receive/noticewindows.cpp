#include "gui/receive/noticewindows.h"

#include "gui/kit/defaultbutton.h"
#include "gui/kit/dialogfit.h"
#include "gui/kit/modelwindow.h"
#include "gui/kit/pictures.h"
#include "gui/kit/placement.h"
#include "gui/kit/twipsgeometry.h"

#include <QCloseEvent>

namespace receive {
namespace {

QLabel *label(QWidget *parent, const char *name)
{
    auto *l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

// Makes a notice follow its model, with the label places of its design.
template <typename View>
void followNotice(NoticeWindow &w, core::ViewModel<View> &model, const core::Options &opt, int labelLeft,
                  int labelWidth, int dateWidth, int timeWidth)
{
    auto refresh = [&w, &model, labelLeft, labelWidth, dateWidth, timeWidth] {
        const View &v = model.view();
        w.setWindowTitle(model.caption());
        w.setWindowIcon(kit::pictureFor(model.icon()));
        w.picture->setPixmap(kit::pictureFor(model.icon()).pixmap(kit::px(480)));
        w.textLabel->setText(v.text);
        w.dateLabel->setText(v.date);
        w.timeLabel->setText(v.time);
        kit::placeAtLeast(*w.textLabel, {labelLeft, 240, labelWidth, 180});
        // A text of more than one line pushes the date, the time and OK down below it.
        const int below = std::max(0, kit::tw(w.textLabel->geometry().bottom()) - (240 + 180));
        kit::place(*w.okButton, {2520, 600 + below, 1095, 340});
        kit::placeAtLeast(*w.dateLabel, {480, 720 + below, dateWidth, 180});
        kit::placeAtLeast(*w.timeLabel, {std::max(1440, kit::tw(w.dateLabel->geometry().right()) + 120),
                                         720 + below, timeWidth, 180});
        kit::fitClientArea(w, 3945, 1125);
    };
    kit::followModel(w, model, opt, refresh);
}

} // namespace

NoticeWindow::NoticeWindow(core::WindowSlotBase &slot) : m_slot(slot)
{
    setWindowFlags(kit::kFixedDialog);
    kit::setPlacementKind(*this, QStringLiteral("notice"));
    // A notice must not take a keystroke meant for the window the user is typing in.
    setAttribute(Qt::WA_ShowWithoutActivating);
    picture = label(this, "Image1");
    textLabel = label(this, "Label1");
    dateLabel = label(this, "Label2");
    timeLabel = label(this, "Label3");
    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("CmdOK"));
    kit::pressWithEnter(*this, *okButton);
    kit::place(*picture, {240, 120, 480, 480});
    connect(okButton, &QPushButton::clicked, this, [this] { m_slot.unload(); });
}

void NoticeWindow::closeEvent(QCloseEvent *event)
{
    event->ignore();
    m_slot.unload();
}

SendResultNotice::SendResultNotice(send::SendNotices &notices, const core::Options &options)
    : NoticeWindow(notices.sendResultSlot())
{
    setObjectName(QStringLiteral("FrmSndOK"));
    followNotice(*this, notices.sendResult(), options, 960, 2685, 720, 450);
}

ReactionNotice::ReactionNotice(send::SendNotices &notices, const core::Options &options)
    : NoticeWindow(notices.reactionSlot())
{
    setObjectName(QStringLiteral("FrmRcvOK"));
    followNotice(*this, notices.reaction(), options, 1200, 2235, 615, 405);
}

SmallNotice::SmallNotice(send::SendNotices &notices, const core::Options &options) : m_notices(notices)
{
    setObjectName(QStringLiteral("FrmSROK"));
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setBackgroundRole(QPalette::Window);
    setAutoFillBackground(true);
    deliveryPicture = label(this, "Image1");
    reactionPicture = label(this, "Image2");
    timeLabel = label(this, "Label1");
    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("Command1"));
    connect(okButton, &QPushButton::clicked, this, [this] { m_notices.smallSlot().unload(); });
    kit::place(*deliveryPicture, {0, 120, 480, 480});
    kit::place(*reactionPicture, {0, 0, 480, 480});
    send::SmallNoticeWindowModel &model = notices.small();
    kit::followModel(*this, model, options, [this, &model] {
        const int set = model.icon().index;
        deliveryPicture->setPixmap(kit::pictureFor(core::IconId::normal(set)).pixmap(kit::px(480)));
        reactionPicture->setPixmap(kit::pictureFor(core::IconId::received(set)).pixmap(kit::px(480)));
        deliveryPicture->setVisible(model.view().showsDelivery);
        reactionPicture->setVisible(model.view().showsReaction);
        timeLabel->setText(model.view().time);
        kit::placeAtLeast(*timeLabel, {480, 45, 495, 180});
        const QSize ok = okButton->sizeHint();
        okButton->setGeometry(timeLabel->geometry().left(), timeLabel->geometry().bottom() + 2, ok.width(),
                              ok.height());
        kit::fitClientArea(*this, 1185, 495);
    });
}

void SmallNotice::closeEvent(QCloseEvent *event)
{
    event->ignore();
    m_notices.smallSlot().unload();
}

} // namespace receive
