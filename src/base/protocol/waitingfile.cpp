#include "base/protocol/waitingfile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace protocol {
namespace {
const QString kList = QStringLiteral("waiting");
const QString kFrom = QStringLiteral("from");
const QString kName = QStringLiteral("name");
const QString kTime = QStringLiteral("time");
const QString kText = QStringLiteral("text");
const QString kArrived = QStringLiteral("arrived");
} // namespace

QByteArray formatWaitingFile(const QList<WaitingMessage> &messages)
{
    QJsonArray list;
    for (const WaitingMessage &m : messages) {
        list.append(QJsonObject{{kFrom, m.from},
                                {kName, m.name},
                                {kTime, m.time},
                                {kText, m.text},
                                {kArrived, m.arrivedAt.toString(Qt::ISODate)}});
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
        WaitingMessage message{m.value(kFrom).toString(), m.value(kName).toString(),
                               m.value(kTime).toString(), m.value(kText).toString().right(maxText),
                               QDateTime::fromString(m.value(kArrived).toString(), Qt::ISODate)};
        // Without a sender there is nobody to answer: such an entry is not a message.
        if (message.from.isEmpty())
            continue;
        messages << message;
    }
    return messages;
}

} // namespace protocol
