// Saving onto a disk that refuses the bytes: the kernel itself fails the
// writes, through a file size limit on this process (EFBIG) or a small
// tmpfs filled to the last block (ENOSPC). Every kind of file the program
// writes is saved over an old file through its window's own command; the old
// file keeps its bytes, one box tells of it (a composed picture whose pieces
// were refused as well has its composing print's box first) and no
// temporary file is left.

#include "common/errors.h"
#include "common/messages.h"
#include "common/program.h"
#include "graphs/graphpage.h"
#include "measures/form11.h"
#include "output/fprintpp.h"
#include "outputkit.h"
#include "platform/controls.h"
#include "platform/grid.h"
#include "shell/form1.h"
#include "shell/topics.h"
#include "testmain.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <utility>

using namespace tav;
using tav::test::OutputFixture;

namespace {

enum Kind { PageText, GraphTable, RunTable, ResultsReport, ChartBitmap, WindowBitmap, PrintPicture };
// How much a text file holds: under Qt's 16 KiB write buffer, or a few
// buffers. Bitmaps are as large as their picture.
enum Size { UnderTheBuffer, SeveralBuffers };

constexpr qint64 kKiB = 1024;

const QByteArray kOld("the old file, kept whole\r\n");

struct KindInfo {
    const char* name;
    Kind kind;
    const char* ext;
};

const KindInfo kKinds[] = {
    {"Form1 page text", PageText, "doc"},      {"graph table", GraphTable, "txt"},
    {"Form4 run table", RunTable, "txt"},      {"Form11 results report", ResultsReport, "doc"},
    {"chart bitmap", ChartBitmap, "bmp"},      {"window bitmap", WindowBitmap, "bmp"},
    {"print picture", PrintPicture, "bmp"},
};

QByteArray contents(const QString& file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

bool writeFile(const QString& file, const QByteArray& bytes)
{
    QFile f(file);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && f.flush();
}

// About `bytes` of readable text.
QString filler(qint64 bytes)
{
    const QString line = QStringLiteral("Sampled units inspected for the presence of the pest. ");
    QString s;
    while (s.size() < bytes)
        s += line;
    s.truncate(bytes);
    return s;
}

qint64 textBytes(Size size) { return size == UnderTheBuffer ? 8 * kKiB : 40 * kKiB; }

// A grid of about `bytes` of text, its heading row kept.
void fillGrid(Grid* grid, qint64 bytes)
{
    const int cols = qMax(2, grid->cols());
    const int rows = int(bytes / (cols * 8)) + 1;
    grid->setCols(cols);
    grid->setRows(rows);
    for (int r = 1; r < rows; ++r) {
        grid->setRow(r);
        for (int c = 0; c < cols; ++c) {
            grid->setCol(c);
            grid->setText(QString::number(r * 0.25 + c, 'f', 3));
        }
    }
}

// The window whose command writes `kind`, made ready to write about
// `size`, and the title its save's box carries.
struct Ready {
    Form* page = nullptr;
    QString command; // the button that saves
    QString title;
};

Ready prepare(OutputFixture& f, Kind kind, Size size)
{
    Ready r;
    switch (kind) {
    case PageText: {
        Form& p = form1();
        p.show();
        p.ctl<QLabel>(QStringLiteral("Label2"))->setText(filler(textBytes(size)));
        r = {&p, QStringLiteral("Image8"), QStringLiteral("Error saving Form1")};
        break;
    }
    case GraphTable: {
        Form& p = windowNamed(QStringLiteral("FGrafico1"));
        p.show();
        mostratabela(p);
        fillGrid(p.ctl<Grid>(QStringLiteral("Grid1")), textBytes(size));
        r = {&p, QStringLiteral("Image8"), QStringLiteral("Error exporting grid")};
        break;
    }
    case RunTable: {
        Form& p = windowNamed(QStringLiteral("Form4"));
        p.show();
        p.ctl(QStringLiteral("Picture3"))->hide();
        p.ctl(QStringLiteral("Grid1"))->show();
        fillGrid(p.ctl<Grid>(QStringLiteral("Grid1")), textBytes(size));
        r = {&p, QStringLiteral("Image8"), QStringLiteral("Error exporting grid")};
        break;
    }
    case ResultsReport: {
        Form11& p = formRef<Form11>();
        p.show();
        p.ctl(QStringLiteral("Picture10"))->show();
        p.ctl<Label>(QStringLiteral("Label24"), 17)->setText(filler(textBytes(size)));
        r = {&p, QStringLiteral("Image8"), QStringLiteral("Error savinf Form11")};
        break;
    }
    case ChartBitmap: {
        Form& p = windowNamed(QStringLiteral("FGrafico1"));
        p.show();
        r = {&p, QStringLiteral("Image8"), QStringLiteral("Error Saving Graph")};
        break;
    }
    case WindowBitmap: {
        Form& p = windowNamed(QStringLiteral("Form4"));
        p.show();
        p.ctl(QStringLiteral("Grid1"))->hide();
        p.ctl(QStringLiteral("Picture3"))->show();
        r = {&p, QStringLiteral("Image8"), QStringLiteral("Error saving Form4")};
        break;
    }
    case PrintPicture: {
        Form& p = form1();
        p.show();
        r = {&p, QStringLiteral("Image7"), QStringLiteral("Error printing form")};
        break;
    }
    }
    f.msgs.clear();
    return r;
}

// Runs the window's command, the Save dialog answered with `name`.
void run(OutputFixture& f, const Ready& r, Kind kind, const QString& name)
{
    if (kind != PrintPicture)
        f.dialogs.answerSave(name);
    test::click(r.page->ctl(r.command));
}

// Where the file of `kind` goes in `dir`: the print picture has its own
// place.
QString target(Kind kind, const QString& dir)
{
    if (kind == PrintPicture)
        return tempPictureFile();
    return dir + QStringLiteral("/old.") + QLatin1String(kKinds[kind].ext);
}

// A small tmpfs mounted on a folder for as long as it lives; declared after
// the temporary folder it sits in, it is unmounted before that folder is
// removed (a mounted folder cannot be).
class TmpfsMount {
public:
    explicit TmpfsMount(const QString& dir) : dir_(QFile::encodeName(dir))
    {
        if (mount("tmpfs", dir_.constData(), "tmpfs", MS_NOSUID | MS_NODEV, "size=64k") != 0)
            error_ = errno;
    }
    ~TmpfsMount()
    {
        // Lazily when something still holds it: the folder is free at once.
        if (!error_ && umount(dir_.constData()) != 0)
            umount2(dir_.constData(), MNT_DETACH);
    }
    TmpfsMount(const TmpfsMount&) = delete;
    TmpfsMount& operator=(const TmpfsMount&) = delete;
    // 0 once mounted.
    int error() const { return error_; }

private:
    QByteArray dir_;
    int error_ = 0;
};

// The entries of `dir` other than `keep`.
QStringList others(const QString& dir, const QStringList& keep)
{
    QStringList left = QDir(dir).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden | QDir::System);
    for (const QString& k : keep)
        left.removeAll(k);
    return left;
}

} // namespace

