#pragma once

#include "bounds.h"
#include "support/conversation.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDir>
#include <QSet>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <vector>

// Whole sessions for the fuzzer: Alice and Bob from the test kit, each the other's partner and
// journalling into a data folder of its own, strangers at 127.0.0.4 and 127.0.0.9, and a program
// of steps read from the fuzzer's bytes: hostile datagrams (any bytes, or a datagram of any kind
// built and then damaged) interleaved with what users do (compose and send, open, reply, hold,
// close, letters, the history viewer, the user search, the partner window, calls, the lock, timer
// ticks, the clock, a full disk).
//
// The program's bytes: an options byte, a byte for the rig, then steps. A step is one byte, whose
// high bit picks the copy that acts (Bob when set) and whose low seven bits are the step's code in
// the table of steps (steptable.h), followed by the bytes its action reads; a code that names
// no step does nothing and reads nothing more. Codes never change, so a program found once keeps
// its meaning as steps are added. A byte past the end reads as 0, so every input is a program.
// Texts are a length byte and that many CP932 bytes; long texts repeat a short one.
// fuzz/corpus/fuzz_session/ has examples.
namespace fuzzcheck {

// What one session broke, and the steps it ran.
struct SessionResult {
    QStringList broken;
    // Each step as the copy that took it ("a" or "b"), a dot and its name, or "?" and the code
    // when the code names no step; joined by spaces.
    QString steps;
};

// Runs sessions in a temporary root of its own: the copies' data folders lie under it, and for the
// rig's life TMPDIR, HOME and the XDG folders point into it, so that any file written anywhere but
// a data folder shows. Each session starts a fresh pair and ends it. Needs a QApplication; one rig
// at a time in a process, as it changes the environment.
class SessionRig final {
public:
    // The root is made in `base`, or in the temporary folder when that is empty, and named
    // `name` followed by a dash and six random characters.
    explicit SessionRig(const QString &base = {}, const QString &name = QStringLiteral("session"));
    ~SessionRig();
    SessionRig(const SessionRig &) = delete;
    SessionRig &operator=(const SessionRig &) = delete;

    SessionResult run(QByteArrayView program);

private:
    struct Saved {
        QByteArray name;
        QByteArray value;
        bool set;
    };
    QStringList listing() const;

    QTemporaryDir m_root;
    QString m_rootPath; // canonical
    std::vector<Saved> m_environment;
};

} // namespace fuzzcheck
