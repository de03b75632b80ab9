#pragma once
// Every file the program writes goes through here: the bytes go to a
// temporary file in the target's folder, which replaces the target only once
// everything was written. A failure at any point leaves the old file as it
// was and no partial file behind.

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>

class QSaveFile;

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

    // Raises "Path/File access error" when the folder does not exist or the
    // file cannot be written there.
    void open(const QString& name);
    // Raises "Path/File access error" when the bytes could not be written;
    // once the file has failed, writes and commit do nothing more, so a
    // failure is reported once.
    void write(const QByteArray& bytes);
    // Replaces the target; raises "Path/File access error" when it cannot.
    void commit();
    // Drops what was written.
    void discard();

    bool isOpen() const { return file_ != nullptr; }
    bool failed() const { return failed_; }

private:
    std::unique_ptr<QSaveFile> file_;
    bool failed_ = false;
};

// The whole of `bytes` as the file `name`, or nothing.
void writeFileWhole(const QString& name, const QByteArray& bytes);

// Test seam: the call that puts a file's bytes on the disk before it
// replaces the target (nullptr: fsync). A disk that fails only there cannot
// be had in a test.
void setSyncForTesting(int (*sync)(int fd));

} // namespace tav
