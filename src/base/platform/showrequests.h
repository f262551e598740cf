#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

namespace platform {

// How a second start reaches the copy that runs from the same program directory: the running copy
// listens on a local socket of its own user's, and a start that finds the copy running asks it
// to come forward instead of leaving the user with nothing but a box.
class ShowRequests final : public QObject {
    Q_OBJECT
public:
    explicit ShowRequests(const QString &programDir, QObject *parent = nullptr);

    // Starts listening; the copy that holds the program directory's lock calls it. A socket left by
    // a copy that died is taken over.
    bool listen();
    // Asks the copy that listens to come forward; false when none answers.
    bool askRunningCopy() const;

signals:
    void showRequested();

private:
    QString m_name;
    QLocalServer m_server;
};

} // namespace platform
