#pragma once

#include "core/icons.h"

#include <QObject>
#include <QString>

namespace core {

// How a message box draws its text: the font and colour options, as the boxes take them.
struct TextStyle {
    QString fontName;
    double fontSize = 9;
    quint32 color = 0;          // 24-bit, red in the low byte
    bool italic = false;
    bool bold = false;
    bool underline = false;
    bool strikethru = false;
    quint32 backColor = 0xFFFFFF;

    friend bool operator==(const TextStyle &, const TextStyle &) = default;
};

// What a window shows, kept apart from the widget so that the handlers work the same whether the
// window exists on screen or not, and tests can read it without a display. The window's widget
// follows its model: it is refreshed on `changed` while visible and whenever it is shown.
class WindowModel : public QObject {
    Q_OBJECT
public:
    WindowModel(QString caption, IconId icon) : m_caption(std::move(caption)), m_icon(icon) {}

    const QString &caption() const { return m_caption; }
    void setCaption(const QString &caption) { assign(m_caption, caption); }
    IconId icon() const { return m_icon; }
    void setIcon(IconId icon) { assign(m_icon, icon); }

    bool isVisible() const { return m_visible; }
    // Shows the window, placed by the placement rule when it is in its normal state.
    void show();
    void hide();

signals:
    void changed();
    void visibilityChanged(bool visible);

protected:
    template <typename T>
    void assign(T &field, const T &value)
    {
        if (field == value)
            return;
        field = value;
        emit changed();
    }

private:
    QString m_caption;
    IconId m_icon;
    bool m_visible = false;
};

// The compose window, FrmSnd.
class MainWindowModel final : public WindowModel {
    Q_OBJECT
public:
    MainWindowModel() : WindowModel(QStringLiteral("送信ﾒｯｾｰｼﾞ"), IconId::normal(0)) {}

    const QString &txtMsg() const { return m_txtMsg; }
    void setTxtMsg(const QString &text) { assign(m_txtMsg, text); }
    // What the user typed; the widget already shows it, so no refresh is asked for.
    void takeTypedText(const QString &text) { m_txtMsg = text; }

    const TextStyle &txtMsgStyle() const { return m_style; }
    void setTxtMsgStyle(const TextStyle &style) { assign(m_style, style); }

    // Panel 2 of StatusBar1: the weekday of the start-up day.
    const QString &weekdayPanel() const { return m_weekday; }
    void setWeekdayPanel(const QString &text) { assign(m_weekday, text); }

private:
    QString m_txtMsg;
    TextStyle m_style;
    QString m_weekday;
};

// The received-message window, FrmRecv. Its icon is the received picture of the icon set; the
// tray showing that same picture is what "a message is waiting" means.
class ReceivedWindowModel final : public WindowModel {
    Q_OBJECT
public:
    ReceivedWindowModel() : WindowModel(QStringLiteral("ミルトアンヌ　受信ﾒｯｾｰｼﾞ"), IconId::received(0)) {}

    const TextStyle &text1Style() const { return m_text1Style; }
    const TextStyle &text2Style() const { return m_text2Style; }
    void setTextStyles(const TextStyle &text1, const TextStyle &text2)
    {
        assign(m_text1Style, text1);
        assign(m_text2Style, text2);
    }

private:
    TextStyle m_text1Style;
    TextStyle m_text2Style;
};

// The letter window, FrmLetter. Panel 1 of its status bar is the letter's state: empty when no
// letter waits, "未確認" while one waits for the partner.
class LetterWindowModel final : public WindowModel {
    Q_OBJECT
public:
    LetterWindowModel() : WindowModel(QStringLiteral("置き手紙作成"), IconId::normal(0)) {}

    const QString &statusPanel() const { return m_status; }
    void setStatusPanel(const QString &text) { assign(m_status, text); }

private:
    QString m_status;
};

} // namespace core
