#pragma once

#include "base/core/partnerrecord.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

namespace protocol {

// A received message that was still waiting (or held) when the copy ended, as the file of waiting
// messages keeps it for the next start.
struct WaitingMessage {
    core::Peer from;     // who sent it, and where answers go
    QString name;        // the sender's name as captions show it
    QString time;        // the time field of its newest message
    QString text;        // its text, messages of one person joined as the received window joins them
    QDateTime arrivedAt; // invalid when the file did not say
    friend bool operator==(const WaitingMessage &, const WaitingMessage &) = default;
};

// The file's bytes: JSON in UTF-8, the messages in the order they wait.
QByteArray formatWaitingFile(const QList<WaitingMessage> &messages);
// The messages a file holds; what is not such a file holds none. At most `maxMessages` are read,
// each text at most `maxText` characters (its newest ones), so an edited file is no bigger than
// what the copy itself would have kept.
QList<WaitingMessage> parseWaitingFile(const QByteArray &bytes, qsizetype maxMessages, qsizetype maxText);

} // namespace protocol
