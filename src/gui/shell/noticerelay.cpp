#include "gui/shell/noticerelay.h"

namespace shell {
namespace {

template <typename View> QString dated(const View &v)
{
    return v.text + QChar(u'\n') + v.date + QStringLiteral("  ") + v.time;
}

} // namespace

NoticeRelay::NoticeRelay(send::SendNotices &notices, platform::Notifications &notifications,
                         std::function<bool()> wanted, bool windowsTakeKeyboard)
    : m_notifications(notifications), m_wanted(std::move(wanted)), m_windowsTakeKeyboard(windowsTakeKeyboard)
{
    using platform::NotificationSlot;
    relay<send::SendResultWindowModel>(notices.sendResultSlot(), NotificationSlot::SendResult,
                                       [](const send::SendResultWindowModel &m) { return dated(m.view()); });
    relay<send::ReactionWindowModel>(notices.reactionSlot(), NotificationSlot::Reaction,
                                     [](const send::ReactionWindowModel &m) { return dated(m.view()); });
    relay<send::SmallNoticeWindowModel>(
        notices.smallSlot(), NotificationSlot::SmallNotice, [](const send::SmallNoticeWindowModel &m) {
            const QString what = m.view().showsReaction ? QStringLiteral("ﾒｯｾｰｼﾞに応答がありました。")
                                                        : QStringLiteral("ﾒｯｾｰｼﾞは正しく送信されました。");
            return what + QChar(u'\n') + m.view().time;
        });
}

bool NoticeRelay::relays() const
{
    return m_windowsTakeKeyboard && m_notifications.available() && m_wanted();
}

template <typename Model>
void NoticeRelay::relay(core::WindowSlot<Model> &slot, platform::NotificationSlot to,
                        std::function<QString(const Model &)> body)
{
    connect(&slot, &core::WindowSlotBase::loaded, this, [this, &slot, to, body] {
        if (!relays())
            return;
        Model &model = *slot.ifLoaded();
        auto post = [this, &model, to, body] {
            if (!model.isVisible())
                return;
            const QString title = model.caption().trimmed();
            m_notifications.post(to, title.isEmpty() ? core::kProductName : title, body(model));
        };
        connect(&model, &core::WindowModel::visibilityChanged, this, post);
        connect(&model, &core::WindowModel::changed, this, post);
    });
    connect(&slot, &core::WindowSlotBase::unloading, this, [this, to] { m_notifications.withdraw(to); });
    const auto dismiss = [&slot, to](platform::NotificationSlot which) {
        if (which == to)
            slot.unload();
    };
    connect(&m_notifications, &platform::Notifications::invoked, this, dismiss);
    connect(&m_notifications, &platform::Notifications::dismissed, this, dismiss);
}

} // namespace shell
