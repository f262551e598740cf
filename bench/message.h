#pragma once

#include <QByteArray>
#include <QString>

namespace bench {

// The text of every message the bench sends, and the name it is sent under.
QString messageText();
// The whole datagram of an ordinary message from `userName`, as the program puts it on the wire.
QByteArray messageDatagram(const QString &userName);
// The acknowledgement "送信" as it arrives.
QByteArray deliveredDatagram();

} // namespace bench
