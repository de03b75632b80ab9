#include "common/safefile.h"

#include "common/runtime.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace tav {

namespace {

qint64 g_limit = -1;

[[noreturn]] void accessError() { throw RuntimeError(ErrSafePathFileAccess, QStringLiteral("Path/File access error")); }

} // namespace

void setWriteLimitForTesting(qint64 bytes) { g_limit = bytes; }

SafeFile::SafeFile() = default;

SafeFile::~SafeFile() { discard(); }

void SafeFile::open(const QString& name)
{
    discard();
    written_ = 0;
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
    if (!f->open(QIODevice::WriteOnly))
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
    QByteArray part = bytes;
    const bool full = g_limit >= 0 && written_ + bytes.size() > g_limit;
    if (full)
        part.truncate(qMax<qint64>(0, g_limit - written_));
    const qint64 n = file_->write(part);
    if (n > 0)
        written_ += n;
    if (full || n != part.size()) {
        failed_ = true;
        discard();
        accessError();
    }
}

void SafeFile::commit()
{
    if (failed_ || !file_)
        return;
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
