#include "support/fakes.h"

namespace testkit {

int FakeTray::notify(platform::TrayOp op, const platform::TrayRecord &nid)
{
    m_calls.append({op, nid});
    const bool ok = (op == platform::TrayOp::Add) != m_shown;
    if (!ok)
        return 0;
    m_shown = op != platform::TrayOp::Delete;
    m_current = nid;
    return 1;
}

int ScriptedDialogs::messageBox(const QString &text, int style, const QString &title)
{
    m_shown.append({text, style, title});
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
    auto next = m_fonts.front();
    m_fonts.pop_front();
    return next;
}

std::optional<quint32> ScriptedDialogs::chooseColor(quint32)
{
    if (m_colors.empty())
        return std::nullopt;
    auto next = m_colors.front();
    m_colors.pop_front();
    return next;
}

QStringList ScriptedDialogs::texts() const
{
    QStringList out;
    for (const Shown &s : m_shown)
        out.append(s.text);
    return out;
}

} // namespace testkit
