#pragma once

#include <QString>

#include <optional>

namespace platform {

// Message-box styles and answers, as numbers: the program stores answers as text and compares
// them with these values.
namespace box {
constexpr int okOnly = 0;
constexpr int okCancel = 1;
constexpr int abortRetryIgnore = 2;
constexpr int yesNoCancel = 3;
constexpr int yesNo = 4;
constexpr int retryCancel = 5;
constexpr int critical = 16;
constexpr int question = 32;
constexpr int exclamation = 48;
constexpr int information = 64;
constexpr int defaultButton2 = 256;
constexpr int defaultButton3 = 512;

constexpr int ok = 1;
constexpr int cancel = 2;
constexpr int abort = 3;
constexpr int retry = 4;
constexpr int ignore = 5;
constexpr int yes = 6;
constexpr int no = 7;

constexpr int buttonsOf(int style)
{
    return style & 7;
}
constexpr int iconOf(int style)
{
    return style & 0x70;
}
// The answer of the button that has the focus when the box opens.
int defaultAnswer(int style);
// The answer of a box closed without a button: its only button, or cancel.
int closedAnswer(int style);
} // namespace box

struct FontChoice {
    QString name;
    double size = 9;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;

    friend bool operator==(const FontChoice &, const FontChoice &) = default;
};

// Every box and dialog the program shows goes through here, so tests can answer them.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Shows a modal box; returns the answer number of the pressed button.
    virtual int messageBox(const QString &text, int style, const QString &title) = 0;
    // Empty when the user cancelled.
    virtual std::optional<FontChoice> chooseFont(const FontChoice &initial) = 0;
    // Colours are 24-bit, red in the low byte.
    virtual std::optional<quint32> chooseColor(quint32 initial) = 0;
    // The program is ending without its user: an open box closes as if closed without a button,
    // and a later one is not shown, so nothing waits for an answer that will not come.
    virtual void closeAll() = 0;
};

} // namespace platform
