#pragma once

#include <QString>

namespace core {

// Where windows are placed. Unset: where they are.
enum class WindowPosition { Unset, Center, RightUp, RightLow, LeftUp, LeftLow };

// The position that acts when the five position flags are set as given: placement tests centre,
// right up, right low, left up and left low in that order, and the last one set wins.
WindowPosition windowPositionOf(bool center, bool rightUp, bool rightLow, bool leftUp, bool leftLow);

// Every user preference, with the defaults of the options file. The flags that the file keeps as
// "True"/"False" are held as bool; the file's reader and writer convert them. The numbers are held
// as the file gives them: a flag counts as on when it is not 0, and a value nobody changed is
// written back as it was read.
struct Options {
    QString iconNo = QStringLiteral("0");
    qint32 sendConfirm = 1;
    qint32 sendConfirmMin = 0;
    qint32 recvConfirm = 1;
    qint32 recvConfirmMin = 0;
    qint32 rejectOthers = 0;
    qint32 addOnHold = 1;
    qint32 pwEnabled = 0;
    QString password;
    QString pwCurrentEntry;
    QString pwNewEntry;
    // Where windows are placed; windowPosition() says which of them acts.
    bool posCenter = true;
    bool posLeftUp = false;
    bool posLeftLow = false;
    bool posRightUp = false;
    bool posRightLow = false;
    qint32 randomIcon = 0;
    QString userName;
    qint32 autoErase = 0;
    qint32 logEnabled = 1;
    qint32 tipEnabled = 1;
    QString tipText = QStringLiteral("ミルトアンヌ");
    qint32 startLocked = 0;
    qint32 notifyStartEnd = 0;
    qint32 blinkIcon = 0; // the file keeps it as text, "1" or "0"
    QString sendTitle = QStringLiteral("送信ﾒｯｾｰｼﾞ");
    qint32 logSave = 0;
    QString fontName; // the compose window's own font, filled at start-up
    QString fontSize = QStringLiteral("9");
    QString fontColor = QStringLiteral("0");
    bool fontItalic = false;
    bool fontBold = false;
    bool fontUnderline = false;
    bool fontStrikethru = false;
    QString backColor = QStringLiteral("16777215");

    // What the flags mean to the program. Each is read here only: the file may hold any number,
    // and copies on Windows take "on" to be exactly 1 for most flags, anything but 0 for a few.
    bool confirmsDelivery() const { return sendConfirm == 1; }
    bool smallDeliveryNotice() const { return sendConfirmMin == 1; }
    bool confirmsReaction() const { return recvConfirm == 1; }
    bool smallReactionNotice() const { return recvConfirmMin == 1; }
    bool erasesNotices() const { return autoErase != 0; }
    bool refusesOthers() const { return rejectOthers == 1; }
    bool addsWhileHeld() const { return addOnHold == 1; }
    bool keepsHistory() const { return logEnabled == 1; }
    bool savesJournal() const { return logSave == 1; }
    bool showsTip() const { return tipEnabled == 1; }
    bool startsLocked() const { return startLocked == 1; }
    bool notifiesStartEnd() const { return notifyStartEnd == 1; }
    bool blinks() const { return blinkIcon != 0; }
    bool picksRandomIcons() const { return randomIcon == 1; }
    // The icon set in use, from iconNo; 0 when iconNo names none.
    int iconSet() const;

    // Whether partner registration and lifting the lock ask for the password: protection on, and a
    // password to type (without one nobody could ever get in).
    bool passwordProtected() const { return pwEnabled != 0 && !password.isEmpty(); }
    WindowPosition windowPosition() const
    {
        return windowPositionOf(posCenter, posRightUp, posRightLow, posLeftUp, posLeftLow);
    }
    // Sets `position` alone, the other four cleared.
    void setWindowPosition(WindowPosition position);
};

// A boolean text as the options hold it: "True"/"False" in any case, or a number (non-zero is
// true). Anything else is false.
bool truthOf(const QString &value);

} // namespace core
