#include "base/protocol/wire.h"

#include "base/protocol/tags.h"
#include "base/text/cp932.h"
#include "base/text/fields.h"

#include <QLocale>

namespace protocol {

MessageHead messageHead(const QString &name, QTime time)
{
    return {text::fixedField(name, kNameWidth), text::fixedField(text::hhmmss(time), kTimeWidth)};
}

QString signature(const QString &userName, const QString &loginName)
{
    return userName.isEmpty() ? loginName : userName;
}

QString tooLongText(const QString &what, QStringView prefix, qsizetype datagramRoom)
{
    // A line break takes two bytes (CR LF) like a full-width character.
    const qsizetype room = datagramRoom - text::toCp932(prefix).size();
    const QLocale japanese(QLocale::Japanese);
    return what + QChar(u'\n') +
           QStringLiteral("送信できるのは全角%1文字（半角%2文字）までです。")
               .arg(japanese.toString(room / 2), japanese.toString(room)) +
           (datagramRoom < kMaxDatagramBytes ? QStringLiteral("（暗号化する分、少し短くなります。）")
                                             : QString());
}

bool fitsOneDatagram(QStringView datagram, qsizetype room)
{
    // Every character takes one or two bytes, so most texts are answered without encoding them.
    if (datagram.size() * 2 <= room)
        return true;
    return datagram.size() <= room && text::toCp932(datagram).size() <= room;
}

QString ordinaryMessage(const MessageHead &head, const QString &text)
{
    return head.headName + head.headTime + text;
}

MessageFields splitMessage(QStringView datagram)
{
    return {text::charsBetween(datagram, 1, kNameWidth),
            text::charsBetween(datagram, kNameWidth + 1, kNameWidth + kTimeWidth),
            text::charsFrom(datagram, kTextStart)};
}

QString startNoticeText(const QString &startTime)
{
    return tagOf(Kind::Start) + startTime + kWaveDash + QString(5, u' ');
}

QString endNoticeText(const QString &startTime, const QString &endTime)
{
    return tagOf(Kind::End) + startTime + kWaveDash + endTime;
}

} // namespace protocol
