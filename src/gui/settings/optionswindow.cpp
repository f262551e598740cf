#include "gui/settings/optionswindow.h"

#include "gui/kit/defaultbutton.h"
#include "gui/kit/dialogfit.h"
#include "gui/kit/modelwindow.h"
#include "gui/kit/pictures.h"
#include "gui/kit/textbox.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace settings {

OptionsWindow::OptionsWindow(core::Context &context, OptionsEditor &dialog) : m_dialog(dialog)
{
    setObjectName(QStringLiteral("FrmOpt"));
    setWindowFlags(kit::kFixedDialog);

    tabStrip = new QTabBar(this);
    tabStrip->setObjectName(QStringLiteral("TabStrip1"));
    for (const char16_t *caption : {u"送受信 ", u"ﾊﾟｽﾜｰﾄﾞ", u"表示", u"ﾕｰｻﾞｰ情報", u"その他 "})
        tabStrip->addTab(QString::fromUtf16(caption));
    pages = new QStackedWidget(this);
    int n = 1;
    for (QWidget *page :
         {buildSendPage(), buildPasswordPage(), buildDisplayPage(), buildUserPage(), buildOtherPage()}) {
        page->setObjectName(QStringLiteral("Picture%1").arg(n++));
        pages->addWidget(page);
    }
    connect(tabStrip, &QTabBar::tabBarClicked, this, [this](int index) {
        if (index >= 0)
            m_dialog.showPage(index + 1);
    });
    // The keyboard and the mouse wheel change the tab without a click; the page follows all the
    // same. A click has shown its page already, and so has the dialog when it set the tab itself.
    connect(tabStrip, &QTabBar::currentChanged, this, [this](int index) {
        if (index >= 0 && index + 1 != m_dialog.window().view().page)
            m_dialog.showPage(index + 1);
    });

    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("CmdOK"));
    cancelButton = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    cancelButton->setObjectName(QStringLiteral("CmdCancel"));
    applyButton = new QPushButton(QStringLiteral("更新(&A)"), this);
    applyButton->setObjectName(QStringLiteral("CmdWrite"));
    connect(okButton, &QPushButton::clicked, this, [this] { m_dialog.accept(); });
    kit::pressWithEnter(*this, *okButton);
    connect(cancelButton, &QPushButton::clicked, this, [this] { m_dialog.cancel(); });
    connect(applyButton, &QPushButton::clicked, this, [this] { m_dialog.apply(); });

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    buttons->addWidget(applyButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tabStrip);
    layout->addWidget(pages);
    layout->addLayout(buttons);
    // A dialog of fixed size, as its frame says: it takes the size its pages ask for.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    kit::followModel(*this, dialog.window(), context.opt, [this] { refresh(); });
}

QCheckBox *OptionsWindow::check(const QString &caption, const char *name, int OptionsView::*field,
                                std::optional<OptionsCheck> dependents)
{
    auto *box = new QCheckBox(caption);
    box->setObjectName(QString::fromLatin1(name));
    connect(box, &QCheckBox::toggled, this, [this, field, dependents](bool on) {
        if (m_refreshing)
            return;
        m_dialog.window().edit([&](OptionsView &v) { v.*field = on ? 1 : 0; });
        if (dependents)
            m_dialog.checkClicked(*dependents);
    });
    return box;
}

QLineEdit *OptionsWindow::line(const char *name, QString OptionsView::*field)
{
    auto *edit = new QLineEdit;
    edit->setObjectName(QString::fromLatin1(name));
    connect(edit, &QLineEdit::textEdited, this, [this, field](const QString &text) {
        m_dialog.window().editQuietly([&](OptionsView &v) { v.*field = text; });
    });
    return edit;
}

QRadioButton *OptionsWindow::radio(const QString &caption, const char *name, bool OptionsView::*field)
{
    auto *button = new QRadioButton(caption);
    button->setObjectName(QString::fromLatin1(name));
    connect(button, &QRadioButton::toggled, this, [this, field](bool on) {
        if (!m_refreshing)
            m_dialog.window().editQuietly([&](OptionsView &v) { v.*field = on; });
    });
    return button;
}

