#include "table.h"

#include <QDate>
#include <QFile>
#include <QSysInfo>
#include <QThread>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace bench {
namespace {

QString processorName()
{
    QFile cpuinfo(u"/proc/cpuinfo"_s);
    if (!cpuinfo.open(QIODevice::ReadOnly))
        return {};
    for (const QByteArray &line : cpuinfo.readAll().split('\n')) {
        if (line.startsWith("model name"))
            return QString::fromUtf8(line.mid(line.indexOf(':') + 1).trimmed());
    }
    return {};
}

QString kb(qint64 value)
{
    return value < 0 ? u"–"_s : formatCount(static_cast<double>(value)) + u" kB"_s;
}

QString ms(double value)
{
    return QString::number(value, 'f', 1) + u" ms"_s;
}

QString pad(const QString &text, qsizetype width)
{
    return text.size() >= width ? text + u' ' : text + QString(width - text.size(), u' ');
}

} // namespace

Report::Report(QString network) : m_network(std::move(network)) {}

QString Report::heading() const
{
    return u"ミルトアンヌ bench — %1, %2 cores (%3), %4, Qt %5; network: %6"_s.arg(
        QDate::currentDate().toString(Qt::ISODate), QString::number(QThread::idealThreadCount()),
        processorName(), QSysInfo::prettyProductName(), QString::fromLatin1(qVersion()), m_network);
}

void Report::add(QString figure, QString measured, QString target, std::optional<bool> met)
{
    m_rows.push_back({std::move(figure), std::move(measured), std::move(target), met});
}

void Report::notMeasured(const QString &figure, const QString &why, const QString &target)
{
    add(figure, u"not measured"_s, target, std::nullopt);
    m_details << figure + u": not measured: "_s + why;
}

void Report::addRoundTrip(const RoundTrip &r)
{
    // The target is for copies on processors of their own, as on two machines; with one
    // processor (or when the machine has only one) the figure is shown all the same.
    const bool primary = r.separate || !m_roundTripTargeted;
    m_roundTripTargeted = m_roundTripTargeted || primary;
    const QString target = primary ? u"ratio ≤ 1.20"_s : u"(figure)"_s;
    const QString where = r.separate ? u"separate CPUs"_s : u"one CPU"_s;
    if (!r.error.isEmpty() || r.copyUs.empty() || r.echoUs.empty()) {
        notMeasured(u"1 ack round trip, "_s + where, r.error.isEmpty() ? u"no samples"_s : r.error, target);
        return;
    }
    m_details
        << u"1  round trip of a %1-byte message, one at a time, %2"_s.arg(r.datagramBytes).arg(r.placement);
    m_details
        << u"   answered (lost): copies %1 (%2), paired copies %3 (%4), bare echo %5 (%6), in alternating blocks of 50"_s
               .arg(r.copyUs.size())
               .arg(r.copyLost)
               .arg(r.sealedUs.size())
               .arg(r.sealedLost)
               .arg(r.echoUs.size())
               .arg(r.echoLost);
    m_details
        << u"   the sending copy's send button returns after %1 on average (message built and sent), %2 sealed"_s
               .arg(formatMicros(r.sendUs), formatMicros(r.sealedSendUs));
    const auto ratioRow = [&](const QString &figure, double of, double to, double most, bool targeted) {
        const double ratio = of / to;
        add(figure, u"%1 / %2 = %3"_s.arg(formatMicros(of), formatMicros(to), QString::number(ratio, 'f', 2)),
            targeted ? u"ratio ≤ %1"_s.arg(most, 0, 'f', 2) : u"(figure)"_s,
            targeted ? std::optional<bool>(ratio <= most) : std::nullopt);
    };
    for (const double fraction : {0.5, 0.99}) {
        const double copy = percentile(r.copyUs, fraction);
        ratioRow(u"1 ack round trip p%1, %2: copies / echo"_s.arg(fraction * 100).arg(where), copy,
                 percentile(r.echoUs, fraction), 1.2, primary);
        // Sealing may cost a tenth of the plain round trip at the median.
        if (!r.sealedUs.empty())
            ratioRow(u"1 … p%1, %2: sealed / plain copies"_s.arg(fraction * 100).arg(where),
                     percentile(r.sealedUs, fraction), copy, 1.1, primary && fraction == 0.5);
    }
}

