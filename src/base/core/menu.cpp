#include "base/core/menu.h"

namespace core {

MenuModel::MenuModel()
    : m_entries{{
          {MenuId::Tray, MenuId::Tray, u"mnuTray", u"ﾀｽｸﾄﾚｲに表示するﾒﾆｭｰ", false},
          {MenuId::Compose, MenuId::Tray, u"mnuSendMsg", u"送信ﾒｯｾｰｼﾞの作成(&S)"},
          {MenuId::ShowReceived, MenuId::Tray, u"mnuRecvMsg", u"受信ﾒｯｾｰｼﾞの表示(&R)", true, false},
          {MenuId::SendClipboard, MenuId::Tray, u"mnuClip", u"ｸﾘｯﾌﾟﾎﾞｰﾄﾞ送信(&C)"},
          {MenuId::Letter, MenuId::Tray, u"mnuLetter", u"置き手紙作成(&W)"},
          {MenuId::SeparatorBeforeHistory, MenuId::Tray, u"mnuLine5", u"-"},
          {MenuId::History, MenuId::Tray, u"mnuLog", u"送受信履歴表示(&L)"},
          {MenuId::UserSearch, MenuId::Tray, u"mnuUser", u"ﾕｰｻﾞｰﾘｽﾄ表示(&U)"},
          {MenuId::SeparatorBeforePartner, MenuId::Tray, u"mnuLine4", u"-"},
          {MenuId::Partner, MenuId::Tray, u"mnuAite", u"お相手登録(&P)"},
          {MenuId::Settings, MenuId::Tray, u"mnuOpt", u"ｵﾌﾟｼｮﾝ(&O)"},
          {MenuId::IconSet, MenuId::Settings, u"mnuIcon", u"ｱｲｺﾝ変更(&I)"},
          {MenuId::Options, MenuId::Settings, u"mnuOther", u"動作環境の設定...(&O) "},
          {MenuId::SeparatorBeforeLock, MenuId::Tray, u"mnuLine3", u"-"},
          {MenuId::Lock, MenuId::Tray, u"mnuLock", u"操作ﾛｯｸ(&H)"},
          {MenuId::SeparatorBeforeAbout, MenuId::Tray, u"mnuLine2", u"-"},
          {MenuId::About, MenuId::Tray, u"mnuAbout", u"ﾊﾞｰｼﾞｮﾝ情報(&A)"},
          {MenuId::SeparatorBeforeQuit, MenuId::Tray, u"mnuLine1", u"-"},
          {MenuId::Quit, MenuId::Tray, u"mnuEnd", u"終了(&X)"},
          {MenuId::CallMenu, MenuId::CallMenu, u"PopMnu", u"CALL", false},
          {MenuId::CallPerson, MenuId::CallMenu, u"mnuHuman", u"人"},
          {MenuId::CallPhone, MenuId::CallMenu, u"mnuTel", u"電話"},
      }}
{
}

void MenuModel::setVisible(MenuId id, bool on)
{
    if (std::exchange(m_entries[index(id)].visible, on) != on)
        emit changed(id);
}

void MenuModel::setEnabled(MenuId id, bool on)
{
    if (std::exchange(m_entries[index(id)].enabled, on) != on)
        emit changed(id);
}

void MenuModel::setChecked(MenuId id, bool on)
{
    if (std::exchange(m_entries[index(id)].checked, on) != on)
        emit changed(id);
}

void MenuModel::lock()
{
    m_locked = true;
    setChecked(MenuId::Lock, true);
    m_composeKept = enabled(MenuId::Compose);
    m_receivedKept = enabled(MenuId::ShowReceived);
    for (MenuId id :
         {MenuId::Compose, MenuId::ShowReceived, MenuId::History, MenuId::SendClipboard, MenuId::UserSearch,
          MenuId::Partner, MenuId::Settings, MenuId::Letter, MenuId::About, MenuId::Quit,
          MenuId::SeparatorBeforeQuit, MenuId::SeparatorBeforeAbout, MenuId::SeparatorBeforeLock,
          MenuId::SeparatorBeforePartner, MenuId::SeparatorBeforeHistory})
        setVisible(id, false);
}

void MenuModel::unlock()
{
    for (MenuId id : {MenuId::Compose, MenuId::ShowReceived, MenuId::History, MenuId::SendClipboard,
                      MenuId::Partner, MenuId::Settings, MenuId::Letter, MenuId::About, MenuId::Quit,
                      MenuId::SeparatorBeforeQuit, MenuId::SeparatorBeforeAbout, MenuId::SeparatorBeforeLock,
                      MenuId::SeparatorBeforePartner, MenuId::SeparatorBeforeHistory})
        setVisible(id, true);
    m_locked = false;
    setChecked(MenuId::Lock, false);
    setEnabled(MenuId::Compose, m_composeKept);
    setEnabled(MenuId::ShowReceived, m_receivedKept);
    for (MenuId id :
         {MenuId::History, MenuId::SendClipboard, MenuId::UserSearch, MenuId::Partner, MenuId::Settings,
          MenuId::IconSet, MenuId::Options, MenuId::Letter, MenuId::About, MenuId::Quit})
        setEnabled(id, true);
}

void MenuModel::choose(MenuId id) const
{
    if (const std::function<void()> &action = m_actions[index(id)])
        action();
}

bool MenuModel::enabledThroughLock(MenuId id) const
{
    if (!m_locked)
        return enabled(id);
    return id == MenuId::Compose ? m_composeKept : m_receivedKept;
}

void MenuModel::setEnabledThroughLock(MenuId id, bool on)
{
    Q_ASSERT(id == MenuId::Compose || id == MenuId::ShowReceived);
    if (!m_locked)
        setEnabled(id, on);
    else if (id == MenuId::Compose)
        m_composeKept = on;
    else
        m_receivedKept = on;
}

} // namespace core
