#pragma once

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

// Answers boxes from a queue (the default button when the queue is empty) and keeps every box shown.
class ScriptedDialogs final : public platform::Dialogs {
public:
    struct Shown {
        QString text;
        int style;
        QString title;
    };
    int messageBox(const QString &text, int style, const QString &title) override;
    std::optional<platform::FontChoice> chooseFont(const platform::FontChoice &initial) override;
    std::optional<quint32> chooseColor(quint32 initial) override;
    // Closes the box being shown (its answer becomes the closed one) and shows no other.
    void closeAll() override { m_closed = true; }
    bool closedAll() const { return m_closed; }

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
