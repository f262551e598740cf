#pragma once

#include <QString>

namespace core {

// Every user preference, with the types and defaults of the options file. Several flags are held
// as text because that is how the file has always stored them.
struct OptSettings {
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
    QString posCenter = QStringLiteral("True");
    QString posLeftUp = QStringLiteral("False");
    QString posLeftLow = QStringLiteral("False");
    QString posRightUp = QStringLiteral("False");
    QString posRightLow = QStringLiteral("False");
    qint32 randomIcon = 0;
    QString userName;
    qint32 autoErase = 0;
    qint32 logEnabled = 1;
    qint32 tipEnabled = 1;
    QString tipText = QStringLiteral("ミルトアンヌ");
    qint32 startLocked = 0;
    qint32 notifyStartEnd = 0;
    QString blinkIcon = QStringLiteral("0");
    QString sendTitle = QStringLiteral("送信ﾒｯｾｰｼﾞ");
    qint32 logSave = 0;
    QString fontName; // the compose window's own font, filled at start-up
    QString fontSize = QStringLiteral("9");
    QString fontColor = QStringLiteral("0");
    QString fontItalic = QStringLiteral("False");
    QString fontBold = QStringLiteral("False");
    QString fontUnderline = QStringLiteral("False");
    QString fontStrikethru = QStringLiteral("False");
    QString backColor = QStringLiteral("16777215");
};

// A boolean text as the options hold it: "True"/"False" in any case, or a number (non-zero is
// true). Anything else is false.
bool truthOf(const QString &value);

} // namespace core
