#pragma once

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

// Whether `datagram` fits `room` bytes (one datagram, less any envelope) once it is in CP932.
bool fitsOneDatagram(QStringView datagram, qsizetype room = kMaxDatagramBytes);

// The header of an outgoing message or letter: two fixed-width fields.
struct MessageHead {
    QString headName; // the sender's name in kNameWidth characters
    QString headTime; // "hh:mm:ss"
};
// The header of a message sent now: the name and the time, each in its fixed width.
MessageHead messageHead(const QString &name, QTime time);
// The name this copy signs its messages with: the user name, or the login name when the user
// gave none (the partner would otherwise see only an address).
QString signature(const QString &userName, const QString &loginName);
// headName + headTime + text.
QString ordinaryMessage(const MessageHead &head, const QString &text);
// What the user is told when a text does not fit one datagram behind `prefix` (the header, and
// a letter's tag): `what`, then how many characters fit, full-width and half-width, in `room` bytes
// (less than a whole datagram when an envelope goes round it, which the text then says).
QString tooLongText(const QString &what, QStringView prefix, qsizetype room = kMaxDatagramBytes);

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
