#include "message.h"

#include "base/protocol/tags.h"
#include "base/protocol/wire.h"
#include "base/text/cp932.h"

#include <QTime>

using namespace Qt::StringLiterals;

namespace bench {

QString messageText()
{
    return u"こんにちは。今夜の打ち合わせは七時からです。"_s;
}

QByteArray messageDatagram(const QString &userName)
{
    const protocol::MessageHead head = protocol::messageHead(userName, QTime(9, 5, 0));
    return text::toCp932(protocol::ordinaryMessage(head, messageText()));
}

QByteArray deliveredDatagram()
{
    return text::toCp932(protocol::tagOf(protocol::Kind::Delivered));
}

} // namespace bench
