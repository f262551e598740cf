#include "gui/settings/frmopt.h"

#include "gui/kit/modelwindow.h"
#include "gui/kit/pictures.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace settings {

FrmOpt::FrmOpt(core::Context &context, OptionsDialog &dialog) : m_context(context), m_dialog(dialog)
{
    setObjectName(QStringLiteral("FrmOpt"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);

    TabStrip1 = new QTabBar(this);
    TabStrip1->setObjectName(QStringLiteral("TabStrip1"));
    for (const char16_t *caption : {u"送受信 ", u"ﾊﾟｽﾜｰﾄﾞ", u"表示", u"ﾕｰｻﾞｰ情報", u"その他 "})
        TabStrip1->addTab(QString::fromUtf16(caption));
    pages = new QStackedWidget(this);
    int n = 1;
    for (QWidget *page :
         {buildSendPage(), buildPasswordPage(), buildDisplayPage(), buildUserPage(), buildOtherPage()}) {
        page->setObjectName(QStringLiteral("Picture%1").arg(n++));
        pages->addWidget(page);
    }
    connect(TabStrip1, &QTabBar::tabBarClicked, this, [this](int index) {
        if (index >= 0)
            m_dialog.tabClick(index + 1);
    });

    CmdOK = new QPushButton(QStringLiteral("OK"), this);
    CmdOK->setObjectName(QStringLiteral("CmdOK"));
    CmdCancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    CmdCancel->setObjectName(QStringLiteral("CmdCancel"));
    CmdWrite = new QPushButton(QStringLiteral("更新(&A)"), this);
    CmdWrite->setObjectName(QStringLiteral("CmdWrite"));
    connect(CmdOK, &QPushButton::clicked, this, [this] { m_dialog.cmdOkClick(); });
    connect(CmdCancel, &QPushButton::clicked, this, [this] { m_dialog.cmdCancelClick(); });
    connect(CmdWrite, &QPushButton::clicked, this, [this] { m_dialog.cmdWriteClick(); });

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CmdOK);
    buttons->addWidget(CmdCancel);
    buttons->addWidget(CmdWrite);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(TabStrip1);
    layout->addWidget(pages);
    layout->addLayout(buttons);

    shell::followModel(*this, dialog.frmOpt(), context.opt, [this] { refresh(); });
}

QCheckBox *FrmOpt::check(const QString &caption, const char *name, int OptView::*field,
                         std::optional<OptCheck> dependents)
{
    auto *box = new QCheckBox(caption);
    box->setObjectName(QString::fromLatin1(name));
    connect(box, &QCheckBox::toggled, this, [this, field, dependents](bool on) {
        if (m_refreshing)
            return;
        m_dialog.frmOpt().edit([&](OptView &v) { v.*field = on ? 1 : 0; });
        if (dependents)
            m_dialog.checkClicked(*dependents);
    });
    return box;
}

QLineEdit *FrmOpt::line(const char *name, QString OptView::*field)
{
    auto *edit = new QLineEdit;
    edit->setObjectName(QString::fromLatin1(name));
    connect(edit, &QLineEdit::textEdited, this, [this, field](const QString &text) {
        m_dialog.frmOpt().editQuietly([&](OptView &v) { v.*field = text; });
    });
    return edit;
}

QRadioButton *FrmOpt::radio(const QString &caption, const char *name, bool OptView::*field)
{
    auto *button = new QRadioButton(caption);
    button->setObjectName(QString::fromLatin1(name));
    connect(button, &QRadioButton::toggled, this, [this, field](bool on) {
        if (!m_refreshing)
            m_dialog.frmOpt().editQuietly([&](OptView &v) { v.*field = on; });
    });
    return button;
}

