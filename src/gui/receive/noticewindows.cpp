#include "gui/receive/noticewindows.h"

#include "gui/kit/dialogfit.h"
#include "gui/kit/modelwindow.h"
#include "gui/kit/pictures.h"
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
void followNotice(NoticeWindow &w, core::ViewModel<View> &model, const core::OptSettings &opt, int labelLeft,
                  int labelWidth, int dateWidth, int timeWidth)
{
    auto refresh = [&w, &model, labelLeft, labelWidth, dateWidth, timeWidth] {
        const View &v = model.view();
        w.setWindowTitle(model.caption());
        w.setWindowIcon(shell::pictureFor(model.icon()));
        w.Image1->setPixmap(shell::pictureFor(model.icon()).pixmap(shell::px(480)));
        w.Label1->setText(v.label1);
        w.Label2->setText(v.label2);
        w.Label3->setText(v.label3);
        shell::placeAtLeast(*w.Label1, {labelLeft, 240, labelWidth, 180});
        // A text of more than one line pushes the date, the time and OK down below it.
        const int below = std::max(0, shell::tw(w.Label1->geometry().bottom()) - (240 + 180));
        shell::place(*w.CmdOK, {2520, 600 + below, 1095, 340});
        shell::placeAtLeast(*w.Label2, {480, 720 + below, dateWidth, 180});
        shell::placeAtLeast(*w.Label3, {std::max(1440, shell::tw(w.Label2->geometry().right()) + 120),
                                        720 + below, timeWidth, 180});
        shell::fitClientArea(w, 3945, 1125);
    };
    shell::followModel(w, model, opt, refresh);
}

} // namespace

NoticeWindow::NoticeWindow(core::WindowSlotBase &slot) : m_slot(slot)
{
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    Image1 = label(this, "Image1");
    Label1 = label(this, "Label1");
    Label2 = label(this, "Label2");
    Label3 = label(this, "Label3");
    CmdOK = new QPushButton(QStringLiteral("OK"), this);
    CmdOK->setObjectName(QStringLiteral("CmdOK"));
    CmdOK->setDefault(true);
    shell::place(*Image1, {240, 120, 480, 480});
    connect(CmdOK, &QPushButton::clicked, this, [this] { m_slot.unload(); });
}

void NoticeWindow::closeEvent(QCloseEvent *event)
{
    event->ignore();
    m_slot.unload();
}

FrmSndOK::FrmSndOK(core::Context &context) : NoticeWindow(context.sndOkSlot)
{
    setObjectName(QStringLiteral("FrmSndOK"));
    followNotice(*this, context.frmSndOK(), context.opt, 960, 2685, 720, 450);
}

FrmRcvOK::FrmRcvOK(core::Context &context) : NoticeWindow(context.rcvOkSlot)
{
    setObjectName(QStringLiteral("FrmRcvOK"));
    followNotice(*this, context.frmRcvOK(), context.opt, 1200, 2235, 615, 405);
}

FrmSROK::FrmSROK(core::Context &context) : m_context(context)
{
    setObjectName(QStringLiteral("FrmSROK"));
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setBackgroundRole(QPalette::Window);
    setAutoFillBackground(true);
    Image1 = label(this, "Image1");
    Image2 = label(this, "Image2");
    Label1 = label(this, "Label1");
    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    connect(Command1, &QPushButton::clicked, this, [this] { m_context.srOkSlot.unload(); });
    shell::place(*Image1, {0, 120, 480, 480});
    shell::place(*Image2, {0, 0, 480, 480});
    core::SmallNoticeWindowModel &model = context.frmSROK();
    shell::followModel(*this, model, context.opt, [this, &model] {
        const int set = m_context.iconSet();
        Image1->setPixmap(shell::pictureFor(core::IconId::normal(set)).pixmap(shell::px(480)));
        Image2->setPixmap(shell::pictureFor(core::IconId::received(set)).pixmap(shell::px(480)));
        Image1->setVisible(model.view().image1);
        Image2->setVisible(model.view().image2);
        Label1->setText(model.view().label1);
        shell::placeAtLeast(*Label1, {480, 45, 495, 180});
        const QSize ok = Command1->sizeHint();
        Command1->setGeometry(Label1->geometry().left(), Label1->geometry().bottom() + 2, ok.width(),
                              ok.height());
        shell::fitClientArea(*this, 1185, 495);
    });
}

void FrmSROK::closeEvent(QCloseEvent *event)
{
    event->ignore();
    m_context.srOkSlot.unload();
}

} // namespace receive