QWidget *OptionsWindow::buildSendPage()
{
    auto *page = new QWidget;
    auto *grid = new QGridLayout(page);
    sendConfirm = check(QStringLiteral("送信完了確認を行う。（"), "ChkSend", &OptionsView::sendConfirm,
                        OptionsCheck::Send);
    sendConfirmSmall = check(QStringLiteral("最小表示）"), "ChkSndMin", &OptionsView::sendConfirmSmall);
    recvConfirm = check(QStringLiteral("受信完了確認を行う。（"), "ChkRecv", &OptionsView::recvConfirm,
                        OptionsCheck::Recv);
    recvConfirmSmall = check(QStringLiteral("最小表示"), "ChkRcvMin", &OptionsView::recvConfirmSmall);
    autoErase = check(QStringLiteral("10秒で自動消去）"), "ChkTime", &OptionsView::autoErase);
    rejectOthers = check(QStringLiteral("お相手以外からのﾒｯｾｰｼﾞは受け付けない。"), "ChkOther",
                         &OptionsView::rejectOthers);
    addOnHold =
        check(QStringLiteral("返信保留時はﾒｯｾｰｼﾞを追加受信する。"), "ChkAdd", &OptionsView::addOnHold);
    logEnabled = check(QStringLiteral("送受信履歴を採取する。("), "ChkLog", &OptionsView::logEnabled,
                       OptionsCheck::Log);
    logSave = check(QStringLiteral("保存する。）"), "ChkHzn", &OptionsView::logSave);
    notifyStartEnd =
        check(QStringLiteral("お相手の起動と終了を通知する。"), "ChkTuti", &OptionsView::notifyStartEnd);
    notifyStartEnd->setToolTip(QStringLiteral("ｱｲｺﾝを変えてお知らせします。"));
    blinkIcon = check(QStringLiteral("ﾒｯｾｰｼﾞ受信時ｱｲｺﾝをﾌﾞﾘﾝｸする。"), "ChkBlink", &OptionsView::blinkIcon);
    desktopNotifications =
        check(QStringLiteral("デスクトップに通知する"), "ChkNotify", &OptionsView::desktopNotifications);
    desktopNotifications->setToolTip(QStringLiteral("受信ﾒｯｾｰｼﾞをﾃﾞｽｸﾄｯﾌﾟの通知でもお知らせします。"));
    startAtLogin = check(QStringLiteral("ログイン時に起動"), "ChkStartup", &OptionsView::startAtLogin);
    grid->addWidget(sendConfirm, 0, 0);
    grid->addWidget(sendConfirmSmall, 0, 1);
    grid->addWidget(recvConfirm, 1, 0);
    grid->addWidget(recvConfirmSmall, 1, 1);
    grid->addWidget(autoErase, 1, 2);
    grid->addWidget(rejectOthers, 2, 0, 1, 3);
    grid->addWidget(addOnHold, 3, 0, 1, 3);
    grid->addWidget(logEnabled, 4, 0);
    grid->addWidget(logSave, 4, 1);
    grid->addWidget(notifyStartEnd, 5, 0, 1, 3);
    grid->addWidget(blinkIcon, 6, 0, 1, 3);
    grid->addWidget(desktopNotifications, 7, 0, 1, 3);
    grid->addWidget(startAtLogin, 8, 0, 1, 3);
    grid->setRowStretch(9, 1);
    grid->setColumnStretch(3, 1); // the boxes of a row stay together on the left
    return page;
}

QWidget *OptionsWindow::buildPasswordPage()
{
    auto *page = new QWidget;
    auto *grid = new QGridLayout(page);
    passwordEnabled = check(QStringLiteral("\"お相手登録\"及び\"ﾛｯｸ解除時\"にﾊﾟｽﾜｰﾄﾞを入力する。"), "ChkPw1",
                            &OptionsView::passwordEnabled, OptionsCheck::Password);
    storedPassword = line("TxtPw1", &OptionsView::storedPassword);
    kit::maskWithStars(*storedPassword);
    storedPassword->setEnabled(false);
    currentPassword = line("TxtPw2", &OptionsView::currentPassword);
    newPassword = line("TxtPw3", &OptionsView::newPassword);
    kit::maskWithStars(*newPassword);
    setPasswordButton = new QPushButton(QStringLiteral("OK"));
    setPasswordButton->setObjectName(QStringLiteral("CmdPok"));
    connect(setPasswordButton, &QPushButton::clicked, this, [this] { m_dialog.setPassword(); });
    // Enter on the password page sets the password typed there; elsewhere it is the dialog's OK.
    kit::pressWithEnter(*page, *setPasswordButton);
    auto *image = new QLabel;
    image->setObjectName(QStringLiteral("Image2"));
    image->setPixmap(kit::presencePicture(kit::Presence::OneSided).pixmap(32));
    grid->addWidget(passwordEnabled, 0, 0, 1, 3);
    grid->addWidget(storedPassword, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("現ﾊﾟｽﾜｰﾄﾞ：")), 2, 0);
    grid->addWidget(currentPassword, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("新ﾊﾟｽﾜｰﾄﾞ：")), 3, 0);
    grid->addWidget(newPassword, 3, 1);
    grid->addWidget(setPasswordButton, 3, 2);
    grid->addWidget(image, 1, 2, Qt::AlignCenter);
    grid->setRowStretch(4, 1);
    return page;
}

