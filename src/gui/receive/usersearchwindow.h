#pragma once

#include "base/core/context.h"
#include "base/receive/usersearch.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTreeWidget>
#include <QWidget>

#include <array>

namespace receive {

// The user list window: the answers to the search in five columns, "再検索" and "閉じる". It
// follows its model; the rows offer no action.
class UserSearchWindow final : public QWidget {
    Q_OBJECT
public:
    UserSearchWindow(core::Context &context, UserSearch &search);

    QTreeWidget *list = nullptr;
    QFrame *picturePanel = nullptr;
    std::array<QLabel *, 5> pictures{}; // objectNames Image1 to Image5
    QPushButton *searchButton = nullptr;
    QPushButton *closeButton = nullptr;
    QStatusBar *statusBar = nullptr;

    const UserLayout &layout() const { return m_layout; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void refresh();
    void applyLayout();

    core::Context &m_context;
    UserSearch &m_search;
    // Placement options that only centre: this window always opens in the middle of the screen,
    // whatever the user chose for the others.
    core::Options m_centred;
    UserLayout m_layout;
};

} // namespace receive
