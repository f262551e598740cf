#include "common.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <limits>

#include <sched.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace bench {

double percentile(std::vector<double> samples, double fraction)
{
    if (samples.empty())
        return std::numeric_limits<double>::quiet_NaN();
    std::sort(samples.begin(), samples.end());
    const auto rank = static_cast<std::size_t>(std::ceil(fraction * static_cast<double>(samples.size())));
    return samples[std::clamp<std::size_t>(rank, 1, samples.size()) - 1];
}

namespace {

bool setProcessors(const cpu_set_t &set)
{
    return ::sched_setaffinity(0, sizeof set, &set) == 0;
}

cpu_set_t oneProcessor(int processor)
{
    cpu_set_t set;
    CPU_ZERO(&set);
    CPU_SET(processor, &set);
    return set;
}

} // namespace

bool runOnProcessor(int processor)
{
    static const cpu_set_t started = [] {
        cpu_set_t set;
        CPU_ZERO(&set);
        ::sched_getaffinity(0, sizeof set, &set);
        return set;
    }();
    return setProcessors(processor < 0 ? started : oneProcessor(processor));
}

bool Helper::start(const QString &exe, const QStringList &arguments, QString &why, int processor)
{
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    if (processor >= 0) {
        const cpu_set_t set = oneProcessor(processor);
        m_process.setChildProcessModifier([set] { setProcessors(set); });
    }
    m_process.start(exe, arguments);
    if (!m_process.waitForStarted(5000)) {
        why = u"cannot start "_s + exe + u": "_s + m_process.errorString();
        return false;
    }
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (Clock::now() < deadline) {
        if (m_process.canReadLine() || m_process.waitForReadyRead(500)) {
            while (m_process.canReadLine()) {
                if (m_process.readLine().trimmed() == "ready")
                    return true;
            }
        }
        if (m_process.state() != QProcess::Running)
            break;
    }
    why = exe + u" "_s + arguments.join(u' ') + u" did not get ready"_s;
    stop();
    return false;
}

void Helper::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(3000)) {
        m_process.kill();
        m_process.waitForFinished(3000);
    }
}

namespace {

QByteArray procFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The number after "<key>:" in a status file, or -1.
qint64 statusField(const QByteArray &status, QByteArrayView key)
{
    for (const QByteArray &line : status.split('\n')) {
        if (line.startsWith(key) && line.size() > key.size() && line.at(key.size()) == ':') {
            const QByteArray rest = line.mid(key.size() + 1).trimmed();
            bool ok = false;
            const qint64 value = rest.split(' ').value(0).toLongLong(&ok);
            return ok ? value : -1;
        }
    }
    return -1;
}

} // namespace

qint64 residentKb(qint64 pid)
{
    return statusField(procFile(u"/proc/%1/status"_s.arg(pid)), "VmRSS");
}

qint64 cpuTicks(qint64 pid)
{
    const QByteArray stat = procFile(u"/proc/%1/stat"_s.arg(pid));
    // The command name may hold blanks; the fields after it start past its closing parenthesis.
    const qsizetype close = stat.lastIndexOf(')');
    if (close < 0)
        return -1;
    const QList<QByteArray> fields = stat.mid(close + 2).split(' ');
    // Fields 14 and 15 of the file (utime, stime) are 11 and 12 of what follows the name.
    if (fields.size() < 13)
        return -1;
    return fields[11].toLongLong() + fields[12].toLongLong();
}

qint64 contextSwitches(qint64 pid)
{
    const QDir tasks(u"/proc/%1/task"_s.arg(pid));
    if (!tasks.exists())
        return -1;
    qint64 sum = 0;
    for (const QString &task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QByteArray status = procFile(tasks.filePath(task + u"/status"_s));
        sum += std::max<qint64>(0, statusField(status, "voluntary_ctxt_switches")) +
               std::max<qint64>(0, statusField(status, "nonvoluntary_ctxt_switches"));
    }
    return sum;
}

qint64 cpuNanos(qint64 pid)
{
    const QDir tasks(u"/proc/%1/task"_s.arg(pid));
    if (!tasks.exists())
        return -1;
    qint64 sum = 0;
    for (const QString &task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        sum += procFile(tasks.filePath(task + u"/schedstat"_s)).split(' ').value(0).toLongLong();
    return sum;
}

long ticksPerSecond()
{
    return ::sysconf(_SC_CLK_TCK);
}

EventWaiter::EventWaiter()
{
    m_wake.start(50);
}

void EventWaiter::waitOnce()
{
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

QString formatMicros(double us)
{
    if (std::isnan(us))
        return u"–"_s;
    if (us >= 10000)
        return QString::number(us / 1000, 'f', 1) + u" ms"_s;
    return QString::number(us, 'f', 1) + u" µs"_s;
}

QString formatCount(double value)
{
    return QLocale(QLocale::English).toString(value, 'f', 0);
}

} // namespace bench
