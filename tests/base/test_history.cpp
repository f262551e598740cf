#include "base/core/history.h"
#include "base/history/history.h"
#include "base/text/cp932.h"
#include "support/testcopy.h"

#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;
using Completion = history::History::Completion;
using testkit::Answer;
using testkit::FakeNetwork;
using testkit::TestCopy;

namespace {
const QByteArray kDashes(51, '-');

// A copy started with these history options, at 2026-12-08 09:05:00.
struct Fixture {
    FakeNetwork net;
    TestCopy copy{net, u"127.0.0.2"_s};
    Fixture(int logEnabled, int logSave)
    {
        copy.writeOptions([&](core::Options &opt) {
            opt.logEnabled = logEnabled;
            opt.logSave = logSave;
        });
        if (!copy.start())
            qFatal("copy did not start");
    }
    history::History &h() { return copy.history(); }
    // The rows of messages to one addressee, and the received row last opened.
    std::shared_ptr<core::HistoryRow> receivedRow;
    void delivered(const QString &text) { h().delivered(core::Peer(u"127.0.0.3"_s), text); }
    void reacted(bool discarded) { h().reacted(core::Peer(u"127.0.0.3"_s), discarded); }
    bool runOpen() { return h().openRow(core::Peer(u"127.0.0.3"_s)) != nullptr; }
    void received() { receivedRow = h().messageReceived(copy.clock.now()); }
    void completed(Completion how, const QString &text) { h().receivedCompleted(receivedRow, how, text); }
    QByteArray journal() const { return copy.readFile(u"logFile.dat"_s); }
    void at(int h, int m, int s) { copy.clock.set(QDateTime(QDate(2026, 12, 8), QTime(h, m, s))); }
};
} // namespace

// The history rows that sending and receiving enter, and the journal they append to.
class TestHistory final : public QObject {
    Q_OBJECT
private slots:
    void threeSendsBeforeAReaction();
    void discardNoticeStampsOnce();
    void nothingWhileHistoryIsOff();
    void receivedRows();
    void journalLinesByteExact();
    void journalOnFullDisk_data();
    void journalOnFullDisk();
    void journalAfterAnEntryCutOff_data();
    void journalAfterAnEntryCutOff();
    void stepsAfterTheViewerClearedTheList();
    void listsKeepTheNewestWithinBounds();
};

void TestHistory::threeSendsBeforeAReaction()
{
    Fixture f(1, 1);
    f.at(9, 10, 1);
    f.delivered(u"一"_s);
    f.at(9, 10, 2);
    f.delivered(u"二"_s);
    f.at(9, 10, 3);
    f.delivered(u"三"_s);
    QCOMPARE(f.h().sent().size(), 1);
    const core::HistoryRow &row = f.h().sent().at(1);
    QCOMPARE(row.date, u"26/12/08"_s);
    QCOMPARE(row.sendTime, u"09:10:03"_s);
    QCOMPARE(row.message, u"一 | 二 | 三"_s);
    QVERIFY(row.shownRecvTime().isEmpty());
    const QByteArray expected =
        kDashes + "< send    2026/12/08 09:10:01>-----\r\n" + text::toCp932(u"一\r\n") + kDashes +
        "< send    2026/12/08 09:10:02>-----\r\n" + text::toCp932(u"一 | 二\r\n") + kDashes +
        "< send    2026/12/08 09:10:03>-----\r\n" + text::toCp932(u"一 | 二 | 三\r\n");
    QCOMPARE(f.journal(), expected);

    // The reaction closes the run; the next send opens a new row.
    f.at(9, 11, 0);
    f.reacted(false);
    QCOMPARE(f.h().sent().at(1).shownRecvTime(), u"09:11:00"_s);
    f.delivered(u"四"_s);
    QCOMPARE(f.h().sent().size(), 2);
    QCOMPARE(f.h().sent().at(2).message, u"四"_s);
}

void TestHistory::discardNoticeStampsOnce()
{
    Fixture f(1, 0);
    f.delivered(u"hi"_s);
    f.at(12, 0, 5);
    f.reacted(true);
    QCOMPARE(f.h().sent().at(1).shownRecvTime(), u"12:00:05*"_s);
    QVERIFY(!f.runOpen());
    f.at(12, 30, 0);
    f.reacted(false);
    QCOMPARE(f.h().sent().at(1).shownRecvTime(), u"12:00:05*"_s);
    QVERIFY(f.journal().isEmpty()); // logSave off
}

void TestHistory::nothingWhileHistoryIsOff()
{
    Fixture f(0, 1);
    f.delivered(u"hi"_s);
    f.reacted(false);
    f.received();
    f.completed(Completion::Open, u"text"_s);
    QCOMPARE(f.h().sent().size(), 0);
    QCOMPARE(f.h().received().size(), 0);
    QVERIFY(!f.runOpen());
    QVERIFY(f.journal().isEmpty());
}

