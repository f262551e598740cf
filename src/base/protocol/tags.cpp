#include "base/protocol/tags.h"

namespace protocol {

QString tagOf(Kind kind)
{
    for (const TagRow &row : kTags) {
        if (row.kind == kind)
            return row.tag.toString();
    }
    return {};
}

namespace {

// An ordinary message from a user named like one of these tags has a blank (or the twelfth
// character of the name) where the start time would begin, followed by its send time, so it can
// never read as "hh:mm" there.
bool startTimeFollowsTag(QStringView datagram)
{
    const QStringView time = datagram.mid(kTagWidth, 5);
    auto digit = [](QChar c) { return c >= u'0' && c <= u'9'; };
    return time.size() == 5 && digit(time[0]) && digit(time[1]) && time[2] == u':' && digit(time[3]) &&
           digit(time[4]);
}

} // namespace

Kind classify(QStringView datagram)
{
    const QStringView head = datagram.left(kTagWidth);
    for (const TagRow &row : kTags) {
        if (head == row.tag)
            return !carriesStartTime(row.kind) || startTimeFollowsTag(datagram) ? row.kind : Kind::Message;
    }
    return Kind::Message;
}

} // namespace protocol
