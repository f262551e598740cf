#include "platform/files.h"

#include <QFile>
#include <QSaveFile>

namespace platform {
namespace {

FileResult resultOf(const QFileDevice &file)
{
    return file.error() == QFileDevice::ResourceError ? FileResult::DiskFull : FileResult::Failed;
}

} // namespace

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

FileResult QtFileStore::replace(const QString &path, const QByteArray &bytes, bool ownerOnly)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return resultOf(file);
    if (ownerOnly)
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (file.write(bytes) != bytes.size()) {
        const FileResult result = resultOf(file);
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
