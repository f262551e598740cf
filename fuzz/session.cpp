#include "session.h"

#include "bounds.h"
#include "sessionsteps.h"

#include <QDirIterator>

namespace fuzzcheck {
namespace {

// Where the rig points the folders a program may write to without being asked: the user's home
// and data folders and the temporary folder, where the copies' data folders are made.
const char *const kRedirected[][2] = {
    {"HOME", "home"},
    {"XDG_CONFIG_HOME", "home/.config"},
    {"XDG_DATA_HOME", "home/.local/share"},
    {"XDG_STATE_HOME", "home/.local/state"},
    {"XDG_CACHE_HOME", "home/.cache"},
    {"XDG_RUNTIME_DIR", "runtime"},
    {"TMPDIR", "tmp"},
};

QStringList entriesOf(const QString &dir, QDirIterator::IteratorFlags flags)
{
    QStringList out;
    QDirIterator it(dir, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, flags);
    const QDir base(dir);
    while (it.hasNext())
        out << base.relativeFilePath(it.next());
    out.sort();
    return out;
}

} // namespace

SessionRig::SessionRig(const QString &base, const QString &name)
    : m_root((base.isEmpty() ? QDir::tempPath() : base) + u'/' + name + QStringLiteral("-XXXXXX"))
{
    if (!m_root.isValid())
        qFatal("no temporary root for the session rig");
    // The folders below are named through the root's canonical path, and so are the copies' data
    // folders made in them: listings and data folders compare as they are.
    m_rootPath = QDir(m_root.path()).canonicalPath();
    const QString &root = m_rootPath;
    for (const auto &[name, relative] : kRedirected) {
        const QString path = root + u'/' + QString::fromLatin1(relative);
        // The runtime folder must be its owner's alone, or Qt does not take it.
        if (!QDir().mkpath(path) ||
            !QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
            qFatal("cannot make a folder in the session rig's root");
        m_environment.push_back({name, qgetenv(name), qEnvironmentVariableIsSet(name)});
        qputenv(name, QFile::encodeName(path));
    }
}

SessionRig::~SessionRig()
{
    for (const Saved &saved : m_environment) {
        if (saved.set)
            qputenv(saved.name.constData(), saved.value);
        else
            qunsetenv(saved.name.constData());
    }
}

QStringList SessionRig::listing() const
{
    return entriesOf(m_rootPath, QDirIterator::Subdirectories);
}

SessionResult SessionRig::run(QByteArrayView program)
{
    // The working folder holds whatever a relative path would write to.
    const QString here = QDir::currentPath();
    const bool hereIsOutside = !QDir(here).canonicalPath().startsWith(m_rootPath);
    const QStringList hereBefore =
        hereIsOutside ? entriesOf(here, QDirIterator::NoIteratorFlags) : QStringList();
    const QStringList before = listing();

    SessionResult result;
    {
        Session session(program);
        session.run();
        // Every file the copies made, while they still run: only their own files, in their own
        // folders.
        const QSet<QString> known(before.cbegin(), before.cend());
        const QDir root(m_rootPath);
        QSet<QString> dataFolders;
        for (const QString &folder : session.dataFolders())
            dataFolders.insert(root.relativeFilePath(folder));
        for (const QString &entry : listing()) {
            if (known.contains(entry) || dataFolders.contains(entry))
                continue;
            // Each running copy listens for a second start on a socket in the runtime folder;
            // it goes with the copy (the check after the end below).
            if (entry.startsWith(QStringLiteral("runtime/miltoanne-")) && !entry.mid(8).contains(u'/'))
                continue;
            const qsizetype slash = entry.lastIndexOf(u'/');
            const QString folder = entry.left(qMax<qsizetype>(slash, 0));
            const QString name = entry.mid(slash + 1);
            if (!dataFolders.contains(folder) || !kDataFiles.contains(name))
                session.fault(QStringLiteral("a file was written where it does not belong: ") + entry);
        }
        result = session.result();
    }
    // And once they have ended and their folders are gone, nothing is left behind.
    const QStringList after = listing();
    if (after != before)
        result.broken << QStringLiteral("the session left files behind: ") +
                             QSet<QString>(after.cbegin(), after.cend())
                                 .subtract(QSet<QString>(before.cbegin(), before.cend()))
                                 .values()
                                 .join(QStringLiteral(", "));
    if (hereIsOutside && entriesOf(here, QDirIterator::NoIteratorFlags) != hereBefore)
        result.broken << QStringLiteral("the session changed the working folder ") + here;
    return result;
}

} // namespace fuzzcheck