QWidget *FrmOpt::buildSendPage()
{
    auto *page = new QWidget;
    auto *grid = new QGridLayout(page);
    ChkSend = check(QStringLiteral("送信完了確認を行う。（"), "ChkSend", &OptView::ChkSend, OptCheck::Send);
    ChkSndMin = check(QStringLiteral("最小表示）"), "ChkSndMin", &OptView::ChkSndMin);
    ChkRecv = check(QStringLiteral("受信完了確認を行う。（"), "ChkRecv", &OptView::ChkRecv, OptCheck::Recv);
    ChkRcvMin = check(QStringLiteral("最小表示"), "ChkRcvMin", &OptView::ChkRcvMin);
    ChkTime = check(QStringLiteral("10秒で自動消去）"), "ChkTime", &OptView::ChkTime);
    ChkOther =
        check(QStringLiteral("お相手以外からのﾒｯｾｰｼﾞは受け付けない。"), "ChkOther", &OptView::ChkOther);
    ChkAdd = check(QStringLiteral("返信保留時はﾒｯｾｰｼﾞを追加受信する。"), "ChkAdd", &OptView::ChkAdd);
    ChkLog = check(QStringLiteral("送受信履歴を採取する。("), "ChkLog", &OptView::ChkLog, OptCheck::Log);
    ChkHzn = check(QStringLiteral("保存する。）"), "ChkHzn", &OptView::ChkHzn);
    ChkTuti = check(QStringLiteral("お相手の起動と終了を通知する。"), "ChkTuti", &OptView::ChkTuti);
    ChkTuti->setToolTip(QStringLiteral("ｱｲｺﾝを変えてお知らせします。"));
    ChkBlink = check(QStringLiteral("ﾒｯｾｰｼﾞ受信時ｱｲｺﾝをﾌﾞﾘﾝｸする。"), "ChkBlink", &OptView::ChkBlink);
    grid->addWidget(ChkSend, 0, 0);
    grid->addWidget(ChkSndMin, 0, 1);
    grid->addWidget(ChkRecv, 1, 0);
    grid->addWidget(ChkRcvMin, 1, 1);
    grid->addWidget(ChkTime, 1, 2);
    grid->addWidget(ChkOther, 2, 0, 1, 3);
    grid->addWidget(ChkAdd, 3, 0, 1, 3);
    grid->addWidget(ChkLog, 4, 0);
    grid->addWidget(ChkHzn, 4, 1);
    grid->addWidget(ChkTuti, 5, 0, 1, 3);
    grid->addWidget(ChkBlink, 6, 0, 1, 3);
    grid->setRowStretch(7, 1);
    grid->setColumnStretch(3, 1); // the boxes of a row stay together on the left
    return page;
}

QWidget *FrmOpt::buildPasswordPage()
{
    auto *page = new QWidget;
    auto *grid = new QGridLayout(page);
    ChkPw1 = check(QStringLiteral("\"お相手登録\"及び\"ﾛｯｸ解除時\"にﾊﾟｽﾜｰﾄﾞを入力する。"), "ChkPw1",
                   &OptView::ChkPw1, OptCheck::Pw1);
    TxtPw1 = line("TxtPw1", &OptView::TxtPw1);
    TxtPw1->setEchoMode(QLineEdit::Password);
    TxtPw1->setEnabled(false);
    TxtPw2 = line("TxtPw2", &OptView::TxtPw2);
    TxtPw3 = line("TxtPw3", &OptView::TxtPw3);
    TxtPw3->setEchoMode(QLineEdit::Password);
    CmdPok = new QPushButton(QStringLiteral("OK"));
    CmdPok->setObjectName(QStringLiteral("CmdPok"));
    connect(CmdPok, &QPushButton::clicked, this, [this] { m_dialog.cmdPokClick(); });
    auto *image = new QLabel;
    image->setObjectName(QStringLiteral("Image2"));
    image->setPixmap(shell::presencePicture(shell::Presence::OneSided).pixmap(32));
    grid->addWidget(ChkPw1, 0, 0, 1, 3);
    grid->addWidget(TxtPw1, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("現ﾊﾟｽﾜｰﾄﾞ：")), 2, 0);
    grid->addWidget(TxtPw2, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("新ﾊﾟｽﾜｰﾄﾞ：")), 3, 0);
    grid->addWidget(TxtPw3, 3, 1);
    grid->addWidget(CmdPok, 3, 2);
    grid->addWidget(image, 1, 2, Qt::AlignCenter);
    grid->setRowStretch(4, 1);
    return page;
}