class TestFullDisk : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void fileSizeLimit_data();
    void fileSizeLimit();
    void fullTmpfs_data();
    void fullTmpfs();

private:
    // The size of the file of `kind` saved whole.
    void measure(Kind kind, Size size, qint64& whole);
    // Saves `kind` over an old file in `dir`, after `refuse` had the kernel
    // refuse the new bytes. The boxes' titles are `boxes`, or the save's own
    // title alone.
    void saveOverOldFile(Kind kind, Size size, const QString& dir, const std::function<void()>& refuse,
                         const QStringList& boxes = {});
    // The temporary folders of the row, gone once it ended.
    QStringList folders_;
};

void TestFullDisk::initTestCase() { signal(SIGXFSZ, SIG_IGN); }

void TestFullDisk::init()
{
    // A folder that cannot be removed is left in the system's temporary
    // folder for good.
    QTest::failOnWarning(QRegularExpression(QStringLiteral("^QTemporaryDir: Unable to remove")));
}

void TestFullDisk::cleanup()
{
    test::unlimitedFileSize();
    const QStringList folders = std::exchange(folders_, {});
    for (const QString& folder : folders)
        QVERIFY2(!QFileInfo::exists(folder), qPrintable(folder + QStringLiteral(" was left behind")));
}

void TestFullDisk::measure(Kind kind, Size size, qint64& whole)
{
    OutputFixture f;
    QTemporaryDir ref;
    folders_ << ref.path();
    const QString name = ref.filePath(QStringLiteral("whole.bin"));
    const Ready r = prepare(f, kind, size);
    run(f, r, kind, name);
    QCOMPARE(f.msgs.count(), 0);
    whole = QFileInfo(kind == PrintPicture ? tempPictureFile() : name).size();
    // Closing the print set-up deletes the picture.
    fprintpp().unload();
    QVERIFY(whole > 0);
}

