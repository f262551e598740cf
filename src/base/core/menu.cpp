#include "base/core/menu.h"

namespace core {

MenuModel::MenuModel()
    : m_entries{{
          {MenuId::Tray, MenuId::Tray, u"mnuTray", u"ﾀｽｸﾄﾚｲに表示するﾒﾆｭｰ", false},
          {MenuId::SendMsg, MenuId::Tray, u"mnuSendMsg", u"送信ﾒｯｾｰｼﾞの作成(&S)"},
          {MenuId::RecvMsg, MenuId::Tray, u"mnuRecvMsg", u"受信ﾒｯｾｰｼﾞの表示(&R)", true, false},
          {MenuId::Clip, MenuId::Tray, u"mnuClip", u"ｸﾘｯﾌﾟﾎﾞｰﾄﾞ送信(&C)"},
          {MenuId::Letter, MenuId::Tray, u"mnuLetter", u"置き手紙作成(&W)"},
          {MenuId::Line5, MenuId::Tray, u"mnuLine5", u"-"},
          {MenuId::Log, MenuId::Tray, u"mnuLog", u"送受信履歴表示(&L)"},
          {MenuId::User, MenuId::Tray, u"mnuUser", u"ﾕｰｻﾞｰﾘｽﾄ表示(&U)"},
          {MenuId::Line4, MenuId::Tray, u"mnuLine4", u"-"},
          {MenuId::Aite, MenuId::Tray, u"mnuAite", u"お相手登録(&P)"},
          {MenuId::Opt, MenuId::Tray, u"mnuOpt", u"ｵﾌﾟｼｮﾝ(&O)"},
          {MenuId::Icon, MenuId::Opt, u"mnuIcon", u"ｱｲｺﾝ変更(&I)"},
          {MenuId::Other, MenuId::Opt, u"mnuOther", u"動作環境の設定...(&O) "},
          {MenuId::Line3, MenuId::Tray, u"mnuLine3", u"-"},
          {MenuId::Lock, MenuId::Tray, u"mnuLock", u"操作ﾛｯｸ(&H)"},
          {MenuId::Line2, MenuId::Tray, u"mnuLine2", u"-"},
          {MenuId::About, MenuId::Tray, u"mnuAbout", u"ﾊﾞｰｼﾞｮﾝ情報(&A)"},
          {MenuId::Line1, MenuId::Tray, u"mnuLine1", u"-"},
          {MenuId::End, MenuId::Tray, u"mnuEnd", u"終了(&X)"},
          {MenuId::PopMnu, MenuId::PopMnu, u"PopMnu", u"CALL", false},
          {MenuId::Human, MenuId::PopMnu, u"mnuHuman", u"人"},
          {MenuId::Tel, MenuId::PopMnu, u"mnuTel", u"電話"},
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

} // namespace core
