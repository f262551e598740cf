#include "support/mountns.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>

#include <cerrno>
#include <cstring>
#include <sys/mount.h>
#include <unistd.h>

namespace testkit {
namespace {

const char kParentNamespace[] = "MILTOANNE_PARENT_MOUNT_NAMESPACE";

// The mount namespace of this process, as its /proc link names it ("mnt:[4026531841]").
QByteArray mountNamespace()
{
    char target[64] = {};
    const ssize_t n = ::readlink("/proc/self/ns/mnt", target, sizeof target - 1);
    return n > 0 ? QByteArray(target, n) : QByteArray();
}

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

bool inOwnMountNamespace()
{
    const QByteArray parent = qgetenv(kParentNamespace);
    if (parent.isEmpty())
        return false;
    const QByteArray own = mountNamespace();
    if (own.isEmpty() || own == parent)
        qFatal("the child shares its parent's mount namespace (%s); nothing is mounted", own.constData());
    return true;
}

NamespaceRun rerunInOwnMountNamespace()
{
    const QByteArray own = mountNamespace();
    if (own.isEmpty())
        return {NamespaceRun::Skipped,
                QStringLiteral("no /proc/self/ns/mnt here; mount namespaces are not available")};
    QStringList arguments{QStringLiteral("--mount"), QStringLiteral("--propagation"),
                          QStringLiteral("private")};
    // Without root, a user namespace of the child's own lends it the right to mount.
    if (::geteuid() != 0)
        arguments << QStringLiteral("--user") << QStringLiteral("--map-root-user");
    QString function = QString::fromLatin1(QTest::currentTestFunction());
    if (const char *tag = QTest::currentDataTag(); tag != nullptr && *tag != '\0')
        function += u':' + QString::fromUtf8(tag);
    arguments << QCoreApplication::applicationFilePath() << function;

    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(kParentNamespace), QString::fromLatin1(own));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QStringLiteral("unshare"), arguments);
    if (!child.waitForStarted())
        return {NamespaceRun::Skipped, QStringLiteral("unshare cannot be run here: ") + child.errorString()};
    if (!child.waitForFinished(30000)) {
        child.kill();
        child.waitForFinished();
        return {NamespaceRun::Failed, QStringLiteral("the child did not finish within 30 s")};
    }
    const QString output = QString::fromUtf8(child.readAll());
    // unshare prints its own refusal and never starts the test.
    if (!output.contains(QStringLiteral("Start testing of")))
        return {NamespaceRun::Skipped,
                QStringLiteral("no mount namespace of the test's own here: ") + output.trimmed()};
    if (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
        return {NamespaceRun::Failed, output};
    for (const QString &line : output.split(u'\n')) {
        if (line.startsWith(QStringLiteral("SKIP   :")))
            return {NamespaceRun::Skipped, line};
    }
    if (!output.contains(QStringLiteral("PASS   :")))
        return {NamespaceRun::Failed, output};
    return {NamespaceRun::Passed, output};
}

ScratchMount::ScratchMount(int kib, bool readOnly)
{
    if (!inOwnMountNamespace()) {
        m_error = QStringLiteral("not in a mount namespace of the test's own");
        return;
    }
    // unshare made the namespace's mounts private already; once more, so that nothing mounted here
    // could ever reach the parent's namespace.
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
        m_error = QStringLiteral("mount --make-rprivate /: ") + systemError();
        return;
    }
    const QByteArray options = "size=" + QByteArray::number(kib) + "k,mode=0755";
    const QByteArray where = QFile::encodeName(m_dir.path());
    if (::mount("tmpfs", where.constData(), "tmpfs", readOnly ? MS_RDONLY : 0, options.constData()) != 0) {
        m_error = QStringLiteral("mount -t tmpfs: ") + systemError();
        return;
    }
    m_mounted = true;
}

ScratchMount::~ScratchMount()
{
    // Before the temporary directory goes, so that it is the directory of the real /tmp it removes.
    const QByteArray where = QFile::encodeName(m_dir.path());
    if (m_readOnlyView)
        ::umount2(where.constData(), MNT_DETACH);
    if (m_mounted)
        ::umount2(where.constData(), MNT_DETACH);
}

bool ScratchMount::makeReadOnly()
{
    // Remounting the tmpfs itself read-only is refused while a file on it is open for writing;
    // a second view of it is not, and from here on the path leads to that view.
    const QByteArray where = QFile::encodeName(m_dir.path());
    if (!m_mounted || ::mount(where.constData(), where.constData(), nullptr, MS_BIND, nullptr) != 0)
        return false;
    m_readOnlyView = true;
    return ::mount(nullptr, where.constData(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

bool ScratchMount::fill(qint64 leaveFree)
{
    QFile filler(filePath(QStringLiteral("filler")));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    const QByteArray page(4096, 'f');
    while (filler.write(page) == page.size()) {
    }
    const qint64 pages = (leaveFree + page.size() - 1) / page.size();
    return filler.resize(qMax<qint64>(0, filler.size() - pages * page.size()));
}

} // namespace testkit
