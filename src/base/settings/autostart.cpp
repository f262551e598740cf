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
    if (argument.contains(u'%')) {
        // GLib checks an entry on loading by looking for the program its Exec names, before it
        // turns "%%" back into "%"; a path with "%" would be missing then, and GNOME would skip the
        // entry. Started through env, the path is only env's argument, which every desktop gets
        // right.
        argument = QStringLiteral("env ") + argument.replace(u'%', QStringLiteral("%%"));
    }
    // The backslash first, so that the escapes made after it stay single.
    return argument.replace(u'\\', QStringLiteral("\\\\"))
        .replace(u'\n', QStringLiteral("\\n"))
        .replace(u'\t', QStringLiteral("\\t"))
        .replace(u'\r', QStringLiteral("\\r"));
}

// More than any entry holds; the head of a larger file is enough to read its switches.
constexpr qint64 kMaxEntryBytes = 64 * 1024;

} // namespace

std::optional<QByteArray> autostartEntry(const QString &programFile)
{
    if (programFile.isEmpty())
        return std::nullopt;
    // The entry the package installs, built into the program so that both say the same.
    QFile installed(QStringLiteral(":/miltoanne.desktop"));
    if (!installed.open(QIODevice::ReadOnly))
        qFatal("the desktop entry is not built into the program");
    QString entry;
    for (const QString &line : QString::fromUtf8(installed.readAll()).split(u'\n', Qt::SkipEmptyParts))
        entry +=
            (line.startsWith(u"Exec=") ? QStringLiteral("Exec=") + execArgument(programFile) : line) + u'\n';
    entry += QStringLiteral("X-GNOME-Autostart-enabled=true\n");
    // A program that lives in the tray should start once the panel is up: LXQt waits for its
    // tray, KDE starts it in its second phase (after the panel; the older key for older
    // versions), GNOME gives its panel extensions a few seconds. The session itself never
    // restarts it: this entry is the one way it starts at login.
    entry += QStringLiteral("X-LXQt-Need-Tray=true\n"
                            "X-KDE-autostart-phase=2\n"
                            "X-KDE-autostart-after=panel\n"
                            "X-GNOME-Autostart-Delay=5\n"
                            "X-GNOME-AutoRestart=false\n");
    return entry.toUtf8();
}

bool autostartEnabled(const QByteArray &entry)
{
    bool inMainGroup = false;
    for (const QByteArray &rawLine : entry.split('\n')) {
        const QByteArray line = rawLine.trimmed();
        if (line.startsWith('[')) {
            inMainGroup = line == "[Desktop Entry]";
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (!inMainGroup || line.startsWith('#') || equals < 0)
            continue;
        // Blanks around "=" are allowed and mean nothing.
        const QByteArray key = line.left(equals).trimmed();
        const QByteArray value = line.mid(equals + 1).trimmed();
        if ((key == "Hidden" && value == "true") || (key == "X-GNOME-Autostart-enabled" && value == "false"))
            return false;
    }
    return true;
}

bool startsAtLogin(const core::Context &context)
{
    const QString &path = context.services.autostartFile;
    if (path.isEmpty())
        return false;
    QByteArray entry;
    return context.services.files.read(path, entry, kMaxEntryBytes) == platform::FileResult::Ok &&
           autostartEnabled(entry);
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
    const std::optional<QByteArray> entry = autostartEntry(context.services.programFile);
    if (!entry) {
        context.box(QStringLiteral("ログイン時に起動するよう設定できませんでした。\r\n"
                                   "プログラムのあるフォルダの名前が UTF-8 ではないため、"
                                   "起動の設定に書けません。"),
                    errorBox, core::kErrorTitle);
        return;
    }
    // An entry that already starts this program is left as it is.
    QByteArray present;
    if (files.read(path, present, entry->size() + 1) == platform::FileResult::Ok && present == *entry)
        return;
    if (files.replace(path, *entry, false) != platform::FileResult::Ok)
        context.box(QStringLiteral("ログイン時に起動するよう設定できませんでした。\r\n%1 に書き込めません。")
                        .arg(path),
                    errorBox, core::kErrorTitle);
}

} // namespace settings
