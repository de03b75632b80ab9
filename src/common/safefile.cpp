#include "common/safefile.h"

#include "common/runtime.h"

#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
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

// Where the bytes of a name end up: a file name in a folder, and what
// stands there now.
struct Target {
    QByteArray folder;
    QByteArray name;
    bool exists = false;
    struct stat old {};
};

void split(const QByteArray& path, QByteArray& folder, QByteArray& name)
{
    const qsizetype slash = path.lastIndexOf('/');
    folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
    name = path.mid(slash + 1);
}

// Follows `path` to the file it stands for, by the rules in the header;
// false for a target that may not be written.
bool resolve(QByteArray path, Target& t)
{
    // As many links as the kernel follows.
    for (int hops = 0; hops <= 40; ++hops) {
        split(path, t.folder, t.name);
        if (t.name.isEmpty() || t.name == "." || t.name == "..")
            return false;
        struct stat st {};
        if (::lstat(path.constData(), &st) != 0) {
            if (errno != ENOENT)
                return false;
            // A new file, in a folder that is there.
            struct stat dir {};
            if (::stat(t.folder.constData(), &dir) != 0 || !S_ISDIR(dir.st_mode))
                return false;
            t.exists = false;
            return true;
        }
        if (S_ISREG(st.st_mode)) {
            // Replaced only where it could be written in place: a read-only
            // file stays read-only for a user who may not write it.
            if (::faccessat(AT_FDCWD, path.constData(), W_OK, AT_EACCESS) != 0)
                return false;
            t.exists = true;
            t.old = st;
            return true;
        }
        if (!S_ISLNK(st.st_mode))
            return false; // a folder, a device, a FIFO, a socket
        struct stat dir {};
        if (::stat(t.folder.constData(), &dir) != 0)
            return false;
        const bool shared = (dir.st_mode & S_ISVTX) && (dir.st_mode & S_IWOTH);
        if (shared && st.st_uid != ::geteuid() && st.st_uid != dir.st_uid)
            return false;
        QByteArray to(qsizetype(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
        const ssize_t n = ::readlink(path.constData(), to.data(), size_t(to.size()));
        if (n <= 0 || n >= to.size())
            return false;
        to.truncate(n);
        path = to.startsWith('/') ? to : t.folder + '/' + to;
    }
    return false;
}

Target target(const QString& name)
{
    Target t;
    if (name.isEmpty() || !resolve(QFile::encodeName(name), t))
        accessError();
    return t;
}

void closeFd(int& fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

} // namespace

void setSyncForTesting(int (*sync)(int fd)) { g_sync = sync ? sync : &::fsync; }

void checkWritableTarget(const QString& name) { target(name); }

SafeFile::SafeFile() = default;

SafeFile::~SafeFile() { discard(); }

void SafeFile::open(const QString& name)
{
    discard();
    // A failed open is reported here; the writes after it add no box.
    failed_ = true;
    const Target t = target(name);
    dirFd_ = ::open(t.folder.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (dirFd_ < 0)
        accessError();
    // A short name of our own beside the target: the target's name may be
    // as long as a name can be.
    static const char kChars[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
        QByteArray tmp(".tav");
        for (int i = 0; i < 8; ++i)
            tmp += kChars[QRandomGenerator::global()->bounded(int(sizeof kChars - 1))];
        tmp += ".tmp";
        fd_ = ::openat(dirFd_, tmp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd_ >= 0)
            tempName_ = tmp;
        else if (errno != EEXIST)
            break;
    }
    if (fd_ < 0) {
        closeFd(dirFd_);
        accessError();
    }
    targetName_ = t.name;
    if (t.exists) {
        // The owner first: a change of owner clears the set-id bits.
        struct stat mine {};
        if (::fstat(fd_, &mine) == 0 && (mine.st_uid != t.old.st_uid || mine.st_gid != t.old.st_gid)
            && ::fchown(fd_, t.old.st_uid, t.old.st_gid) != 0 && errno != EPERM) {
            discard();
            accessError();
        }
        if (::fchmod(fd_, t.old.st_mode & 07777) != 0) {
            discard();
            accessError();
        }
    }
    failed_ = false;
}

void SafeFile::write(const QByteArray& bytes)
{
    if (failed_)
        return;
    if (fd_ < 0)
        throw RuntimeError(52, QStringLiteral("Bad file name or number"));
    // Straight to the kernel: a full disk fails the write it refuses.
    const char* p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd_, p, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            failed_ = true;
            discard();
            accessError();
        }
        p += n;
        left -= n;
    }
}

void SafeFile::commit()
{
    if (failed_ || fd_ < 0)
        return;
    // On the disk before it takes the target's place; a failure here or at
    // the close keeps the old file.
    const bool kept = synced(fd_);
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    if (!kept || !closed || ::renameat(dirFd_, tempName_.constData(), dirFd_, targetName_.constData()) != 0) {
        failed_ = true;
        discard();
        accessError();
    }
    tempName_.clear();
    closeFd(dirFd_);
}

void SafeFile::discard()
{
    closeFd(fd_);
    if (dirFd_ >= 0 && !tempName_.isEmpty())
        ::unlinkat(dirFd_, tempName_.constData(), 0);
    tempName_.clear();
    closeFd(dirFd_);
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