QWidget *OptionsWindow::buildDisplayPage()
{
    auto *page = new QWidget;
    auto *grid = new QGridLayout(page);
    auto *frame1 = new QGroupBox(QStringLiteral("ｳｨﾝﾄﾞｳの表示位置"));
    frame1->setObjectName(QStringLiteral("Frame1"));
    auto *positions = new QGridLayout(frame1);
    posLeftUp = radio(QStringLiteral("左上"), "OptLeftup", &OptionsView::posLeftUp);
    posRightUp = radio(QStringLiteral("右上"), "OptRightup", &OptionsView::posRightUp);
    posCenter = radio(QStringLiteral("中央"), "OptCenter", &OptionsView::posCenter);
    posLeftLow = radio(QStringLiteral("左下"), "OptLeftlow", &OptionsView::posLeftLow);
    posRightLow = radio(QStringLiteral("右下"), "OptRightlow", &OptionsView::posRightLow);
    positions->addWidget(posLeftUp, 0, 0);
    positions->addWidget(posRightUp, 0, 2);
    positions->addWidget(posCenter, 1, 1);
    positions->addWidget(posLeftLow, 2, 0);
    positions->addWidget(posRightLow, 2, 2);

    auto *frame2 = new QGroupBox(QStringLiteral("ﾌｫﾝﾄ"));
    frame2->setObjectName(QStringLiteral("Frame2"));
    auto *font = new QHBoxLayout(frame2);
    fontName = line("TxtFont", &OptionsView::fontName);
    fontSize = line("TxtSize", &OptionsView::fontSize);
    fontName->setReadOnly(true);
    fontSize->setReadOnly(true);
    fontSize->setMaximumWidth(fontSize->fontMetrics().horizontalAdvance(QStringLiteral("00.00")) + 16);
    fontButton = new QPushButton(QStringLiteral("参照"));
    fontButton->setObjectName(QStringLiteral("CmdFont"));
    connect(fontButton, &QPushButton::clicked, this, [this] { m_dialog.chooseFont(); });
    font->addWidget(fontName, 1);
    font->addWidget(fontSize);
    font->addWidget(fontButton);

    auto *frame3 = new QGroupBox(QStringLiteral("送信ﾒｯｾｰｼﾞｳｲﾝﾄﾞｳのﾀｲﾄﾙバー"));
    frame3->setObjectName(QStringLiteral("Frame3"));
    sendTitle = line("TxtTitle", &OptionsView::sendTitle);
    (new QHBoxLayout(frame3))->addWidget(sendTitle);

    auto *frame4 = new QGroupBox(QStringLiteral("背景色"));
    frame4->setObjectName(QStringLiteral("Frame4"));
    auto *colour = new QHBoxLayout(frame4);
    fontColor = new QLabel;
    fontColor->setObjectName(QStringLiteral("TxtColor"));
    fontColor->setFrameShape(QFrame::Box);
    fontColor->setAutoFillBackground(true);
    fontColor->setMinimumWidth(48);
    colorButton = new QPushButton(QStringLiteral("参照"));
    colorButton->setObjectName(QStringLiteral("CmdColor"));
    connect(colorButton, &QPushButton::clicked, this, [this] { m_dialog.chooseColor(); });
    colour->addWidget(fontColor, 1);
    colour->addWidget(colorButton);

    grid->addWidget(frame1, 0, 0, 2, 1);
    grid->addWidget(frame2, 0, 1);
    grid->addWidget(frame4, 1, 1);
    grid->addWidget(frame3, 2, 0, 1, 2);
    return page;
}

QWidget *OptionsWindow::buildUserPage()
{
    auto *page = new QWidget;
    auto *column = new QVBoxLayout(page);
    userName = line("TxtName", &OptionsView::userName);
    column->addWidget(new QLabel(QStringLiteral("ﾕｰｻﾞｰ名を入力してください。")));
    column->addWidget(userName);
    column->addWidget(new QLabel(QStringLiteral("ここで設定された名前が受信者側へ表示されます。")));
    column->addWidget(new QLabel(QStringLiteral("未入力の場合は、ﾛｸﾞｲﾝ名が表示されます。")));
    column->addStretch();
    return page;
}

