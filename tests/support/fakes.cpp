#include "support/fakes.h"

namespace testkit {

int FakeTray::notify(platform::TrayOp op, const platform::TrayRecord &trayRecord)
{
    m_calls.append({op, trayRecord});
    const bool ok = (op == platform::TrayOp::Add) != m_shown;
    if (!ok)
        return 0;
    m_shown = op != platform::TrayOp::Delete;
    m_current = trayRecord;
    return 1;
}

void FakeNotifications::post(platform::NotificationSlot slot, const QString &title, const QString &body)
{
    m_posts.append({slot, title, body});
    if (!m_shown.contains(slot))
        m_shown.append(slot);
}

void FakeNotifications::withdraw(platform::NotificationSlot slot)
{
    m_shown.removeAll(slot);
}

int ScriptedDialogs::messageBox(const QString &text, int style, const QString &title)
{
    if (m_closed)
        return platform::box::closedAnswer(style);
    m_shown.append({text, style, title});
    if (whileShown)
        whileShown();
    if (m_closed)
        return platform::box::closedAnswer(style);
    if (m_answers.empty())
        return platform::box::defaultAnswer(style);
    const int answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

std::optional<platform::FontChoice> ScriptedDialogs::chooseFont(const platform::FontChoice &)
{
    if (m_fonts.empty())
        return std::nullopt;
    std::optional<platform::FontChoice> next;
    next.swap(m_fonts.front());
    m_fonts.pop_front();
    return next;
}

std::optional<quint32> ScriptedDialogs::chooseColor(quint32 initial)
{
    m_colorPresets.append(initial);
    if (m_colors.empty())
        return std::nullopt;
    auto next = m_colors.front();
    m_colors.pop_front();
    return next;
}

bool FlakyFileStore::failNow()
{
    if (beforeWrite)
        beforeWrite();
    ++m_attempts;
    if (m_skip > 0) {
        --m_skip;
        return false;
    }
    if (m_failures <= 0)
        return false;
    --m_failures;
    return true;
}

platform::FileResult FlakyFileStore::read(const QString &path, QByteArray &out, qint64 maxBytes)
{
    return m_real.read(path, out, maxBytes);
}

platform::FileResult FlakyFileStore::readTail(const QString &path, QByteArray &out, qint64 maxBytes)
{
    return m_real.readTail(path, out, maxBytes);
}

platform::FileResult FlakyFileStore::replaceFile(const QString &path, const QByteArray &bytes, bool ownerOnly)
{
    return failNow() ? m_failure : m_real.replace(path, bytes, ownerOnly);
}

platform::FileResult FlakyFileStore::appendFile(const QString &path, const QByteArray &bytes, bool ownerOnly)
{
    return failNow() ? m_failure : m_real.append(path, bytes, ownerOnly);
}

platform::FileResult FlakyFileStore::removeFile(const QString &path)
{
    return failNow() ? m_failure : m_real.remove(path);
}

void FlakyFileStore::removeReplaceLeftovers(const QString &path)
{
    m_real.removeReplaceLeftovers(path);
}

QStringList ScriptedDialogs::texts() const
{
    QStringList out;
    for (const Shown &s : m_shown)
        out.append(s.text);
    return out;
}

} // namespace testkit
