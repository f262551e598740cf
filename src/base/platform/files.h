#pragma once

#include <QByteArray>
#include <QString>

namespace platform {

enum class FileResult {
    Ok,
    Missing,  // read: there is no such file
    DiskFull, // the disk has no room left: worth a retry once the user has made some
    Failed,   // anything else: no permission, a locked file, a directory in the way
};

// The data files: read whole, replaced atomically, or appended to; and the autostart entry, which
// is written or removed. The writes go through the store's own front, which keeps the file of the
// last one that failed, so that whoever tells the user can name it.
class FileStore {
public:
    virtual ~FileStore() = default;
    virtual bool exists(const QString &path) = 0;
    // Reads at most `maxBytes` of the file into `out`.
    virtual FileResult read(const QString &path, QByteArray &out, qint64 maxBytes) = 0;
    // Reads the last `maxBytes` of the file (all of a shorter one) into `out`.
    virtual FileResult readTail(const QString &path, QByteArray &out, qint64 maxBytes) = 0;
    // Replaces the file: afterwards it holds either `bytes` whole or what it held before. Missing
    // folders on its path are made. `ownerOnly` makes it readable and writable by its owner alone.
    FileResult replace(const QString &path, const QByteArray &bytes, bool ownerOnly)
    {
        return noted(path, replaceFile(path, bytes, ownerOnly));
    }
    // Appends `bytes` with one write, creating the file when it is missing. With `ownerOnly` the
    // file is readable and writable by its owner alone, one made by an earlier version included.
    FileResult append(const QString &path, const QByteArray &bytes, bool ownerOnly)
    {
        return noted(path, appendFile(path, bytes, ownerOnly));
    }
    // Removes the file; Missing when there was none.
    FileResult remove(const QString &path) { return noted(path, removeFile(path)); }
    // Removes what replacing `path` leaves beside it when the program is killed in the middle; only
    // files under the names the replacing itself gives, so a user's own copies stay.
    virtual void removeReplaceLeftovers(const QString &path) = 0;
    // The file of the last write that failed (Failed or DiskFull).
    const QString &lastFailedFile() const { return m_lastFailedFile; }

protected:
    virtual FileResult replaceFile(const QString &path, const QByteArray &bytes, bool ownerOnly) = 0;
    virtual FileResult appendFile(const QString &path, const QByteArray &bytes, bool ownerOnly) = 0;
    virtual FileResult removeFile(const QString &path) = 0;

private:
    FileResult noted(const QString &path, FileResult result)
    {
        if (result == FileResult::Failed || result == FileResult::DiskFull)
            m_lastFailedFile = path;
        return result;
    }
    QString m_lastFailedFile;
};

class QtFileStore final : public FileStore {
public:
    bool exists(const QString &path) override;
    FileResult read(const QString &path, QByteArray &out, qint64 maxBytes) override;
    FileResult readTail(const QString &path, QByteArray &out, qint64 maxBytes) override;
    void removeReplaceLeftovers(const QString &path) override;

private:
    FileResult replaceFile(const QString &path, const QByteArray &bytes, bool ownerOnly) override;
    FileResult appendFile(const QString &path, const QByteArray &bytes, bool ownerOnly) override;
    FileResult removeFile(const QString &path) override;
};

// `dir` followed by `name`, with a separator only where `dir` does not already end in one (a
// drive root such as "C:\" or "/").
QString dataFilePath(const QString &dir, const QString &name);

} // namespace platform
