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
// is written or removed.
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
    virtual FileResult replace(const QString &path, const QByteArray &bytes, bool ownerOnly) = 0;
    // Appends `bytes` with one write, creating the file when it is missing (readable and writable
    // by its owner alone with `ownerOnly`).
    virtual FileResult append(const QString &path, const QByteArray &bytes, bool ownerOnly) = 0;
    // Removes the file; Missing when there was none.
    virtual FileResult remove(const QString &path) = 0;
    // Removes the temporary files that replacing `path` leaves beside it when the program is killed
    // in the middle; nothing else is touched.
    virtual void removeReplaceLeftovers(const QString &path) = 0;
};

class QtFileStore final : public FileStore {
public:
    bool exists(const QString &path) override;
    FileResult read(const QString &path, QByteArray &out, qint64 maxBytes) override;
    FileResult readTail(const QString &path, QByteArray &out, qint64 maxBytes) override;
    FileResult replace(const QString &path, const QByteArray &bytes, bool ownerOnly) override;
    FileResult append(const QString &path, const QByteArray &bytes, bool ownerOnly) override;
    FileResult remove(const QString &path) override;
    void removeReplaceLeftovers(const QString &path) override;
};

// `dir` followed by `name`, with a separator only where `dir` does not already end in one (a
// drive root such as "C:\" or "/").
QString dataFilePath(const QString &dir, const QString &name);

} // namespace platform
