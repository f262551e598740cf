#pragma once

#include <QString>

namespace core {

// Every user preference, with the defaults of the options file. The flags that the file keeps as
// text ("True"/"False", "0"/"1") are held as bool; the file's reader and writer convert them.
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
    // Where windows are placed: the first of these that is set wins, centre first.
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
    bool blinkIcon = false; // "1"/"0" in the file
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
};

// A boolean text as the options hold it: "True"/"False" in any case, or a number (non-zero is
// true). Anything else is false.
bool truthOf(const QString &value);

} // namespace core
