#include "base/settings/autostart.h"

#include <QFile>

#include <algorithm>

namespace settings {
namespace {

// `program` as the one argument of an Exec key: quoted when it holds a character the key
// reserves, the quoted form's escapes made, "%" doubled so that it is no field code, and then the
// escapes of every string value, so that a backslash in the path ends up as four.
QString execArgument(const QString &program)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    QString argument = program;
    if (std::any_of(program.cbegin(), program.cend(), [](QChar c) { return reserved.contains(c); })) {
        argument = QStringLiteral("\"");
        for (QChar c : program) {
            if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
                argument += u'\\';
            argument += c;
        }
        argument += u'"';
    }
    argument.replace(u'%', QStringLiteral("%%"));
    // The backslash first, so that the escapes made after it stay single.
    return argument.replace(u'\\', QStringLiteral("\\\\"))
        .replace(u'\n', QStringLiteral("\\n"))
        .replace(u'\t', QStringLiteral("\\t"))
        .replace(u'\r', QStringLiteral("\\r"));
}

} // namespace

QByteArray autostartEntry(const QString &programFile)
{
    // The entry the package installs, built into the program so that both say the same.
    QFile installed(QStringLiteral(":/miltoanne.desktop"));
    if (!installed.open(QIODevice::ReadOnly))
        qFatal("the desktop entry is not built into the program");
    QString entry;
    for (const QString &line : QString::fromUtf8(installed.readAll()).split(u'\n', Qt::SkipEmptyParts))
        entry +=
            (line.startsWith(u"Exec=") ? QStringLiteral("Exec=") + execArgument(programFile) : line) + u'\n';
    entry += QStringLiteral("X-GNOME-Autostart-enabled=true\n");
    return entry.toUtf8();
}

bool startsAtLogin(const core::Context &context)
{
    const QString &path = context.services.autostartFile;
    return !path.isEmpty() && context.services.files.exists(path);
}

void setStartAtLogin(core::Context &context, bool on)
{
    const QString &path = context.services.autostartFile;
    if (path.isEmpty())
        return;
    platform::FileStore &files = context.services.files;
    const int errorBox = platform::box::okOnly | platform::box::critical;
    if (!on) {
        const platform::FileResult removed = files.remove(path);
        if (removed != platform::FileResult::Ok && removed != platform::FileResult::Missing)
            context.box(
                QStringLiteral("ログイン時の起動を解除できませんでした。\r\n%1 を削除できません。").arg(path),
                errorBox, core::kErrorTitle);
        return;
    }
    const QByteArray entry = autostartEntry(context.services.programFile);
    // An entry that already starts this program is left as it is.
    QByteArray present;
    if (files.read(path, present, entry.size() + 1) == platform::FileResult::Ok && present == entry)
        return;
    if (files.replace(path, entry, false) != platform::FileResult::Ok)
        context.box(QStringLiteral("ログイン時に起動するよう設定できませんでした。\r\n%1 に書き込めません。")
                        .arg(path),
                    errorBox, core::kErrorTitle);
}

} // namespace settings
