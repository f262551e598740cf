#pragma once

#include "core/context.h"

#include <QTimer>

namespace protocol {

// The sender's side of a message: the compose window's send, and what comes back for it (the
// acknowledgement or refusal, then the partner's reaction) with the notices that report it.
class Sending final : public QObject {
    Q_OBJECT
public:
    // How long a reaction notice stays when it closes by itself.
    static constexpr int kNoticeMs = 10000;

    explicit Sending(core::Context &context);

    // Opens the compose window, empty, with its title.
    void openCompose();
    // "送信(&S)".
    void cmdSendClick();
    // "ｷｬﾝｾﾙ ": hides the compose window; the text stays.
    void cmdCancelClick();
    // "ｸﾘｯﾌﾟﾎﾞｰﾄﾞ送信(&C)": the clipboard's text, sent like the send button sends, without
    // showing the window; the clipboard is emptied whatever became of the send.
    void mnuClipClick();

    // "送信" arrived: history, then the send notice as the options say.
    void delivered();
    // "OTHER送信" arrived: the refusal is shown whatever the options say.
    void refused();
    // "Open確認", "保留" or "破棄" arrived.
    void reaction();

    // The notices' timers; a tick unloads the notice.
    QTimer &reactionTimer() { return m_reactionTimer; }
    QTimer &smallTimer() { return m_smallTimer; }
    void reactionTick();
    void smallTick();

private:
    void showSendResult();
    void showSmall();
    static void runTimer(QTimer &timer, bool on);

    core::Context &m_context;
    QTimer m_reactionTimer;
    QTimer m_smallTimer;
};

} // namespace protocol