QWidget *OptionsWindow::buildOtherPage()
{
    auto *page = new QWidget;
    auto *column = new QVBoxLayout;
    randomIcon =
        check(QStringLiteral("起動時、ｱｲｺﾝをﾗﾝﾀﾞﾑに表示させる。"), "ChkIcon", &OptionsView::randomIcon);
    tipEnabled =
        check(QStringLiteral("ﾂｰﾙﾁｯﾌﾟを表示する。"), "ChkTip", &OptionsView::tipEnabled, OptionsCheck::Tip);
    tipText = line("TxtToolTip", &OptionsView::tipText);
    startLocked = check(QStringLiteral("操作ﾛｯｸしたまま起動する。"), "ChkLock", &OptionsView::startLocked);
    column->addWidget(randomIcon);
    column->addWidget(tipEnabled);
    column->addWidget(tipText);
    column->addWidget(startLocked);
    column->addWidget(new QLabel(QStringLiteral("※次回起動時から有効です。")));
    column->addStretch();
    m_otherPagePicture = new QLabel;
    m_otherPagePicture->setObjectName(QStringLiteral("Image1"));
    auto *row = new QHBoxLayout(page);
    row->addLayout(column, 1);
    row->addWidget(m_otherPagePicture, 0, Qt::AlignTop);
    return page;
}

void OptionsWindow::refresh()
{
    const OptionsWindowModel &m = m_dialog.window();
    const OptionsView &v = m.view();
    m_refreshing = true;
    setWindowTitle(m.caption());
    setWindowIcon(kit::pictureFor(m.icon()));
    m_otherPagePicture->setPixmap(kit::pictureFor(m.icon()).pixmap(32));
    tabStrip->setCurrentIndex(v.page - 1);
    pages->setCurrentIndex(v.page - 1);
    struct CheckField {
        QCheckBox *box;
        int value;
    };
    for (const CheckField &c : {CheckField{sendConfirm, v.sendConfirm},
                                {sendConfirmSmall, v.sendConfirmSmall},
                                {recvConfirm, v.recvConfirm},
                                {recvConfirmSmall, v.recvConfirmSmall},
                                {autoErase, v.autoErase},
                                {rejectOthers, v.rejectOthers},
                                {addOnHold, v.addOnHold},
                                {logEnabled, v.logEnabled},
                                {logSave, v.logSave},
                                {notifyStartEnd, v.notifyStartEnd},
                                {blinkIcon, v.blinkIcon},
                                {desktopNotifications, v.desktopNotifications},
                                {startAtLogin, v.startAtLogin},
                                {passwordEnabled, v.passwordEnabled},
                                {randomIcon, v.randomIcon},
                                {tipEnabled, v.tipEnabled},
                                {startLocked, v.startLocked}})
        c.box->setChecked(c.value != 0);
    sendConfirmSmall->setEnabled(v.sendConfirmSmallEnabled);
    recvConfirmSmall->setEnabled(v.recvConfirmSmallEnabled);
    autoErase->setEnabled(v.autoEraseEnabled);
    logSave->setEnabled(v.logSaveEnabled);
    tipText->setEnabled(v.tipTextEnabled);
    startAtLogin->setVisible(v.startAtLoginOffered);
    currentPassword->setEnabled(v.currentPasswordEnabled);
    newPassword->setEnabled(v.newPasswordEnabled);
    for (auto [edit, text] : {std::pair{storedPassword, v.storedPassword},
                              {currentPassword, v.currentPassword},
                              {newPassword, v.newPassword},
                              {fontName, v.fontName},
                              {fontSize, v.fontSize},
                              {sendTitle, v.sendTitle},
                              {userName, v.userName},
                              {tipText, v.tipText}}) {
        if (edit->text() != text)
            edit->setText(text);
    }
    posLeftUp->setChecked(v.posLeftUp);
    posRightUp->setChecked(v.posRightUp);
    posLeftLow->setChecked(v.posLeftLow);
    posRightLow->setChecked(v.posRightLow);
    posCenter->setChecked(v.posCenter);
    QPalette swatch = fontColor->palette();
    swatch.setColor(QPalette::Window,
                    QColor(static_cast<int>(v.fontColor & 0xFF), static_cast<int>((v.fontColor >> 8) & 0xFF),
                           static_cast<int>((v.fontColor >> 16) & 0xFF)));
    fontColor->setPalette(swatch);
    if (QWidget *target = v.focus.isEmpty() ? nullptr : findChild<QWidget *>(v.focus)) {
        target->setFocus();
        // Asked once: a later refresh must not pull the focus away from where the user is typing.
        m_dialog.window().editQuietly([](OptionsView &w) { w.focus.clear(); });
    }
    m_refreshing = false;
}

void OptionsWindow::closeEvent(QCloseEvent *event)
{
    event->ignore();
    m_dialog.cancel();
}

} // namespace settings
