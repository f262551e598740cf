#pragma once

#include "base/core/menu.h"

#include <QMenu>

#include <array>

namespace shell {

// The tray menu and the call menu as Qt menus, following the menu model: captions, visibility,
// enabled states and check marks. A chosen entry is reported by its id through `chosen`.
class TrayMenus final : public QObject {
    Q_OBJECT
public:
    explicit TrayMenus(core::MenuModel &model);

    QMenu &trayMenu() { return m_tray; }
    QMenu &callMenu() { return m_call; }
    QAction *action(core::MenuId id) const { return m_actions[static_cast<std::size_t>(id)]; }

signals:
    void chosen(core::MenuId id);

private:
    void update(core::MenuId id);

    core::MenuModel &m_model;
    QMenu m_tray;
    QMenu m_options;
    QMenu m_call;
    std::array<QAction *, core::kMenuEntries> m_actions{};
};

} // namespace shell