QWidget *FrmOpt::buildDisplayPage()
{
    auto *page = new QWidget;
    auto *grid = new QGridLayout(page);
    auto *frame1 = new QGroupBox(QStringLiteral("ｳｨﾝﾄﾞｳの表示位置"));
    frame1->setObjectName(QStringLiteral("Frame1"));
    auto *positions = new QGridLayout(frame1);
    OptLeftup = radio(QStringLiteral("左上"), "OptLeftup", &OptView::OptLeftup);
    OptRightup = radio(QStringLiteral("右上"), "OptRightup", &OptView::OptRightup);
    OptCenter = radio(QStringLiteral("中央"), "OptCenter", &OptView::OptCenter);
    OptLeftlow = radio(QStringLiteral("左下"), "OptLeftlow", &OptView::OptLeftlow);
    OptRightlow = radio(QStringLiteral("右下"), "OptRightlow", &OptView::OptRightlow);
    positions->addWidget(OptLeftup, 0, 0);
    positions->addWidget(OptRightup, 0, 2);
    positions->addWidget(OptCenter, 1, 1);
    positions->addWidget(OptLeftlow, 2, 0);
    positions->addWidget(OptRightlow, 2, 2);

    auto *frame2 = new QGroupBox(QStringLiteral("ﾌｫﾝﾄ"));
    frame2->setObjectName(QStringLiteral("Frame2"));
    auto *font = new QHBoxLayout(frame2);
    TxtFont = line("TxtFont", &OptView::TxtFont);
    TxtSize = line("TxtSize", &OptView::TxtSize);
    TxtFont->setReadOnly(true);
    TxtSize->setReadOnly(true);
    TxtSize->setMaximumWidth(TxtSize->fontMetrics().horizontalAdvance(QStringLiteral("00.00")) + 16);
    CmdFont = new QPushButton(QStringLiteral("参照"));
    CmdFont->setObjectName(QStringLiteral("CmdFont"));
    connect(CmdFont, &QPushButton::clicked, this, [this] { m_dialog.cmdFontClick(); });
    font->addWidget(TxtFont, 1);
    font->addWidget(TxtSize);
    font->addWidget(CmdFont);

    auto *frame3 = new QGroupBox(QStringLiteral("送信ﾒｯｾｰｼﾞｳｲﾝﾄﾞｳのﾀｲﾄﾙバー"));
    frame3->setObjectName(QStringLiteral("Frame3"));
    TxtTitle = line("TxtTitle", &OptView::TxtTitle);
    (new QHBoxLayout(frame3))->addWidget(TxtTitle);

    auto *frame4 = new QGroupBox(QStringLiteral("背景色"));
    frame4->setObjectName(QStringLiteral("Frame4"));
    auto *colour = new QHBoxLayout(frame4);
    TxtColor = new QLabel;
    TxtColor->setObjectName(QStringLiteral("TxtColor"));
    TxtColor->setFrameShape(QFrame::Box);
    TxtColor->setAutoFillBackground(true);
    TxtColor->setMinimumWidth(48);
    CmdColor = new QPushButton(QStringLiteral("参照"));
    CmdColor->setObjectName(QStringLiteral("CmdColor"));
    connect(CmdColor, &QPushButton::clicked, this, [this] { m_dialog.cmdColorClick(); });
    colour->addWidget(TxtColor, 1);
    colour->addWidget(CmdColor);

    grid->addWidget(frame1, 0, 0, 2, 1);
    grid->addWidget(frame2, 0, 1);
    grid->addWidget(frame4, 1, 1);
    grid->addWidget(frame3, 2, 0, 1, 2);
    return page;
}

QWidget *FrmOpt::buildUserPage()
{
    auto *page = new QWidget;
    auto *column = new QVBoxLayout(page);
    TxtName = line("TxtName", &OptView::TxtName);
    column->addWidget(new QLabel(QStringLiteral("ﾕｰｻﾞｰ名を入力してください。")));
    column->addWidget(TxtName);
    column->addWidget(new QLabel(QStringLiteral("ここで設定された名前が受信者側へ表示されます。")));
    column->addWidget(new QLabel(QStringLiteral("未入力の場合は、ﾛｸﾞｲﾝ名が表示されます。")));
    column->addStretch();
    return page;
}

