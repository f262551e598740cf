#include "base/protocol/tags.h"
#include "base/protocol/wire.h"
#include "base/text/cp932.h"

#include <QTest>

Q_DECLARE_METATYPE(protocol::Kind)

using protocol::Kind;

// Which handler an arriving datagram reaches: its first 11 characters against the tags, in order.
class TestTags final : public QObject {
    Q_OBJECT
private slots:
    void classify_data();
    void classify();
    void everyTagClassifiesAsItself();
    void messageLayout();
};

void TestTags::classify_data()
{
    QTest::addColumn<QString>("datagram");
    QTest::addColumn<Kind>("kind");
    QTest::newRow("bare 送信 is the acknowledgement") << QStringLiteral("送信") << Kind::Delivered;
    QTest::newRow("送信 followed by anything is a message") << QStringLiteral("送信X") << Kind::Message;
    QTest::newRow("OTHER送信") << QStringLiteral("OTHER送信") << Kind::Refused;
    QTest::newRow("Open確認") << QStringLiteral("Open確認") << Kind::Opened;
    QTest::newRow("case matters") << QStringLiteral("OPEN確認") << Kind::Message;
    QTest::newRow("保留") << QStringLiteral("保留") << Kind::Held;
    QTest::newRow("破棄") << QStringLiteral("破棄") << Kind::Discarded;
    QTest::newRow("存在確認") << QStringLiteral("存在確認") << Kind::PresenceRequest;
    QTest::newRow("presence reply with start time")
        << QStringLiteral("存在OK       09:05") << Kind::PresenceOk;
    QTest::newRow("one-sided presence reply")
        << QStringLiteral("存在OK?      09:05") << Kind::PresenceOneSided;
    QTest::newRow("presence reply one blank short is no tag")
        << QStringLiteral("存在OK      ") << Kind::Message;
    QTest::newRow("search") << QStringLiteral("ADDRESS検索") << Kind::SearchRequest;
    QTest::newRow("search with a body is no search") << QStringLiteral("ADDRESS検索 ") << Kind::Message;
    QTest::newRow("search result") << QStringLiteral("ADDRESS検索結果tester") << Kind::SearchResult;
    QTest::newRow("letter") << QStringLiteral("LETTER 置き手紙相手          12:00:00本文") << Kind::Letter;
    QTest::newRow("call") << QStringLiteral("CALLYOU呼び出し1") << Kind::Call;
    QTest::newRow("start") << QStringLiteral("START送信    09:05～     ") << Kind::Start;
    QTest::newRow("end") << QStringLiteral("END送信      09:05～17:40") << Kind::End;
    QTest::newRow("empty datagram") << QString() << Kind::Message;
    QTest::newRow("short text that is no tag") << QStringLiteral("やあ") << Kind::Message;
    // A user whose name begins with a tag that a start time follows sends ordinary messages: no
    // start time can follow the tag there.
    QTest::newRow("user named START送信") << QStringLiteral("START送信     12:00:00hello") << Kind::Message;
    QTest::newRow("user named END送信") << QStringLiteral("END送信       12:00:00hello") << Kind::Message;
    QTest::newRow("user named 存在OK") << QStringLiteral("存在OK        12:00:00hi") << Kind::Message;
    QTest::newRow("user named 存在OK?") << QStringLiteral("存在OK?       12:00:00hi") << Kind::Message;
    QTest::newRow("user named START送信 1 (12 characters)")
        << QStringLiteral("START送信    112:00:00hi") << Kind::Message;
    QTest::newRow("user named START送信X is no tag")
        << QStringLiteral("START送信X    12:00:00hi") << Kind::Message;
    QTest::newRow("presence answer without its time") << QStringLiteral("存在OK       ") << Kind::Message;
    QTest::newRow("start notice with no time in place")
        << QStringLiteral("START送信    9:05～      ") << Kind::Message;
}

void TestTags::classify()
{
    QFETCH(QString, datagram);
    QFETCH(Kind, kind);
    QCOMPARE(protocol::classify(datagram), kind);
}

void TestTags::everyTagClassifiesAsItself()
{
    for (const protocol::TagRow &row : protocol::kTags) {
        const QString tag = row.tag.toString();
        QVERIFY(tag.size() <= protocol::kTagWidth);
        QCOMPARE(
            protocol::classify(protocol::carriesStartTime(row.kind) ? tag + QStringLiteral("23:59") : tag),
            row.kind);
        QCOMPARE(protocol::tagOf(row.kind), tag);
    }
    QVERIFY(protocol::tagOf(Kind::Message).isEmpty());
}

void TestTags::messageLayout()
{
    protocol::MessageHead head = protocol::messageHead(QStringLiteral("ゆうこ"), QTime(8, 3, 9));
    const QString datagram = protocol::ordinaryMessage(head, QStringLiteral("おはよう\r\n今日は？"));
    QCOMPARE(datagram, QStringLiteral("ゆうこ         08:03:09おはよう\r\n今日は？"));
    const protocol::MessageFields f = protocol::splitMessage(datagram);
    QCOMPARE(f.name, u"ゆうこ         ");
    QCOMPARE(f.time, u"08:03:09");
    QCOMPARE(f.text, u"おはよう\r\n今日は？");

    // A name longer than twelve characters is cut; the time keeps its place.
    head = protocol::messageHead(QStringLiteral("abcdefghijklmnop"), QTime(23, 0, 0));
    QCOMPARE(protocol::ordinaryMessage(head, QString()), QStringLiteral("abcdefghijkl23:00:00"));

    // Fields of a datagram shorter than the header are short or empty, never out of range.
    const protocol::MessageFields shortOne = protocol::splitMessage(u"abc");
    QCOMPARE(shortOne.name, u"abc");
    QVERIFY(shortOne.time.isEmpty());
    QVERIFY(shortOne.text.isEmpty());

    QCOMPARE(text::toCp932(protocol::startNoticeText(QStringLiteral("09:05"))),
             QByteArray::fromHex("5354415254 9197904d 20202020 30393a3035 8160 2020202020"));
    QCOMPARE(text::toCp932(protocol::endNoticeText(QStringLiteral("09:05"), QStringLiteral("17:40"))),
             QByteArray::fromHex("454e44 9197904d 202020202020 30393a3035 8160 31373a3430"));
}

QTEST_APPLESS_MAIN(TestTags)
#include "test_tags.moc"
