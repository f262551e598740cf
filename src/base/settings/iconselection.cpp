#include "base/settings/iconselection.h"

#include "base/settings/optfile.h"

namespace settings {

IconSelection::IconSelection(core::Context &context) : m_context(context)
{
    const int set = context.iconSet();
    frmOption.setIcon(core::IconId::normal(set));
    frmOption.editQuietly([set](IconSelectionView &v) { v.option1 = set; });
    // Start-up selects the set it applies, and so does OK; after "閉じる" the user's choice stays.
    connect(&context, &core::Context::iconSetApplied, this, [this](int applied) {
        frmOption.setIcon(core::IconId::normal(applied));
        frmOption.edit([applied](IconSelectionView &v) { v.option1 = applied; });
    });
}

void IconSelection::open()
{
    m_context.menu.setVisible(core::MenuId::Tray, false);
    frmOption.show();
}

void IconSelection::option1Click(int set)
{
    if (set < 0 || set >= core::kIconSets || set == frmOption.view().option1)
        return;
    frmOption.edit([set](IconSelectionView &v) { v.option1 = set; });
}

void IconSelection::cmdOkClick()
{
    core::Context &c = m_context;
    const int set = frmOption.view().option1;
    // iconNo first: the windows that draw both pictures of the set read it when they refresh.
    c.opt.iconNo = QString::number(set);
    c.applyIconSet(set);
    // A waiting message keeps the received picture, now of the new set.
    c.changeTray(c.restingTrayPicture());
    // A save that failed has said so already; the new set still shows until the program ends.
    if (settings::optWrite(c))
        c.box(QStringLiteral("ｱｲｺﾝ変更完了！"), platform::box::information, QStringLiteral("確認"));
}

void IconSelection::cmdCancelClick()
{
    frmOption.hide();
}

} // namespace settings