void TestHistory::receivedRows()
{
    Fixture f(1, 1);
    f.at(8, 0, 0);
    f.received();
    f.at(8, 1, 0);
    f.received(); // a second message before the first was dealt with
    f.at(8, 2, 0);
    f.completed(Completion::Discard, u"二通目"_s);
    QCOMPARE(f.h().received().size(), 2);
    QVERIFY(f.h().received().at(1).shownRecvTime().isEmpty());
    QVERIFY(f.h().received().at(1).message.isEmpty());
    QCOMPARE(f.h().received().at(2).sendTime, u"08:01:00"_s);
    QCOMPARE(f.h().received().at(2).shownRecvTime(), u"08:02:00*"_s);
    QCOMPARE(f.h().received().at(2).message, u"二通目"_s);
    QVERIFY(f.journal().isEmpty()); // a discarded message is never journaled

    f.received();
    f.at(8, 3, 0);
    f.completed(Completion::Open, u"三通目"_s);
    QCOMPARE(f.journal(), kDashes + "< receive 2026/12/08 08:03:00>-----\r\n" + text::toCp932(u"三通目\r\n"));
}

void TestHistory::journalLinesByteExact()
{
    Fixture f(1, 1);
    f.at(23, 59, 59);
    // A message of several lines keeps its own line breaks; "～" and half-width kana in CP932.
    f.delivered(u"1行目\r\n2行目～ﾃｽﾄ"_s);
    QCOMPARE(f.journal(), kDashes + "< send    2026/12/08 23:59:59>-----\r\n" +
                              QByteArray::fromHex("318d7396da0d0a32 8d7396da 8160 c3bdc4 0d0a"));
    QCOMPARE(history::journalHeader(history::History::Direction::Receive, QDate(2026, 1, 2), u"01:02:03"_s),
             QString(51, u'-') + u"< receive 2026/01/02 01:02:03>-----"_s);
    // It holds what was said: its owner's alone.
    const QFile::Permissions p = QFile::permissions(f.copy.programDir() + u"/logFile.dat"_s);
    QCOMPARE(p & (QFile::ReadOwner | QFile::WriteOwner), QFile::ReadOwner | QFile::WriteOwner);
    QCOMPARE(p & (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther),
             QFile::Permissions());
}

void TestHistory::journalOnFullDisk_data()
{
    QTest::addColumn<int>("failures");
    QTest::addColumn<QList<Answer>>("answers");
    QTest::addColumn<QByteArray>("written");
    const QByteArray entry = kDashes + "< send    2026/12/08 09:05:00>-----\r\nhi\r\n";
    QTest::newRow("retry then the whole entry") << 1 << QList<Answer>{Answer::Retry} << entry;
    QTest::newRow("cancel writes nothing") << 1 << QList<Answer>{Answer::Cancel} << QByteArray();
    QTest::newRow("retry, then cancel") << 2 << QList<Answer>{Answer::Retry, Answer::Cancel} << QByteArray();
}

void TestHistory::journalOnFullDisk()
{
    QFETCH(int, failures);
    QFETCH(QList<Answer>, answers);
    QFETCH(QByteArray, written);
    Fixture f(1, 1);
    for (Answer answer : answers)
        f.copy.dialogs.answerNext(answer);
    f.copy.files.failNextWrites(failures);
    f.delivered(u"hi"_s);
    QCOMPARE(f.journal(), written);
    // The entry is one write: one that failed for each box, and one more when it was written.
    QCOMPARE(f.copy.files.writesAttempted(), answers.size() + (written.isEmpty() ? 0 : 1));
    QCOMPARE(f.copy.dialogs.shown().size(), answers.size());
    for (const auto &shown : f.copy.dialogs.shown()) {
        QCOMPARE(shown.text, u"ﾃﾞｨｽｸの空き容量が不足しています。"_s);
        QCOMPARE(shown.title, u"ﾛｸﾞ書込みｴﾗｰ"_s);
    }
    // The row is entered whatever became of the journal.
    QCOMPARE(f.h().sent().at(1).message, u"hi"_s);

    // Any other failure abandons the entry, and says so.
    f.copy.dialogs.clear();
    f.copy.files.failNextWrites(1, platform::FileResult::Failed);
    f.delivered(u"more"_s);
    QCOMPARE(f.copy.dialogs.shown().size(), 1);
    QVERIFY(f.copy.dialogs.shown()[0].text.startsWith(u"ﾌｧｲﾙを保存できませんでした。\r"_s));
    QVERIFY(f.copy.dialogs.shown()[0].text.contains(u"logFile.dat"_s));
    QCOMPARE(f.copy.dialogs.shown()[0].title, u"ﾛｸﾞ書込みｴﾗｰ"_s);
    QCOMPARE(f.journal(), written);
}