void TestFullDisk::saveOverOldFile(Kind kind, Size size, const QString& dir, const std::function<void()>& refuse,
                                   const QStringList& boxes)
{
    OutputFixture f;
    const QString name = target(kind, dir);
    const QString folder = QFileInfo(name).absolutePath();
    QVERIFY(writeFile(name, kOld));
    const Ready r = prepare(f, kind, size);
    // Ignore goes on with every later step, where a second box would show;
    // after the print picture it would open the print set-up on the old one.
    for (int i = 0; i < 30; ++i)
        f.msgs.answer(kind == PrintPicture ? IdAbort : IdIgnore);
    refuse();
    if (QTest::currentTestFailed())
        return;
    run(f, r, kind, name);
    test::unlimitedFileSize();

    QCOMPARE(contents(name), kOld);
    QCOMPARE(others(folder, {QFileInfo(name).fileName(), QStringLiteral("filler")}), QStringList());
    // Nor beside the temporary picture, which a composed picture passes
    // through.
    QCOMPARE(others(privateTempDir(), {QStringLiteral("tmp.bmp"), QStringLiteral("filler")}), QStringList());
    QStringList titles;
    for (const auto& b : std::as_const(f.msgs.boxes)) {
        titles << b.title;
        QCOMPARE(b.text, QStringLiteral("Path/File access error\rReload and try again"));
    }
    QCOMPARE(titles, boxes.isEmpty() ? QStringList{r.title} : boxes);
    fprintpp().unload();
}

void TestFullDisk::fileSizeLimit_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("size");
    QTest::addColumn<qint64>("limit"); // negative: that far below the whole file's size
    const struct {
        const char* name;
        Size size;
        qint64 limit;
    } limits[] = {
        {"first byte", UnderTheBuffer, 0},
        {"under the buffer", UnderTheBuffer, 4 * kKiB},
        {"past the buffer, within a write", SeveralBuffers, 20 * kKiB},
        {"past the buffer, the last byte", SeveralBuffers, -1},
    };
    for (const auto& k : kKinds)
        for (const auto& l : limits)
            QTest::newRow(qPrintable(QStringLiteral("%1, %2").arg(QLatin1String(k.name), QLatin1String(l.name))))
                << int(k.kind) << int(l.size) << l.limit;
}

