#pragma once

#include <QObject>
#include <QString>

#include <array>
#include <functional>

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

// The state of both menu trees: what the handlers switch and what the tray menu shows, and the
// operation lock, which hides every entry but its own.
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

    // Puts the operation lock on: the lock entry checked, the message entries' states kept
    // aside, every other entry hidden.
    void lock();
    // Gives the menu entries back after the operation lock.
    void unlock();
    bool isLocked() const { return m_locked; }
    // The two message entries (compose and received) as they are, or under the lock as they come
    // back when it is lifted.
    bool enabledThroughLock(MenuId id) const;
    void setEnabledThroughLock(MenuId id, bool on);

    // What choosing an entry does; the part that owns the entry sets it.
    void setAction(MenuId id, std::function<void()> action) { m_actions[index(id)] = std::move(action); }
    // The entry was chosen: its action runs, if it has one (the others belong to the windows that
    // carry them).
    void choose(MenuId id) const;

signals:
    void changed(core::MenuId id);

private:
    static std::size_t index(MenuId id) { return static_cast<std::size_t>(id); }
    std::array<MenuEntry, kMenuEntries> m_entries;
    std::array<std::function<void()>, kMenuEntries> m_actions;
    bool m_locked = false;
    // The message entries' enabled states while the lock hides them.
    bool m_composeKept = false;
    bool m_receivedKept = false;
};

} // namespace core
