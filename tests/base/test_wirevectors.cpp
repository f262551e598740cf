#include "base/protocol/tags.h"
#include "base/protocol/wire.h"
#include "base/text/cp932.h"
#include "base/text/fields.h"
#include "support/conversation.h"

#include <QTest>

using namespace Qt::StringLiterals;
using protocol::Kind;

Q_DECLARE_METATYPE(protocol::Kind)

// Every datagram as bytes on the wire, in CP932: what the program builds, and what its dispatch
// makes of those bytes. A copy on Windows reads and writes exactly these.
class TestWireVectors final : public QObject {
    Q_OBJECT
private slots:
    void vectors_data();
    void vectors();
    void copiesSendTheseBytes();
};

void TestWireVectors::vectors_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("built"); // the datagram as this program builds it
    QTest::addColumn<QByteArray>("hex");
    const protocol::MessageHead head = protocol::messageHead(u"ゆうこ"_s, QTime(9, 5, 7));
    const QString letterTag = protocol::tagOf(Kind::Letter);
    struct Row {
        const char *name;
        Kind kind;
        QString built;
        const char *hex;
    };
    const std::vector<Row> rows{
        {"delivered", Kind::Delivered, protocol::tagOf(Kind::Delivered), "9197904d"},
        {"refused", Kind::Refused, protocol::tagOf(Kind::Refused), "4f54484552 9197904d"},
        {"opened", Kind::Opened, protocol::tagOf(Kind::Opened), "4f70656e 8a6d9446"},
        {"held", Kind::Held, protocol::tagOf(Kind::Held), "95db97af"},
        {"discarded", Kind::Discarded, protocol::tagOf(Kind::Discarded), "946a8afc"},
        {"presence request", Kind::PresenceRequest, protocol::tagOf(Kind::PresenceRequest),
         "91b68ddd 8a6d9446"},
        {"presence, partner", Kind::PresenceOk, protocol::tagOf(Kind::PresenceOk) + u"09:05"_s,
         "91b68ddd 4f4b 20202020202020 30393a3035"},
        {"presence, not partner", Kind::PresenceOneSided,
         protocol::tagOf(Kind::PresenceOneSided) + u"09:05"_s, "91b68ddd 4f4b3f 202020202020 30393a3035"},
        {"search", Kind::SearchRequest, protocol::tagOf(Kind::SearchRequest), "41444452455353 8c9f8df5"},
        {"search result", Kind::SearchResult,
         protocol::tagOf(Kind::SearchResult) + text::fixedField(u"yuko", 20) + text::fixedField(u"pc1", 20) +
             text::fixedField(u"127.0.0.3", 20) + u"ゆうこ"_s,
         "41444452455353 8c9f8df5 8c8b89ca 79756b6f20202020202020202020202020202020"
         "7063312020202020202020202020202020202020 3132372e302e302e33 2020202020202020202020 82e482a482b1"},
        {"letter", Kind::Letter, letterTag + protocol::ordinaryMessage(head, u"留守です"_s),
         "4c4554544552 20 9275 82ab 8ee8 8e86 82e482a482b1 202020202020202020 30393a30353a3037 "
         "97af8ee782c582b7"},
        {"call, person", Kind::Call, protocol::tagOf(Kind::Call) + u"1"_s,
         "43414c4c594f55 8cc4 82d1 8f6f 82b5 31"},
        {"call, telephone", Kind::Call, protocol::tagOf(Kind::Call) + u"2"_s,
         "43414c4c594f55 8cc4 82d1 8f6f 82b5 32"},
        {"start", Kind::Start, protocol::startNoticeText(u"09:05"_s),
         "5354415254 9197904d 20202020 30393a3035 8160 2020202020"},
        {"end", Kind::End, protocol::endNoticeText(u"09:05"_s, u"17:40"_s),
         "454e44 9197904d 202020202020 30393a3035 8160 31373a3430"},
        {"message", Kind::Message, protocol::ordinaryMessage(head, u"おはよう\r\nﾃｽﾄ～"_s),
         "82e482a482b1 202020202020202020 30393a30353a3037 82a882cd82e682a4 0d0a c3bdc4 8160"},
        {"message from a name beginning with 送信", Kind::Message, u"送信くん     12:00:00x"_s,
         "9197904d 82ad82f1 2020202020 31323a30303a3030 78"},
    };
    for (const Row &row : rows)
        QTest::newRow(row.name) << row.kind << row.built
                                << QByteArray::fromHex(QByteArray(row.hex).replace(' ', ""));
}

void TestWireVectors::vectors()
{
    QFETCH(Kind, kind);
    QFETCH(QString, built);
    QFETCH(QByteArray, hex);
    QCOMPARE(text::toCp932(built).toHex(' '), hex.toHex(' '));
    QCOMPARE(text::fromCp932(hex), built);
    QCOMPARE(protocol::classify(text::fromCp932(hex)), kind);
}

void TestWireVectors::copiesSendTheseBytes()
{
    // What two running copies put on the wire for one conversation, byte for byte.
    testkit::Conversation c([](core::Options &o) { o.userName = u"ゆうこ"_s; });
    c.alice.clock.set(QDateTime(QDate(2026, 12, 8), QTime(9, 5, 7)));
    c.aliceSends(u"おはよう\r\nﾃｽﾄ～"_s);
    c.bob.copy->receivedMessage().openOrClose();
    c.net.flush();
    QList<QByteArray> wire;
    for (const auto &d : c.net.sent())
        wire << d.bytes.toHex();
    QCOMPARE(wire, (QList<QByteArray>{
                       "82e482a482b1202020202020202020"
                       "30393a30353a3037"
                       "82a882cd82e682a40d0ac3bdc48160",
                       "9197904d",
                       "4f70656e8a6d9446",
                   }));
}

QTEST_MAIN(TestWireVectors)
#include "test_wirevectors.moc"
