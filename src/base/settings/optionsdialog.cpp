#include "base/settings/optionsdialog.h"

#include "base/settings/optfile.h"
#include "base/text/quotedfields.h"

namespace settings {
namespace {

const QString kConfirmTitle = QStringLiteral("確認");
constexpr int kPasswordTab = 2;

QString truthText(bool on)
{
    return on ? QStringLiteral("True") : QStringLiteral("False");
}

} // namespace

void OptionsDialog::open()
{
    fillFromRecord();
    pwEnable();
    frmOpt().show();
}

void OptionsDialog::fillFromRecord()
{
    const core::OptSettings &o = m_context.opt;
    frmOpt().edit([&](OptView &v) {
        v.ChkSend = o.sendConfirm;
        v.ChkSndMin = o.sendConfirmMin;
        v.ChkRecv = o.recvConfirm;
        v.ChkRcvMin = o.recvConfirmMin;
        v.ChkTime = o.autoErase;
        v.ChkLog = o.logEnabled;
        v.ChkHzn = o.logSave;
        v.ChkOther = o.rejectOthers;
        v.ChkAdd = o.addOnHold;
        v.ChkSndMinEnabled = v.ChkSend != 0;
        v.ChkRcvMinEnabled = v.ChkRecv != 0;
        v.ChkTimeEnabled = v.ChkRecv != 0;
        v.ChkTip = o.tipEnabled;
        v.TxtToolTip = o.tipText;
        v.TxtToolTipEnabled = v.ChkTip != 0;
        v.ChkHznEnabled = v.ChkLog != 0;
        v.ChkPw1 = o.pwEnabled;
        v.TxtPw1 = o.password;
        v.TxtPw2 = o.pwCurrentEntry;
        v.TxtPw3 = o.pwNewEntry;
        v.OptLeftup = core::truthOf(o.posLeftUp);
        v.OptRightup = core::truthOf(o.posRightUp);
        v.OptLeftlow = core::truthOf(o.posLeftLow);
        v.OptRightlow = core::truthOf(o.posRightLow);
        v.OptCenter = core::truthOf(o.posCenter);
        v.ChkIcon = o.randomIcon;
        v.TxtName = o.userName;
        v.ChkLock = o.startLocked;
        v.ChkTuti = o.notifyStartEnd;
        v.ChkBlink = o.blinkIcon.trimmed().toInt() != 0 ? 1 : 0;
        v.TxtTitle = o.sendTitle;
    });
}

void OptionsDialog::checkClicked(OptCheck which)
{
    if (which == OptCheck::Pw1) {
        pwEnable();
        return;
    }
    frmOpt().edit([which](OptView &v) {
        switch (which) {
        case OptCheck::Send:
            v.ChkSndMinEnabled = v.ChkSend != 0;
            break;
        case OptCheck::Recv:
            v.ChkRcvMinEnabled = v.ChkRecv != 0;
            v.ChkTimeEnabled = v.ChkRecv != 0;
            break;
        case OptCheck::Log:
            v.ChkHznEnabled = v.ChkLog != 0;
            break;
        case OptCheck::Tip:
            v.TxtToolTipEnabled = v.ChkTip != 0;
            break;
        case OptCheck::Pw1:
            break;
        }
    });
}

void OptionsDialog::resetPasswordPage()
{
    const core::OptSettings &o = m_context.opt;
    frmOpt().edit([&](OptView &v) {
        v.ChkPw1 = o.pwEnabled;
        v.TxtPw1 = o.password;
        v.TxtPw2 = o.pwCurrentEntry;
        v.TxtPw3 = o.pwNewEntry;
    });
    pwEnable();
}

void OptionsDialog::tabClick(int tab)
{
    // What was typed on the password page counts only through its own OK.
    if (frmOpt().view().tab == kPasswordTab)
        resetPasswordPage();
    const core::OptSettings &o = m_context.opt;
    frmOpt().edit([&](OptView &v) {
        v.tab = tab;
        if (tab == 3) {
            v.TxtFont = o.fontName;
            v.TxtSize = o.fontSize;
            v.TxtColor = o.backColor.toUInt() & 0xFFFFFF;
        } else if (tab == 4) {
            v.focus = QStringLiteral("TxtName");
        }
    });
}

void OptionsDialog::pwEnable()
{
    frmOpt().edit([](OptView &v) {
        if (v.ChkPw1 == 1) {
            if (v.TxtPw1.isEmpty())
                v.TxtPw2.clear();
            else
                v.TxtPw2Enabled = true;
            v.TxtPw3Enabled = true;
        } else {
            v.TxtPw2Enabled = !v.TxtPw1.isEmpty();
            v.TxtPw3Enabled = false;
        }
    });
}

bool OptionsDialog::pwApply()
{
    OptWindowModel &window = frmOpt();
    const OptView v = window.view();
    const int errorBox = platform::box::okOnly | platform::box::critical;
    if (v.ChkPw1 == 0 && v.TxtPw1.isEmpty() && v.TxtPw2.isEmpty())
        return false;
    if (v.TxtPw2 != v.TxtPw1) {
        m_context.box(QStringLiteral("現ﾊﾟｽﾜｰﾄﾞが誤っています。"), errorBox, core::kErrorTitle);
        window.edit([&](OptView &w) {
            w.TxtPw2Enabled = true;
            w.focus = QStringLiteral("TxtPw2");
            if (v.ChkPw1 == 1)
                w.TxtPw3.clear();
        });
        return false;
    }
    QString done;
    if (v.ChkPw1 == 1) {
        if (v.TxtPw3.isEmpty()) {
            m_context.box(QStringLiteral("新ﾊﾟｽﾜｰﾄﾞを入力してください。"), errorBox, core::kErrorTitle);
            window.edit([](OptView &w) { w.focus = QStringLiteral("TxtPw3"); });
            return false;
        }
        // A password the options file would give back changed could never be typed again.
        if (!text::storesExactly(v.TxtPw3)) {
            m_context.box(QStringLiteral("ﾊﾟｽﾜｰﾄﾞに使用できない文字が含まれています。"), errorBox,
                          core::kErrorTitle);
            window.edit([](OptView &w) { w.focus = QStringLiteral("TxtPw3"); });
            return false;
        }
        done = QStringLiteral("ﾊﾟｽﾜｰﾄﾞは設定されました。");
        window.edit([](OptView &w) {
            w.TxtPw1 = w.TxtPw3;
            w.TxtPw2.clear();
            w.TxtPw3.clear();
            w.TxtPw2Enabled = true;
        });
    } else {
        if (!v.TxtPw3.isEmpty()) {
            m_context.box(QStringLiteral("ｽﾍﾟｰｽを入力してください。"), errorBox, core::kErrorTitle);
            window.edit([](OptView &w) { w.focus = QStringLiteral("TxtPw3"); });
            return false;
        }
        done = QStringLiteral("ﾊﾟｽﾜｰﾄﾞは解除されました。");
        window.edit([](OptView &w) {
            w.TxtPw1.clear();
            w.TxtPw2.clear();
            w.TxtPw3.clear();
            w.TxtPw2Enabled = false;
            w.TxtPw3Enabled = false;
        });
    }
    const core::OptSettings before = m_context.opt;
    optRead();
    if (!optWrite(m_context)) {
        // The save has said why it failed. A password that is not in the file is not taken
        // either: the old one stays, here as on the next start.
        m_context.opt = before;
        resetPasswordPage();
        return false;
    }
    m_context.box(done, platform::box::information, kConfirmTitle);
    return true;
}

void OptionsDialog::optRead()
{
    OptWindowModel &window = frmOpt();
    // Protection without a password would lock the user out.
    if (window.view().ChkPw1 != 0 && window.view().TxtPw1.isEmpty())
        window.edit([](OptView &v) { v.ChkPw1 = 0; });
    const OptView &v = window.view();
    core::OptSettings &o = m_context.opt;
    o.sendConfirm = v.ChkSend;
    o.sendConfirmMin = v.ChkSndMin;
    o.recvConfirm = v.ChkRecv;
    o.recvConfirmMin = v.ChkRcvMin;
    o.rejectOthers = v.ChkOther;
    o.addOnHold = v.ChkAdd;
    o.pwEnabled = v.ChkPw1;
    o.password = v.TxtPw1;
    o.pwCurrentEntry = v.TxtPw2;
    o.pwNewEntry = v.TxtPw3;
    o.posLeftUp = truthText(v.OptLeftup);
    o.posLeftLow = truthText(v.OptLeftlow);
    o.posRightUp = truthText(v.OptRightup);
    o.posRightLow = truthText(v.OptRightlow);
    o.posCenter = truthText(v.OptCenter);
    o.randomIcon = v.ChkIcon;
    o.userName = v.TxtName;
    o.autoErase = v.ChkTime;
    o.logEnabled = v.ChkLog;
    o.logSave = v.ChkHzn;
    o.tipEnabled = v.ChkTip;
    o.tipText = v.TxtToolTip;
    o.startLocked = v.ChkLock;
    o.notifyStartEnd = v.ChkTuti;
    o.blinkIcon = v.ChkBlink != 0 ? QStringLiteral("1") : QStringLiteral("0");
    o.sendTitle = v.TxtTitle;
}

void OptionsDialog::cmdOkClick()
{
    if (frmOpt().view().tab == kPasswordTab) {
        pwApply();
    } else {
        optRead();
        optWrite(m_context);
    }
    slot.unload();
}

void OptionsDialog::cmdWriteClick()
{
    if (frmOpt().view().tab == kPasswordTab) {
        pwApply();
        return;
    }
    optRead();
    optWrite(m_context);
}

void OptionsDialog::cmdCancelClick()
{
    slot.unload();
}

void OptionsDialog::cmdFontClick()
{
    core::OptSettings &o = m_context.opt;
    platform::FontChoice preset;
    preset.name = o.fontName;
    preset.size = o.fontSize.toDouble();
    preset.color = o.fontColor.toUInt();
    preset.italic = core::truthOf(o.fontItalic);
    preset.bold = core::truthOf(o.fontBold);
    preset.underline = core::truthOf(o.fontUnderline);
    preset.strikeOut = core::truthOf(o.fontStrikethru);
    const platform::FontChoice chosen = m_context.services.dialogs.chooseFont(preset).value_or(preset);
    frmOpt().edit([&](OptView &v) {
        v.TxtFont = chosen.name;
        v.TxtSize = QString::number(chosen.size);
    });
    o.fontName = chosen.name;
    o.fontSize = QString::number(chosen.size);
    o.fontColor = QString::number(chosen.color);
    o.fontItalic = truthText(chosen.italic);
    o.fontBold = truthText(chosen.bold);
    o.fontUnderline = truthText(chosen.underline);
    o.fontStrikethru = truthText(chosen.strikeOut);
    m_context.fontSet();
}

void OptionsDialog::cmdColorClick()
{
    // A cancelled colour dialog changes nothing.
    const std::optional<quint32> chosen =
        m_context.services.dialogs.chooseColor(m_context.opt.backColor.toUInt());
    if (!chosen)
        return;
    frmOpt().edit([&](OptView &v) { v.TxtColor = *chosen; });
    m_context.opt.backColor = QString::number(*chosen);
    m_context.fontSet();
}

} // namespace settings
