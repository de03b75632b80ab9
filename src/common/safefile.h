#pragma once
// Every file the program writes goes through here: the bytes go to a
// temporary file in the target's folder, which replaces the target only once
// everything was written. A failure at any point leaves the old file as it
// was and no partial file behind.
//
// The target is checked before anything is written: a regular file the
// process may write, a name not yet taken in a folder, or a symbolic link
// to one of those. A link in a sticky folder that everyone may write is
// followed only when its owner is the user or the folder's owner (the rule
// the kernel keeps for such folders), since anyone may have planted it
// there. A device, a FIFO, a socket or a folder is never replaced nor
// opened. The replaced file keeps its mode and, where the process may set
// them, its owner and group.

#include <QByteArray>
#include <QString>

namespace tav {

// The writer's error number ("Path/File access error").
constexpr int ErrSafePathFileAccess = 75;

class SafeFile {
public:
    SafeFile();
    SafeFile(const SafeFile&) = delete;
    SafeFile& operator=(const SafeFile&) = delete;
    // A file not committed is discarded: the target keeps its old content.
    ~SafeFile();

    // Raises "Path/File access error" when the target may not be written
    // (see above) or the temporary file cannot be made beside it.
    void open(const QString& name);
    // Raises "Path/File access error" when the bytes could not be written;
    // once the file has failed, writes and commit do nothing more, so a
    // failure is reported once.
    void write(const QByteArray& bytes);
    // Replaces the target; raises "Path/File access error" when it cannot.
    void commit();
    // Drops what was written.
    void discard();

    bool isOpen() const { return fd_ >= 0; }
    bool failed() const { return failed_; }

private:
    int dirFd_ = -1;        // the target's folder
    int fd_ = -1;           // the temporary file in it
    QByteArray tempName_;   // within that folder
    QByteArray targetName_; // within that folder
    bool failed_ = false;
};

// The whole of `bytes` as the file `name`, or nothing.
void writeFileWhole(const QString& name, const QByteArray& bytes);

// Raises "Path/File access error" unless `name` may be written as above.
// Looks only: opens nothing, so a FIFO cannot hold the caller.
void checkWritableTarget(const QString& name);

// Test seam: the call that puts a file's bytes on the disk before it
// replaces the target (nullptr: fsync). A disk that fails only there cannot
// be had in a test.
void setSyncForTesting(int (*sync)(int fd));

} // namespace tav
