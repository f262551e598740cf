#include "base/platform/files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#include <filesystem>

namespace platform {
namespace {

FileResult resultOf(const QFileDevice &file)
{
    return file.error() == QFileDevice::ResourceError ? FileResult::DiskFull : FileResult::Failed;
}

// What a write that did not take all its bytes means. Qt reports no error when the system took
// only part of them, and on a data file that happens when the disk runs out of room.
FileResult resultOfShortWrite(const QFileDevice &file, qint64 written)
{
    if (written >= 0 && file.error() == QFileDevice::NoError)
        return FileResult::DiskFull;
    return resultOf(file);
}

constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
constexpr QFileDevice::Permissions kOthers = QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                             QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                             QFileDevice::WriteOther | QFileDevice::ExeOther;

// The file a replace writes: a link is followed, so that the file it names is replaced and the
// link stays, as the user made it.
QString replacedFile(const QString &path)
{
    const QFileInfo info(path);
    return info.isSymLink() ? info.symLinkTarget() : path;
}

// Where a replace puts the new file whole before it takes the old one's place: beside it, under a
// name no person gives a file, so that what a killed program left there is known to be its own.
QString stagingFile(const QString &target)
{
    return target + QStringLiteral(".miltoanne-saving");
}

} // namespace

bool QtFileStore::exists(const QString &path)
{
    return QFileInfo::exists(path);
}

FileResult QtFileStore::read(const QString &path, QByteArray &out, qint64 maxBytes)
{
    QFile file(path);
    if (!file.exists())
        return FileResult::Missing;
    if (!file.open(QIODevice::ReadOnly))
        return FileResult::Failed;
    // A read of maxBytes reserves that much before it reads a byte; the limit is for files that
    // grew out of all measure, so a file of ordinary size is read at its own size.
    out = file.read(file.isSequential() ? maxBytes : qMin(maxBytes, file.size()));
    return file.error() == QFileDevice::NoError ? FileResult::Ok : FileResult::Failed;
}

FileResult QtFileStore::readTail(const QString &path, QByteArray &out, qint64 maxBytes)
{
    QFile file(path);
    if (!file.exists())
        return FileResult::Missing;
    if (!file.open(QIODevice::ReadOnly) || !file.seek(qMax<qint64>(0, file.size() - maxBytes)))
        return FileResult::Failed;
    out = file.read(maxBytes);
    return file.error() == QFileDevice::NoError ? FileResult::Ok : FileResult::Failed;
}

FileResult QtFileStore::replaceFile(const QString &path, const QByteArray &bytes, bool ownerOnly)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!QFileInfo::exists(folder) && !QDir().mkpath(folder))
        return FileResult::Failed;
    const QString target = replacedFile(path);
    // A file its user has made read-only is left as it is, as QSaveFile would leave it.
    if (const QFileInfo old(target); old.exists() && !old.isWritable())
        return FileResult::Failed;
    const QString staged = stagingFile(target);
    {
        QSaveFile file(staged);
        // Unbuffered, so that a full disk shows in write() itself. Buffered, the bytes would first
        // reach the disk in the flush inside commit(), whose failure commit() does not report: it
        // would put an empty file in the old one's place and say it succeeded.
        if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return resultOf(file);
        // The new file keeps what the user allowed on the old one, unless it must be private.
        if (ownerOnly)
            file.setPermissions(kOwnerOnly);
        else if (QFileInfo::exists(target))
            file.setPermissions(QFile::permissions(target));
        const qint64 written = file.write(bytes);
        if (written != bytes.size() || !file.flush() || file.error() != QFileDevice::NoError) {
            const FileResult result = resultOfShortWrite(file, written);
            file.cancelWriting();
            return result;
        }
        if (!file.commit())
            return resultOf(file);
    }
    // The whole new file is on the disk under the staging name; one rename puts it in the old
    // one's place (QFile::rename would not replace a file that is there).
    std::error_code error;
    std::filesystem::rename(QFileInfo(staged).filesystemFilePath(), QFileInfo(target).filesystemFilePath(),
                            error);
    if (error) {
        QFile::remove(staged);
        return FileResult::Failed;
    }
    return FileResult::Ok;
}

FileResult QtFileStore::appendFile(const QString &path, const QByteArray &bytes, bool ownerOnly)
{
    QFile file(path);
    // Unbuffered and in one write: a program killed in the middle leaves either nothing of the
    // bytes or one piece of them, never pieces flushed at the buffer's whim.
    const QIODevice::OpenMode mode = QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered;
    if (!(ownerOnly ? file.open(mode, kOwnerOnly) : file.open(mode)))
        return resultOf(file);
    // A file that an earlier version made readable by all is made private as soon as it is used.
    if (ownerOnly && (file.permissions() & kOthers))
        file.setPermissions(file.permissions() & ~kOthers);
    const qint64 before = file.size();
    const qint64 written = file.write(bytes);
    if (written != bytes.size() || !file.flush()) {
        const FileResult result = resultOfShortWrite(file, written);
        // The piece that did fit is taken off again, so that a retry does not write it twice.
        if (written > 0)
            file.resize(before);
        return result;
    }
    return FileResult::Ok;
}

FileResult QtFileStore::removeFile(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        return FileResult::Missing;
    return file.remove() ? FileResult::Ok : FileResult::Failed;
}

void QtFileStore::removeReplaceLeftovers(const QString &path)
{
    // Only the two names a replace gives: the staging file, and the one QSaveFile writes it under
    // (its name, a dot and six letters). Other names are the user's, however close they come.
    const QFileInfo staged(stagingFile(replacedFile(path)));
    const QRegularExpression leftover(QRegularExpression::anchoredPattern(
        QRegularExpression::escape(staged.fileName()) + QStringLiteral("(\\.[A-Za-z0-9]{6})?")));
    const QFileInfoList candidates =
        staged.dir().entryInfoList({staged.fileName() + u'*'}, QDir::Files | QDir::Hidden | QDir::System |
                                                                   QDir::NoSymLinks | QDir::CaseSensitive);
    for (const QFileInfo &candidate : candidates) {
        if (leftover.match(candidate.fileName()).hasMatch())
            QFile::remove(candidate.filePath());
    }
}

QString dataFilePath(const QString &dir, const QString &name)
{
    if (dir.endsWith(u'/') || dir.endsWith(u'\\'))
        return dir + name;
    return dir + u'/' + name;
}

} // namespace platform
