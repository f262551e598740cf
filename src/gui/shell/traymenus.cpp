#include "gui/shell/traymenus.h"

namespace shell {

TrayMenus::TrayMenus(core::MenuModel &model) : m_model(model)
{
    using core::MenuId;
    m_tray.setObjectName(QStringLiteral("mnuTray"));
    m_call.setObjectName(QStringLiteral("PopMnu"));
    m_options.setObjectName(QStringLiteral("mnuOptMenu"));
    for (const core::MenuEntry &e : model.entries()) {
        const QString caption = QString::fromUtf16(e.caption);
        QAction *action = nullptr;
        if (e.id == MenuId::Tray || e.id == MenuId::CallMenu) {
            QMenu &menu = e.id == MenuId::Tray ? m_tray : m_call;
            menu.setTitle(caption);
            action = menu.menuAction();
        } else if (e.id == MenuId::Settings) {
            m_options.setTitle(caption);
            action = m_tray.addMenu(&m_options);
        } else {
            QMenu &parent = e.parent == MenuId::Tray       ? m_tray
                            : e.parent == MenuId::Settings ? m_options
                                                           : m_call;
            action = e.isSeparator() ? parent.addSeparator() : parent.addAction(caption);
            if (e.parent == MenuId::CallMenu)
                action->setCheckable(true);
            // Qt turns a check mark over on the click; the handler decides, and may leave the state
            // as it was (an unlock cancelled at its password, the call kind chosen again), so the
            // mark is put back to what the model says.
            if (!e.isSeparator())
                connect(action, &QAction::triggered, this, [this, id = e.id] {
                    emit chosen(id);
                    update(id);
                });
        }
        action->setObjectName(QString::fromUtf16(e.name));
        m_actions[static_cast<std::size_t>(e.id)] = action;
        update(e.id);
    }
    action(MenuId::Lock)->setCheckable(true);
    connect(&model, &core::MenuModel::changed, this, &TrayMenus::update);
}

void TrayMenus::update(core::MenuId id)
{
    // The two top entries exist only as pop-ups; their visibility is that of a menu bar entry.
    if (id == core::MenuId::Tray || id == core::MenuId::CallMenu)
        return;
    const core::MenuEntry &e = m_model.entry(id);
    QAction *a = action(id);
    a->setVisible(e.visible);
    a->setEnabled(e.enabled);
    if (a->isCheckable())
        a->setChecked(e.checked);
}

} // namespace shell