void TestFullDisk::fileSizeLimit()
{
    QFETCH(int, kind);
    QFETCH(int, size);
    QFETCH(qint64, limit);
    qint64 whole = 0;
    measure(Kind(kind), Size(size), whole);
    if (QTest::currentTestFailed())
        return;
    const bool text = Kind(kind) < ChartBitmap;
    if (text && Size(size) == UnderTheBuffer)
        QVERIFY2(whole < 16 * kKiB, qPrintable(QString::number(whole)));
    const qint64 at = limit < 0 ? whole + limit : limit;
    if (Size(size) == SeveralBuffers)
        QVERIFY2(at > 16 * kKiB, qPrintable(QString::number(at)));
    // The limit cuts the new file; the old one lies below it.
    QVERIFY2(at > qint64(kOld.size()) || at == 0, qPrintable(QString::number(at)));
    QVERIFY2(at < whole, qPrintable(QStringLiteral("limit %1, file %2").arg(at).arg(whole)));
    // The limit holds for every file: a composed picture's pieces, passed
    // through the temporary picture file, are refused too when they are
    // larger, and the composing print says so in its own box before the
    // save does.
    QStringList boxes;
    if (Kind(kind) == WindowBitmap && limit >= 0)
        boxes = QStringList{QStringLiteral("Error printing Form4"), QStringLiteral("Error saving Form4")};
    QTemporaryDir dir;
    folders_ << dir.path();
    saveOverOldFile(Kind(kind), Size(size), dir.path(), [&] { QVERIFY(test::limitFileSize(at)); }, boxes);
}

void TestFullDisk::fullTmpfs_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("size");
    QTest::addColumn<qint64>("free"); // blocks
    for (const auto& k : kKinds) {
        QTest::newRow(qPrintable(QStringLiteral("%1, no block free").arg(QLatin1String(k.name))))
            << int(k.kind) << int(UnderTheBuffer) << qint64(0);
        QTest::newRow(qPrintable(QStringLiteral("%1, two blocks free").arg(QLatin1String(k.name))))
            << int(k.kind) << int(SeveralBuffers) << qint64(2);
    }
}

void TestFullDisk::fullTmpfs()
{
    QFETCH(int, kind);
    QFETCH(int, size);
    QFETCH(qint64, free);
    if (geteuid() != 0)
        QSKIP("Mounting a small tmpfs needs root; the file size limit test covers the rest");
    qint64 whole = 0;
    measure(Kind(kind), Size(size), whole);
    if (QTest::currentTestFailed())
        return;
    QTemporaryDir base;
    folders_ << base.path();
    // The print picture's own folder is the full disk in its case.
    const QString dir = Kind(kind) == PrintPicture ? privateTempDir() : base.filePath(QStringLiteral("full"));
    QVERIFY(QDir().mkpath(dir));
    const TmpfsMount disk(dir);
    if (disk.error())
        QSKIP(qPrintable(QStringLiteral("Cannot mount a tmpfs here: ") + QString::fromLocal8Bit(strerror(disk.error()))));
    saveOverOldFile(Kind(kind), Size(size), dir, [&] {
        // Filled to the last block beside the old file, then the blocks
        // asked for freed again.
        const int fd = ::open(QFile::encodeName(dir + QStringLiteral("/filler")).constData(),
                              O_WRONLY | O_CREAT | O_TRUNC, 0600);
        QVERIFY(fd >= 0);
        const QByteArray block(4096, 'f');
        off_t filled = 0;
        ssize_t n = 0;
        while ((n = ::write(fd, block.constData(), size_t(block.size()))) > 0)
            filled += n;
        const int writeErr = errno;
        struct statvfs vfs {};
        fstatvfs(fd, &vfs);
        const qint64 blockSize = qint64(vfs.f_frsize);
        const bool freed = ftruncate(fd, off_t(filled - free * blockSize)) == 0 && fstatvfs(fd, &vfs) == 0;
        ::close(fd);
        QCOMPARE(writeErr, ENOSPC);
        QVERIFY(freed);
        QCOMPARE(qint64(vfs.f_bavail), free);
        QVERIFY2(free * blockSize < whole, qPrintable(QString::number(whole)));
    });
}

TAV_TEST_MAIN(TestFullDisk)
#include "tst_fulldisk.moc"
