#pragma once

#include "base/core/context.h"
#include "base/core/trayicon.h"
#include "base/core/windows.h"
#include "base/protocol/sending.h"

namespace send {

// The compose window (FrmSnd).
struct ComposeView {
    QString message;
    core::TextStyle messageStyle;
    QString weekdayPanel; // panel 2 of the status bar: the weekday of the start-up day
};
class ComposeWindowModel final : public core::ViewModel<ComposeView> {
public:
    ComposeWindowModel() : ViewModel(QStringLiteral("送信ﾒｯｾｰｼﾞ"), core::IconId::normal(0)) {}
};

// The compose window's work: open it, send what it holds, or the clipboard's text.
class Compose final : public QObject {
    Q_OBJECT
public:
    Compose(core::Context &context, protocol::Sending &sending, core::TrayIcon &tray);

    ComposeWindowModel &window() { return m_window; }
    const ComposeWindowModel &window() const { return m_window; }

    // Opens the compose window with its title. A window already open keeps what is being typed;
    // otherwise it opens empty, or with the texts to the partner that were never confirmed, so
    // that they are not lost.
    void open();
    // "送信(&S)". True when the message went.
    bool send();
    // "ｷｬﾝｾﾙ ": hides the compose window; the text stays.
    void cancel() { m_window.hide(); }
    // "ｸﾘｯﾌﾟﾎﾞｰﾄﾞ送信(&C)": the clipboard's text, sent to the partner as the send button sends
    // (whatever the compose window holds stays there); the clipboard is emptied once it went.
    void sendClipboard();

private:
    core::Context &m_context;
    protocol::Sending &m_sending;
    core::TrayIcon &m_tray;
    ComposeWindowModel m_window;
};

} // namespace send
