#include "base/protocol/wire.h"

#include "base/protocol/tags.h"
#include "base/text/cp932.h"
#include "base/text/fields.h"

namespace protocol {

void fillMessageHead(core::MessageHead &head, const QString &userName, QTime time)
{
    head.headName = text::fixedField(userName, kNameWidth);
    head.headTime = text::fixedField(text::hhmmss(time), kTimeWidth);
}

bool fitsOneDatagram(QStringView datagram)
{
    // Every character takes one or two bytes, so most texts are answered without encoding them.
    if (datagram.size() * 2 <= kMaxDatagramBytes)
        return true;
    return datagram.size() <= kMaxDatagramBytes && text::toCp932(datagram).size() <= kMaxDatagramBytes;
}

QString ordinaryMessage(const core::MessageHead &head, const QString &text)
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
