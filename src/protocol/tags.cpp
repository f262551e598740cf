#include "protocol/tags.h"

namespace protocol {

QString tagOf(Kind kind)
{
    for (const TagRow &row : kTags) {
        if (row.kind == kind)
            return row.tag.toString();
    }
    return {};
}

Kind classify(QStringView datagram)
{
    const QStringView head = datagram.left(kTagWidth);
    for (const TagRow &row : kTags) {
        if (head == row.tag)
            return row.kind;
    }
    return Kind::Message;
}

} // namespace protocol
