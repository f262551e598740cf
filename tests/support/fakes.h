#pragma once

#include "base/core/icons.h"
#include "base/platform/clipboard.h"
#include "base/platform/clock.h"
#include "base/platform/dialogs.h"
#include "base/platform/files.h"
#include "base/platform/identity.h"
#include "base/platform/notifications.h"
#include "base/platform/tray.h"

#include <QDateTime>
#include <QList>

#include <deque>
#include <functional>
#include <optional>

namespace testkit {

// Records every tray call; the icon is "shown" from Add to Delete.
class FakeTray final : public platform::Tray {
    Q_OBJECT
public:
    struct Call {
        platform::TrayOp op;
        platform::TrayRecord trayRecord;
    };
    int notify(platform::TrayOp op, const platform::TrayRecord &trayRecord) override;

    const QList<Call> &calls() const { return m_calls; }
    bool shown() const { return m_shown; }
    const platform::TrayRecord &current() const { return m_current; }
    // The picture the tray shows now, as the icon id its handle stands for.
    core::IconId picture() const { return core::IconId::fromHandle(m_current.hIcon); }
    void pressLeft() { emit leftPressed(); }
    void pressRight(QPoint pos = {}) { emit rightPressed(pos); }

private:
    QList<Call> m_calls;
    platform::TrayRecord m_current;
    bool m_shown = false;
};

// Records every notification posted; one per slot is "shown" from its post to its withdrawal.
class FakeNotifications final : public platform::Notifications {
    Q_OBJECT
public:
    struct Posted {
        platform::NotificationSlot slot;
        QString title;
        QString body;
    };
    void post(platform::NotificationSlot slot, const QString &title, const QString &body) override;
    void withdraw(platform::NotificationSlot slot) override;
    bool available() const override { return true; }

    const QList<Posted> &posts() const { return m_posts; }
    bool shown(platform::NotificationSlot slot = platform::NotificationSlot::Waiting) const
    {
        return m_shown.contains(slot);
    }
    // The user clicks the notification (or its "開く").
    void click(platform::NotificationSlot slot = platform::NotificationSlot::Waiting) { emit invoked(slot); }

private:
    QList<Posted> m_posts;
    QList<platform::NotificationSlot> m_shown;
};

// A box's style number read as what the user sees: its buttons, its icon and the button that has
// the focus when it opens. Each part keeps its bits, so two of these are equal exactly when the
// numbers are, and a failing comparison prints names ("OK, critical") rather than a sum (16).
enum class BoxButtons {
    Ok = platform::box::okOnly,
    OkCancel = platform::box::okCancel,
    AbortRetryIgnore = platform::box::abortRetryIgnore,
    YesNoCancel = platform::box::yesNoCancel,
    YesNo = platform::box::yesNo,
    RetryCancel = platform::box::retryCancel,
};
enum class BoxIcon {
    None = 0,
    Critical = platform::box::critical,
    Question = platform::box::question,
    Exclamation = platform::box::exclamation,
    Information = platform::box::information,
};
enum class BoxFocus {
    First = 0,
    Second = platform::box::defaultButton2,
    Third = platform::box::defaultButton3,
};

struct BoxStyle {
    BoxButtons buttons = BoxButtons::Ok;
    BoxIcon icon = BoxIcon::None;
    BoxFocus focus = BoxFocus::First;
    int otherBits = 0; // whatever else the number holds; the program sets nothing else

    static constexpr int kFocusBits = platform::box::defaultButton2 | platform::box::defaultButton3;
    static constexpr BoxStyle of(int style)
    {
        return {static_cast<BoxButtons>(platform::box::buttonsOf(style)),
                static_cast<BoxIcon>(platform::box::iconOf(style)), static_cast<BoxFocus>(style & kFocusBits),
                style & ~(7 | 0x70 | kFocusBits)};
    }
    friend bool operator==(const BoxStyle &, const BoxStyle &) = default;
};

constexpr BoxStyle boxStyle(BoxButtons buttons, BoxIcon icon = BoxIcon::None,
                            BoxFocus focus = BoxFocus::First)
{
    return {buttons, icon, focus};
}

// The answer of the button a box's user pressed.
enum class Answer {
    Ok = platform::box::ok,
    Cancel = platform::box::cancel,
    Abort = platform::box::abort,
    Retry = platform::box::retry,
    Ignore = platform::box::ignore,
    Yes = platform::box::yes,
    No = platform::box::no,
};
constexpr Answer answerOf(int answer)
{
    return static_cast<Answer>(answer);
}

// For QTest's messages. A value outside the names prints as its number.
char *toString(BoxButtons buttons);
char *toString(BoxIcon icon);
char *toString(BoxFocus focus);
char *toString(const BoxStyle &style);
char *toString(Answer answer);
// "normal 7", "call frame 2", "none".
QString describe(core::IconId id);

// Answers boxes from a queue (the default button when the queue is empty) and keeps every box shown.
class ScriptedDialogs final : public platform::Dialogs {
public:
    struct Shown {
        QString text;
        int style;
        QString title;

