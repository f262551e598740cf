#include "support/fakes.h"

#include <QStringList>
#include <QTest>

using namespace Qt::StringLiterals;

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

namespace {

const char *nameOf(BoxButtons buttons)
{
    switch (buttons) {
    case BoxButtons::Ok:
        return "OK";
    case BoxButtons::OkCancel:
        return "OK/cancel";
    case BoxButtons::AbortRetryIgnore:
        return "abort/retry/ignore";
    case BoxButtons::YesNoCancel:
        return "yes/no/cancel";
    case BoxButtons::YesNo:
        return "yes/no";
    case BoxButtons::RetryCancel:
        return "retry/cancel";
    }
    return nullptr;
}

const char *nameOf(BoxIcon icon)
{
    switch (icon) {
    case BoxIcon::None:
        return "no icon";
    case BoxIcon::Critical:
        return "critical";
    case BoxIcon::Question:
        return "question";
    case BoxIcon::Exclamation:
        return "exclamation";
    case BoxIcon::Information:
        return "information";
    }
    return nullptr;
}

const char *nameOf(BoxFocus focus)
{
    switch (focus) {
    case BoxFocus::First:
        return "first button focused";
    case BoxFocus::Second:
        return "second button focused";
    case BoxFocus::Third:
        return "third button focused";
    }
    return nullptr;
}

const char *nameOf(Answer answer)
{
    switch (answer) {
    case Answer::Ok:
        return "OK";
    case Answer::Cancel:
        return "cancel";
    case Answer::Abort:
        return "abort";
    case Answer::Retry:
        return "retry";
    case Answer::Ignore:
        return "ignore";
    case Answer::Yes:
        return "yes";
    case Answer::No:
        return "no";
    }
    return nullptr;
}

// The name of a known value, or the number when there is none.
template <typename E> QString named(E value)
{
    const char *name = nameOf(value);
    return name != nullptr ? QString::fromLatin1(name) : QString::number(static_cast<int>(value));
}

template <typename E> char *printed(E value)
{
    return QTest::toString(named(value));
}

} // namespace

char *toString(BoxButtons buttons)
{
    return printed(buttons);
}

char *toString(BoxIcon icon)
{
    return printed(icon);
}

char *toString(BoxFocus focus)
{
    return printed(focus);
}

char *toString(Answer answer)
{
    return printed(answer);
}

// "OK, critical"; the icon when there is one, the focus when it is not on the first button.
char *toString(const BoxStyle &style)
{
    QStringList parts{named(style.buttons)};
    if (style.icon != BoxIcon::None)
        parts.append(named(style.icon));
    if (style.focus != BoxFocus::First)
        parts.append(named(style.focus));
    if (style.otherBits != 0)
        parts.append(u"other bits 0x"_s + QString::number(style.otherBits, 16));
    return QTest::toString(parts.join(u", "_s));
}

QString describe(core::IconId id)
{
    using Kind = core::IconId::Kind;
    switch (id.kind) {
    case Kind::Normal:
        return u"normal %1"_s.arg(id.index);
    case Kind::Received:
        return u"received %1"_s.arg(id.index);
    case Kind::CallFrame:
        return u"call frame %1"_s.arg(id.index);
    case Kind::Start:
        return u"start"_s;
    case Kind::End:
        return u"end"_s;
    case Kind::None:
        return id.index == 0 ? u"none"_s : u"none %1"_s.arg(id.index);
    }
    return u"kind %1, index %2"_s.arg(static_cast<int>(id.kind)).arg(id.index);
}

} // namespace testkit

char *core::toString(IconId id)
{
    return QTest::toString(testkit::describe(id));
}
