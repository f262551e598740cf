#pragma once

#include "base/core/state.h"

#include <QString>
#include <QStringView>
#include <QTime>

// The texts of the datagrams this program builds, and the fields of an ordinary message.
namespace protocol {

constexpr int kNameWidth = 12;
constexpr int kTimeWidth = 8;
constexpr int kTextStart = kNameWidth + kTimeWidth + 1; // character 21
inline const QString kWaveDash = QStringLiteral("～");  // U+FF5E, 81 60 on the wire
// The most one UDP datagram over IPv4 can carry; the wire has no way to split a longer text.
constexpr qsizetype kMaxDatagramBytes = 65507;

// Whether `datagram` fits one datagram once it is in CP932.
bool fitsOneDatagram(QStringView datagram);

// Fills the header of the next message: the user name and the time, each in its fixed width.
void fillMessageHead(core::MessageHead &head, const QString &userName, QTime time);
// headName + headTime + text.
QString ordinaryMessage(const core::MessageHead &head, const QString &text);

// The three fields of an ordinary message as it arrived (after any letter tag is taken off).
struct MessageFields {
    QStringView name; // characters 1-12
    QStringView time; // characters 13-20
    QStringView text; // characters 21 to the end
};
MessageFields splitMessage(QStringView datagram);

QString startNoticeText(const QString &startTime);
QString endNoticeText(const QString &startTime, const QString &endTime);

} // namespace protocol