void TestHistory::journalAfterAnEntryCutOff_data()
{
    // What a copy killed in the middle of an entry may have left; the next entry follows it on
    // a line of its own, and the piece stays as it was.
    QTest::addColumn<QByteArray>("left");
    QTest::addColumn<QByteArray>("between");
    const QByteArray header = kDashes + "< send    2026/12/08 08:00:00>-----\r\n";
    QTest::newRow("a whole entry") << (header + "hi\r\n") << QByteArray();
    QTest::newRow("cut in the header") << header.left(30) << QByteArray("\r\n");
    QTest::newRow("cut in the message") << (header + "h") << QByteArray("\r\n");
    QTest::newRow("cut between CR and LF") << (header + "hi\r") << QByteArray("\n");
    QTest::newRow("cut inside a kanji") << (header + text::toCp932(u"漢").left(1)) << QByteArray("\r\n");
    QTest::newRow("a single byte") << QByteArray("-") << QByteArray("\r\n");
}

void TestHistory::journalAfterAnEntryCutOff()
{
    QFETCH(QByteArray, left);
    QFETCH(QByteArray, between);
    Fixture f(1, 1);
    f.copy.writeFile(u"logFile.dat"_s, left);
    // As an earlier version left it, readable by all.
    const QString journal = f.copy.programDir() + u"/logFile.dat"_s;
    const QFile::Permissions readable =
        QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;
    QVERIFY(QFile::setPermissions(journal, readable));
    f.at(9, 30, 0);
    f.delivered(u"つぎ"_s);
    QCOMPARE(f.journal(), left + between + kDashes + "< send    2026/12/08 09:30:00>-----\r\n" +
                              text::toCp932(u"つぎ\r\n"));
    QCOMPARE(QFile::permissions(journal) & readable, QFile::ReadOwner | QFile::WriteOwner);
}

void TestHistory::stepsAfterTheViewerClearedTheList()
{
    Fixture f(1, 1);
    f.delivered(u"a"_s);
    f.h().sent().clear();
    // The run is still open: the next acknowledgement goes to the detached row and its journal
    // entry still holds the whole run.
    f.delivered(u"b"_s);
    QCOMPARE(f.h().sent().size(), 0);
    QVERIFY(f.journal().endsWith(text::toCp932(u"a | b\r\n")));
    // With the list empty the reaction closes the run without a stamp.
    f.reacted(false);
    QVERIFY(!f.runOpen());
    f.delivered(u"c"_s);
    QCOMPARE(f.h().sent().size(), 1);
    QCOMPARE(f.h().sent().at(1).message, u"c"_s);
}

void TestHistory::listsKeepTheNewestWithinBounds()
{
    using core::HistoryList;
    HistoryList list({u"a"_s, u"b"_s, u"c"_s, u"d"_s});
    auto total = [&list] {
        qsizetype chars = 0;
        for (qsizetype i = 1; i <= list.size(); ++i)
            chars += list.at(i).message.size();
        return chars;
    };
    for (qsizetype i = 0; i < HistoryList::kMaxRows + 5; ++i)
        list.append({{}, {}, {}, QString::number(i)});
    QCOMPARE(list.size(), HistoryList::kMaxRows);
    QCOMPARE(list.at(1).message, u"5"_s);

    const QString long64k(65507, u'x');
    for (qsizetype i = 0; i < HistoryList::kMaxChars / long64k.size() + 10; ++i)
        list.append({{}, {}, {}, long64k});
    QVERIFY(total() <= HistoryList::kMaxChars);
    QVERIFY(total() > HistoryList::kMaxChars - long64k.size());
    QCOMPARE(list.at(list.size()).message, long64k);
    // A row's tool tip shows a screenful of its message, its lines as they are.
    auto tip = [&list] {
        return list.data(list.index(static_cast<int>(list.size() - 1), 3), Qt::ToolTipRole).toString();
    };
    const QStringList tipLines = tip().split(u'\n');
    QCOMPARE(tipLines.size(), HistoryList::kTipLines);
    QCOMPARE(tipLines.last(), QString(HistoryList::kTipColumns, u'x') + u'…');
    list.append({{}, {}, {}, u"one\r\ntwo"_s});
    QCOMPARE(tip(), u"one\ntwo"_s);

    // A row that grew after it was added (a run of sends) counts with its new length.
    list.clear();
    const std::shared_ptr<core::HistoryRow> run = list.append({{}, {}, {}, u"run"_s});
    run->message += QString(HistoryList::kMaxChars, u'y');
    list.rowChanged(run);
    QCOMPARE(list.size(), 1); // the newest row stays, however long
    list.append({{}, {}, {}, u"next"_s});
    QCOMPARE(list.size(), 1);
    QCOMPARE(list.at(1).message, u"next"_s);
}

QTEST_MAIN(TestHistory)
#include "test_history.moc"
