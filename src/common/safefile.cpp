#include "common/safefile.h"

#include "common/runtime.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <unistd.h>

namespace tav {

namespace {

int (*g_sync)(int) = &::fsync;

[[noreturn]] void accessError() { throw RuntimeError(ErrSafePathFileAccess, QStringLiteral("Path/File access error")); }

// The bytes are on the disk, or the disk said why not. A file system that
// cannot sync at all is no failure of this file.
bool synced(int fd)
{
    if (fd < 0)
        return false;
    int r;
    do
        r = g_sync(fd);
    while (r != 0 && errno == EINTR);
    return r == 0 || errno == EINVAL || errno == ENOTSUP || errno == ENOSYS;
}

} // namespace

void setSyncForTesting(int (*sync)(int fd)) { g_sync = sync ? sync : &::fsync; }

SafeFile::SafeFile() = default;

SafeFile::~SafeFile() { discard(); }

void SafeFile::open(const QString& name)
{
    discard();
    // A failed open is reported here; the writes after it add no box.
    failed_ = true;
    const QFileInfo info(name);
    if (name.isEmpty() || !info.absoluteDir().exists())
        accessError();
    // A folder in place of the file cannot be replaced by it.
    if (info.isDir())
        accessError();
    auto f = std::make_unique<QSaveFile>(name);
    // No fallback to writing the target in place: that is what loses it.
    f->setDirectWriteFallback(false);
    // Unbuffered: every write reaches the kernel at once, so a full disk
    // fails the write it refuses, not a flush that commit() does not check.
    if (!f->open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        accessError();
    file_ = std::move(f);
    failed_ = false;
}

void SafeFile::write(const QByteArray& bytes)
{
    if (failed_)
        return;
    if (!file_)
        throw RuntimeError(52, QStringLiteral("Bad file name or number"));
    const qint64 n = file_->write(bytes);
    if (n != bytes.size() || file_->error() != QFileDevice::NoError) {
        failed_ = true;
        discard();
        accessError();
    }
}

void SafeFile::commit()
{
    if (failed_ || !file_)
        return;
    // QSaveFile::commit() renames the temporary file over the target even
    // when the flush inside it failed. So nothing is left for it to write:
    // what is still held is flushed and synced to the disk here, where a
    // failure keeps the old file, and the close before the rename has no
    // bytes left to lose.
    if (!file_->flush() || file_->error() != QFileDevice::NoError || !synced(file_->handle())) {
        failed_ = true;
        discard();
        accessError();
    }
    const bool ok = file_->commit();
    file_.reset();
    if (!ok) {
        failed_ = true;
        accessError();
    }
}

void SafeFile::discard()
{
    if (file_) {
        file_->cancelWriting();
        file_->commit(); // removes the temporary file
        file_.reset();
    }
}

void writeFileWhole(const QString& name, const QByteArray& bytes)
{
    SafeFile f;
    f.open(name);
    f.write(bytes);
    f.commit();
    if (f.failed())
        accessError();
}

} // namespace tav
