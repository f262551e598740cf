#include "base/protocol/waitingfile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace protocol {
namespace {
const QString kList = QStringLiteral("waiting");
const QString kFrom = QStringLiteral("from");
// Only there for a message that came sealed, so that an unpaired copy writes what it always wrote.
const QString kSealed = QStringLiteral("sealed");
const QString kName = QStringLiteral("name");
const QString kTime = QStringLiteral("time");
const QString kText = QStringLiteral("text");
const QString kArrived = QStringLiteral("arrived");
} // namespace

QByteArray formatWaitingFile(const QList<WaitingMessage> &messages)
{
    QJsonArray list;
    for (const WaitingMessage &m : messages) {
        QJsonObject entry{{kFrom, m.from.address},
                          {kName, m.name},
                          {kTime, m.time},
                          {kText, m.text},
                          {kArrived, m.arrivedAt.toString(Qt::ISODate)}};
        if (m.from.sealed)
            entry.insert(kSealed, true);
        list.append(entry);
    }
    return QJsonDocument(QJsonObject{{kList, list}}).toJson(QJsonDocument::Compact);
}

QList<WaitingMessage> parseWaitingFile(const QByteArray &bytes, qsizetype maxMessages, qsizetype maxText)
{
    QList<WaitingMessage> messages;
    const QJsonArray list = QJsonDocument::fromJson(bytes).object().value(kList).toArray();
    for (const auto &value : list) {
        if (messages.size() >= maxMessages)
            break;
        const QJsonObject m = value.toObject();
        WaitingMessage message{core::Peer(m.value(kFrom).toString(), m.value(kSealed).toBool()),
                               m.value(kName).toString(), m.value(kTime).toString(),
                               m.value(kText).toString().right(maxText),
                               QDateTime::fromString(m.value(kArrived).toString(), Qt::ISODate)};
        // Without a sender there is nobody to answer: such an entry is not a message.
        if (message.from.address.isEmpty())
            continue;
        messages << message;
    }
    return messages;
}

} // namespace protocol
