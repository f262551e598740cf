#pragma once

#include <QObject>
#include <QString>

#include <array>

namespace core {

// The entries of the tray menu and of the call menu, in the order they appear.
enum class MenuId {
    Tray,
    Compose,
    ShowReceived,
    SendClipboard,
    Letter,
    SeparatorBeforeHistory,
    History,
    UserSearch,
    SeparatorBeforePartner,
    Partner,
    Settings,
    IconSet,
    Options,
    SeparatorBeforeLock,
    Lock,
    SeparatorBeforeAbout,
    About,
    SeparatorBeforeQuit,
    Quit,
    CallMenu,
    CallPerson,
    CallPhone,
};
constexpr int kMenuEntries = static_cast<int>(MenuId::CallPhone) + 1;

struct MenuEntry {
    MenuId id;
    MenuId parent; // a top entry is its own parent
    const char16_t *name;
    const char16_t *caption; // "-" for a separator
    bool visible = true;
    bool enabled = true;
    bool checked = false;

    bool isSeparator() const { return caption[0] == u'-' && caption[1] == 0; }
};

// The state of both menu trees: what the handlers switch and what the tray menu shows.
class MenuModel final : public QObject {
    Q_OBJECT
public:
    MenuModel();

    const MenuEntry &entry(MenuId id) const { return m_entries[index(id)]; }
    const std::array<MenuEntry, kMenuEntries> &entries() const { return m_entries; }

    bool visible(MenuId id) const { return entry(id).visible; }
    bool enabled(MenuId id) const { return entry(id).enabled; }
    bool checked(MenuId id) const { return entry(id).checked; }
    void setVisible(MenuId id, bool on);
    void setEnabled(MenuId id, bool on);
    void setChecked(MenuId id, bool on);

signals:
    void changed(core::MenuId id);

private:
    static std::size_t index(MenuId id) { return static_cast<std::size_t>(id); }
    std::array<MenuEntry, kMenuEntries> m_entries;
};

} // namespace core