void Report::addThroughput(const Throughput &t)
{
    const QString target = u"≥ 20,000 /s"_s;
    if (!t.error.isEmpty() || t.bursts.empty()) {
        notMeasured(u"2 messages/s acknowledged"_s, t.error.isEmpty() ? u"no burst"_s : t.error, target);
        return;
    }
    m_details
        << u"2  bursts of 1 s to a copy:   offered/s      sent/s   answered     answers/s   clean   copy CPU/message"_s;
    for (const Burst &b : t.bursts) {
        m_details << u"                          %1  %2  %3  %4   %5  %6"_s
                         .arg(formatCount(b.offeredPerSecond), 10)
                         .arg(formatCount(b.sentPerSecond), 10)
                         .arg(u"%1/%2"_s.arg(b.acknowledged).arg(b.sent), 13)
                         .arg(formatCount(b.ackedPerSecond), 12)
                         .arg(b.clean() ? u"yes"_s : u"no "_s)
                         .arg(formatMicros(b.copyCpuUs), 12);
    }
    add(u"2 messages/s acknowledged without loss"_s,
        t.bestPerSecond > 0 ? formatCount(t.bestPerSecond) + u" /s"_s : u"none clean"_s, target,
        t.bestPerSecond >= 20000);
}

void Report::addStartUp(const StartUp &s)
{
    const QString target = u"≤ bare + 50 ms"_s;
    if (!s.error.isEmpty() || s.programMs.empty()) {
        notMeasured(u"3 start to start notice"_s, s.error.isEmpty() ? u"no run"_s : s.error, target);
        return;
    }
    QStringList program;
    QStringList bare;
    for (const double v : s.programMs)
        program << QString::number(v, 'f', 1);
    for (const double v : s.bareMs)
        bare << QString::number(v, 'f', 1);
    m_details << u"3  start to start notice (ms): "_s + program.join(u' ');
    m_details << u"   bare widgets start to end (ms): "_s + bare.join(u' ');
    const double p = percentile(s.programMs, 0.5);
    const double b = percentile(s.bareMs, 0.5);
    add(u"3 start to start notice / bare widgets, median"_s,
        u"%1 / %2 (%3%4)"_s.arg(ms(p), ms(b), p >= b ? u"+"_s : u""_s, ms(p - b)), target, p - b <= 50.0);
}

void Report::addResources(const Resources &r, int messages)
{
    if (!r.error.isEmpty())
        m_details << u"4/5 "_s + r.error;
    add(u"4 resident memory after start"_s, kb(r.rssAfterStartKb), u"(figure)"_s, std::nullopt);
    const QString growth = r.rssAfterStartKb >= 0 && r.rssAfterMessagesKb >= 0
                               ? u" (+%1)"_s.arg(kb(r.rssAfterMessagesKb - r.rssAfterStartKb))
                               : QString();
    add(u"4 resident memory after %1 messages"_s.arg(formatCount(messages)),
        kb(r.rssAfterMessagesKb) + growth, u"(figure)"_s, std::nullopt);
    m_details
        << u"4  %1 messages sent to the program, %2 answered, %3 lost, in %4 s (%5 /s with %6 on the way)"_s
               .arg(r.messagesSent)
               .arg(r.messagesAcknowledged)
               .arg(r.messagesLost)
               .arg(r.messagesSeconds, 0, 'f', 2)
               .arg(formatCount(r.messagesSeconds > 0 ? r.messagesAcknowledged / r.messagesSeconds : 0))
               .arg(64);
    if (r.idleCpuMs < 0) {
        add(u"5 CPU time while idle"_s, u"not measured"_s, u"≈ 0 (≤ 10 ms)"_s, std::nullopt);
        return;
    }
    m_details
        << u"5  idle %1 s: %2 ms CPU, %3 context switches of all threads (each timer tick would add one)"_s
               .arg(r.idleSeconds, 0, 'f', 1)
               .arg(r.idleCpuMs, 0, 'f', 0)
               .arg(r.idleWakeUps);
    if (r.waitingCpuMs >= 0) {
        m_details << u"5  then %1 s with the messages waiting unread: %2 ms CPU, %3 context switches"_s
                         .arg(r.waitingSeconds, 0, 'f', 1)
                         .arg(r.waitingCpuMs, 0, 'f', 0)
                         .arg(r.waitingWakeUps);
    }
    add(u"5 CPU time over %1 s idle"_s.arg(std::lround(r.idleSeconds)),
        u"%1 (%2 wake-ups)"_s.arg(ms(r.idleCpuMs)).arg(r.idleWakeUps), u"≈ 0 (≤ 10 ms)"_s,
        r.idleCpuMs <= 10.0);
}