        BoxStyle look() const { return BoxStyle::of(style); }
    };
    int messageBox(const QString &text, int style, const QString &title) override;
    std::optional<platform::FontChoice> chooseFont(const platform::FontChoice &initial) override;
    std::optional<quint32> chooseColor(quint32 initial) override;
    // Closes the box being shown (its answer becomes the closed one) and shows no other.
    void closeAll() override { m_closed = true; }
    bool closedAll() const { return m_closed; }

    void answerNext(Answer answer) { m_answers.push_back(static_cast<int>(answer)); }
    // The same as the program's number, for callers that pick answers as numbers (the fuzzer).
    void answerNext(int answer) { m_answers.push_back(answer); }
    // Runs while each box is up, before it is answered: what a modal box's own event loop lets
    // happen meanwhile, such as datagrams arriving.
    std::function<void()> whileShown;
    void pickFontNext(std::optional<platform::FontChoice> font) { m_fonts.push_back(std::move(font)); }
    void pickColorNext(std::optional<quint32> color) { m_colors.push_back(color); }
    // The colour each colour dialog was opened with, in order.
    const QList<quint32> &colorPresets() const { return m_colorPresets; }

    const QList<Shown> &shown() const { return m_shown; }
    QStringList texts() const;
    void clear() { m_shown.clear(); }

private:
    QList<Shown> m_shown;
    bool m_closed = false;
    std::deque<int> m_answers;
    std::deque<std::optional<platform::FontChoice>> m_fonts;
    std::deque<std::optional<quint32>> m_colors;
    QList<quint32> m_colorPresets;
};

// Real files, with failures on demand: the next writes can be made to fail as on a full disk.
class FlakyFileStore final : public platform::FileStore {
public:
    bool exists(const QString &path) override { return m_real.exists(path); }
    platform::FileResult read(const QString &path, QByteArray &out, qint64 maxBytes) override;
    platform::FileResult readTail(const QString &path, QByteArray &out, qint64 maxBytes) override;
    void removeReplaceLeftovers(const QString &path) override;

    // After `skip` more writes (replace, append or remove) succeed, the `count` following fail with
    // `failure`.
    void failNextWrites(int count, platform::FileResult failure = platform::FileResult::DiskFull,
                        int skip = 0)
    {
        m_skip = skip;
        m_failures = count;
        m_failure = failure;
    }
    int writesAttempted() const { return m_attempts; }
    // Runs before each write (replace, append or remove): a test's look into a handler while it writes.
    std::function<void()> beforeWrite;

private:
    platform::FileResult replaceFile(const QString &path, const QByteArray &bytes, bool ownerOnly) override;
    platform::FileResult appendFile(const QString &path, const QByteArray &bytes, bool ownerOnly) override;
    platform::FileResult removeFile(const QString &path) override;
    bool failNow();
    platform::QtFileStore m_real;
    int m_skip = 0;
    int m_failures = 0;
    int m_attempts = 0;
    platform::FileResult m_failure = platform::FileResult::DiskFull;
};

class ManualClock final : public platform::Clock {
public:
    explicit ManualClock(QDateTime start = QDateTime(QDate(2026, 12, 8), QTime(9, 5, 0)))
        : m_now(std::move(start))
    {
    }
    QDateTime now() const override { return m_now; }
    void set(const QDateTime &when) { m_now = when; }
    void advance(int seconds) { m_now = m_now.addSecs(seconds); }

private:
    QDateTime m_now;
};

class FakeClipboard final : public platform::Clipboard {
public:
    bool hasText() const override { return m_text.has_value(); }
    QString text() const override { return m_text.value_or(QString()); }
    void clear() override { m_text.reset(); }
    void setText(const QString &text) { m_text = text; }

private:
    std::optional<QString> m_text;
};

class FakeIdentity final : public platform::Identity {
public:
    QString login = QStringLiteral("tester");
    QString host = QStringLiteral("testhost");
    QString loginName() const override { return login; }
    QString hostName() const override { return host; }
};

} // namespace testkit

namespace core {
// Found by QTest through the argument's namespace, so that QCOMPARE prints pictures by name.
char *toString(IconId id);
} // namespace core
