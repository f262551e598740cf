#include "platform/files.h"

#include <QFile>
#include <QSaveFile>

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

} // namespace

FileResult QtFileStore::read(const QString &path, QByteArray &out, qint64 maxBytes)
{
    QFile file(path);
    if (!file.exists())
        return FileResult::Missing;
    if (!file.open(QIODevice::ReadOnly))
        return FileResult::Failed;
    out = file.read(maxBytes);
    return file.error() == QFileDevice::NoError ? FileResult::Ok : FileResult::Failed;
}

FileResult QtFileStore::replace(const QString &path, const QByteArray &bytes, bool ownerOnly)
{
    QSaveFile file(path);
    // Unbuffered, so that a full disk shows in write() itself. Buffered, the bytes would first
    // reach the disk in the flush inside commit(), whose failure commit() does not report: it
    // would put an empty file in the old one's place and say it succeeded.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return resultOf(file);
    if (ownerOnly)
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const qint64 written = file.write(bytes);
    if (written != bytes.size() || !file.flush() || file.error() != QFileDevice::NoError) {
        const FileResult result = resultOfShortWrite(file, written);
        file.cancelWriting();
        return result;
    }
    if (!file.commit())
        return resultOf(file);
    return FileResult::Ok;
}

FileResult QtFileStore::append(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return resultOf(file);
    if (file.write(bytes) != bytes.size() || !file.flush())
        return resultOf(file);
    return FileResult::Ok;
}

QString dataFilePath(const QString &dir, const QString &name)
{
    if (dir.endsWith(u'/') || dir.endsWith(u'\\'))
        return dir + name;
    return dir + u'/' + name;
}

} // namespace platform