void Report::addFloods(const Floods &f)
{
    if (!f.error.isEmpty())
        m_details << u"6 "_s + f.error;
    auto grown = [](qint64 from, qint64 to) {
        return from >= 0 && to >= 0 ? u" (%1%2)"_s.arg(to >= from ? u"+"_s : QString(), kb(to - from))
                                    : QString();
    };
    add(u"6 resident memory, a message waiting"_s, kb(f.rssBeforeKb), u"(figure)"_s, std::nullopt);
    add(u"6 … after %1 largest messages"_s.arg(f.largeSent),
        kb(f.rssAfterLargeKb) + grown(f.rssBeforeKb, f.rssAfterLargeKb), u"bounded"_s, std::nullopt);
    add(u"6 … after %1 small datagrams"_s.arg(formatCount(f.smallPerRound)),
        kb(f.rssAfterSmall1Kb) + grown(f.rssAfterLargeKb, f.rssAfterSmall1Kb), u"(figure)"_s, std::nullopt);
    add(u"6 … after %1 more"_s.arg(formatCount(f.smallPerRound)),
        kb(f.rssAfterSmall2Kb) + grown(f.rssAfterSmall1Kb, f.rssAfterSmall2Kb), u"≈ +0"_s, std::nullopt);
    std::vector<double> answers = f.answerMs;
    std::sort(answers.begin(), answers.end());
    const QString answered =
        answers.empty() ? u"none answered"_s
                        : u"median %1, worst %2"_s.arg(ms(answers[answers.size() / 2]), ms(answers.back()));
    add(u"6 presence answer during the flood"_s,
        answered + (f.unanswered > 0 ? u", %1 unanswered"_s.arg(f.unanswered) : QString()), u"≤ 1000 ms"_s,
        !answers.empty() && f.unanswered == 0 && answers.back() <= 1000.0);
    add(u"6 SIGTERM to exit behind a flood"_s, f.endMs < 0 ? u"–"_s : ms(f.endMs), u"≤ 1000 ms"_s,
        f.endMs >= 0 && f.endMs <= 1000.0);
}

void Report::addOpening(const Opening &o)
{
    if (!o.error.isEmpty())
        m_details << u"7 "_s + o.error;
    m_details << u"7 the received text: up to %1 characters, one-line messages of the largest size"_s.arg(
        formatCount(static_cast<double>(o.heldChars)));
    auto worst = [](std::vector<double> values) {
        std::sort(values.begin(), values.end());
        return values;
    };
    const std::vector<double> open = worst(o.openMs);
    const std::vector<double> silence = worst(o.silenceMs);
    add(u"7 opening the largest received text"_s,
        open.empty() ? u"–"_s : u"median %1, worst %2"_s.arg(ms(open[open.size() / 2]), ms(open.back())),
        u"≤ 200 ms"_s, open.empty() ? std::optional<bool>() : std::optional<bool>(open.back() <= 200.0));
    add(u"7 longest silence while it opens"_s, silence.empty() ? u"–"_s : ms(silence.back()), u"≤ 1000 ms"_s,
        silence.empty() ? std::optional<bool>() : std::optional<bool>(silence.back() <= 1000.0));
}

void Report::skipRealProgram(const QString &why)
{
    notMeasured(u"3 start to start notice"_s, why, u"≤ bare + 50 ms"_s);
    notMeasured(u"4 resident memory"_s, why, u"(figure)"_s);
    notMeasured(u"5 CPU time while idle"_s, why, u"≈ 0 (≤ 10 ms)"_s);
    notMeasured(u"6 floods"_s, why, u"bounded, answers ≤ 1000 ms"_s);
}

QString Report::text() const
{
    QStringList lines;
    lines << QString() << u"Details"_s;
    lines << m_details;
    lines << QString() << heading();
    lines << pad(u"figure"_s, 52) + pad(u"measured"_s, 36) + pad(u"target"_s, 18) + u"met"_s;
    lines << QString(110, u'-');
    for (const Row &row : m_rows) {
        const QString met = !row.met ? u"–"_s : *row.met ? u"met"_s : u"NOT MET"_s;
        lines << pad(row.figure, 52) + pad(row.measured, 36) + pad(row.target, 18) + met;
    }
    return lines.join(u'\n');
}

} // namespace bench
