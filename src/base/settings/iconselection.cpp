#include "base/settings/iconselection.h"

#include "base/settings/optfile.h"

namespace settings {

IconSelection::IconSelection(core::Context &context, core::TrayIcon &tray) : m_context(context), m_tray(tray)
{
    context.menu.setAction(core::MenuId::IconSet, [this] { open(); });
    const int set = context.opt.iconSet();
    window.setIcon(core::IconId::normal(set));
    window.editQuietly([set](IconSelectionView &v) { v.selectedSet = set; });
    // Start-up selects the set it applies, and so does OK; after "閉じる" the user's choice stays.
    connect(&context, &core::Context::iconSetApplied, this, [this](int applied) {
        window.setIcon(core::IconId::normal(applied));
        window.edit([applied](IconSelectionView &v) { v.selectedSet = applied; });
    });
}

void IconSelection::open()
{
    m_context.menu.setVisible(core::MenuId::Tray, false);
    window.show();
}

void IconSelection::select(int set)
{
    if (set < 0 || set >= core::kIconSets || set == window.view().selectedSet)
        return;
    window.edit([set](IconSelectionView &v) { v.selectedSet = set; });
}

void IconSelection::apply()
{
    core::Context &c = m_context;
    const int set = window.view().selectedSet;
    const QString before = c.opt.iconNo;
    c.opt.iconNo = QString::number(set);
    // A set that could not be saved is not taken: the user has been told, and the windows keep the
    // set the next start will show too.
    if (!settings::writeOptionsFile(c)) {
        c.opt.iconNo = before;
        return;
    }
    // iconNo first: the windows that draw both pictures of the set read it when they refresh.
    c.applyIconSet(set);
    // A waiting message keeps the received picture, now of the new set.
    m_tray.show(m_tray.restingPicture());
    c.box(QStringLiteral("ｱｲｺﾝ変更完了！"), platform::box::information, QStringLiteral("確認"));
}

void IconSelection::close()
{
    window.hide();
}

} // namespace settings