QWidget *FrmOpt::buildOtherPage()
{
    auto *page = new QWidget;
    auto *column = new QVBoxLayout(page);
    ChkIcon = check(QStringLiteral("起動時、ｱｲｺﾝをﾗﾝﾀﾞﾑに表示させる。"), "ChkIcon", &OptView::ChkIcon);
    ChkTip = check(QStringLiteral("ﾂｰﾙﾁｯﾌﾟを表示する。"), "ChkTip", &OptView::ChkTip, OptCheck::Tip);
    TxtToolTip = line("TxtToolTip", &OptView::TxtToolTip);
    ChkLock = check(QStringLiteral("操作ﾛｯｸしたまま起動する。"), "ChkLock", &OptView::ChkLock);
    column->addWidget(ChkIcon);
    column->addWidget(ChkTip);
    column->addWidget(TxtToolTip);
    column->addWidget(ChkLock);
    column->addWidget(new QLabel(QStringLiteral("※次回起動時から有効です。")));
    column->addStretch();
    return page;
}

void FrmOpt::refresh()
{
    const OptWindowModel &m = m_dialog.frmOpt();
    const OptView &v = m.view();
    m_refreshing = true;
    setWindowTitle(m.caption());
    setWindowIcon(shell::pictureFor(core::IconId::normal(m_context.iconSet())));
    TabStrip1->setCurrentIndex(v.tab - 1);
    pages->setCurrentIndex(v.tab - 1);
    struct CheckField {
        QCheckBox *box;
        int value;
    };
    for (const CheckField &c : {CheckField{ChkSend, v.ChkSend},
                                {ChkSndMin, v.ChkSndMin},
                                {ChkRecv, v.ChkRecv},
                                {ChkRcvMin, v.ChkRcvMin},
                                {ChkTime, v.ChkTime},
                                {ChkOther, v.ChkOther},
                                {ChkAdd, v.ChkAdd},
                                {ChkLog, v.ChkLog},
                                {ChkHzn, v.ChkHzn},
                                {ChkTuti, v.ChkTuti},
                                {ChkBlink, v.ChkBlink},
                                {ChkPw1, v.ChkPw1},
                                {ChkIcon, v.ChkIcon},
                                {ChkTip, v.ChkTip},
                                {ChkLock, v.ChkLock}})
        c.box->setChecked(c.value != 0);
    ChkSndMin->setEnabled(v.ChkSndMinEnabled);
    ChkRcvMin->setEnabled(v.ChkRcvMinEnabled);
    ChkTime->setEnabled(v.ChkTimeEnabled);
    ChkHzn->setEnabled(v.ChkHznEnabled);
    TxtToolTip->setEnabled(v.TxtToolTipEnabled);
    TxtPw2->setEnabled(v.TxtPw2Enabled);
    TxtPw3->setEnabled(v.TxtPw3Enabled);
    for (auto [edit, text] : {std::pair{TxtPw1, v.TxtPw1},
                              {TxtPw2, v.TxtPw2},
                              {TxtPw3, v.TxtPw3},
                              {TxtFont, v.TxtFont},
                              {TxtSize, v.TxtSize},
                              {TxtTitle, v.TxtTitle},
                              {TxtName, v.TxtName},
                              {TxtToolTip, v.TxtToolTip}}) {
        if (edit->text() != text)
            edit->setText(text);
    }
    OptLeftup->setChecked(v.OptLeftup);
    OptRightup->setChecked(v.OptRightup);
    OptLeftlow->setChecked(v.OptLeftlow);
    OptRightlow->setChecked(v.OptRightlow);
    OptCenter->setChecked(v.OptCenter);
    QPalette swatch = TxtColor->palette();
    swatch.setColor(QPalette::Window,
                    QColor(static_cast<int>(v.TxtColor & 0xFF), static_cast<int>((v.TxtColor >> 8) & 0xFF),
                           static_cast<int>((v.TxtColor >> 16) & 0xFF)));
    TxtColor->setPalette(swatch);
    if (QWidget *target = v.focus.isEmpty() ? nullptr : findChild<QWidget *>(v.focus)) {
        target->setFocus();
        // Asked once: a later refresh must not pull the focus away from where the user is typing.
        m_dialog.frmOpt().editQuietly([](OptView &w) { w.focus.clear(); });
    }
    m_refreshing = false;
}

void FrmOpt::closeEvent(QCloseEvent *event)
{
    event->ignore();
    m_dialog.cmdCancelClick();
}

} // namespace settings
