#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <chrono>
#include <optional>
#include <vector>

// Shared pieces of the bench: time, statistics, the rows of the final table, helper processes and
// the figures the system keeps about a process.
namespace bench {

using Clock = std::chrono::steady_clock;

inline double microsBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::micro>(to - from).count();
}

// Nearest-rank percentile; `fraction` 0.5 is the median. NaN for no samples.
double percentile(std::vector<double> samples, double fraction);

// One line of the final table. `met` is empty when the figure has no target or was not measured.
struct Row {
    QString figure;
    QString measured;
    QString target;
    std::optional<bool> met;
};

// The programs the bench starts.
struct Programs {
    QString program; // the real executable
    QString peer;    // miltoanne_bench_peer: a copy or a bare echo on a loopback address
    QString bare;    // miltoanne_bench_bare: the bare widgets program
};

// A helper process that prints "ready" once it is listening. It is ended with SIGTERM (and, should
// that not end it within three seconds, killed) when this object goes.
class Helper final {
public:
    Helper() = default;
    Helper(const Helper &) = delete;
    Helper &operator=(const Helper &) = delete;
    ~Helper() { stop(); }

    // Starts it and waits for its "ready" line; false with the reason otherwise. With `processor`
    // 0 or more, it runs on that processor alone.
    bool start(const QString &exe, const QStringList &arguments, QString &why, int processor = -1);
    void stop();
    qint64 pid() const { return m_process.processId(); }

private:
    QProcess m_process;
};

// Keeps the calling thread on one processor (-1: on any, as it started). False if refused.
bool runOnProcessor(int processor);

// Figures from /proc/<pid>; -1 when the process is gone.
qint64 residentKb(qint64 pid);      // VmRSS
qint64 cpuTicks(qint64 pid);        // utime + stime of all its threads
qint64 contextSwitches(qint64 pid); // voluntary and involuntary, summed over its threads
qint64 cpuNanos(qint64 pid);        // time on a processor, summed over its threads (schedstat)
long ticksPerSecond();

// Runs the event loop of this thread until a condition holds. A slow repeating timer wakes the
// wait now and then so that deadlines are seen; nothing is registered per wait, so a wait costs
// the same as the program's own event loop.
class EventWaiter final {
public:
    EventWaiter();
    // Returns whether `done` holds, after at most `timeoutMs`.
    template <typename Done> bool until(Done &&done, int timeoutMs)
    {
        const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        while (!done()) {
            if (Clock::now() >= deadline)
                return false;
            waitOnce();
        }
        return true;
    }

private:
    static void waitOnce();
    QTimer m_wake;
};

QString formatMicros(double us);
QString formatCount(double value);

} // namespace bench
