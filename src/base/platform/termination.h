#pragma once

#include <QObject>

namespace platform {

// Turns SIGTERM, SIGINT and SIGHUP into a signal on the UI thread, so that `kill` or a service
// manager ends the program through its normal end path. Does nothing where there are no such
// signals. Only one may exist in a process.
class TerminationWatcher final : public QObject {
    Q_OBJECT
public:
    explicit TerminationWatcher(QObject *parent = nullptr);
    ~TerminationWatcher() override;

signals:
    void terminationRequested(int signalNumber);

private:
    void readSignal();
    int m_fds[2] = {-1, -1};
};

} // namespace platform
