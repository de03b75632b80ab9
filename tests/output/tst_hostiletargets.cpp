// Saving and printing to a file onto targets that are not plain files, or
// that belong to someone else: a device node, a FIFO, a link another user
// planted in a shared sticky folder, a read-only file, another user's file,
// a full disk. Each gets at most one box, the old file or node stays as it
// was (bytes, kind, mode, owner), nothing freezes, and nothing is written
// outside the folder chosen. The private folder of the print picture is
// found elsewhere when the temporary folder cannot take it, and a signal
// that ends the program takes it away.

#include "common/errors.h"
#include "common/messages.h"
#include "common/program.h"
#include "common/tabelaimp.h"
#include "output/canvas.h"
#include "output/fprintpp.h"
#include "output/fprintpreview.h"
#include "outputkit.h"
#include "platform/actions.h"
#include "platform/controls.h"
#include "shell/app.h"
#include "shell/form1.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <memory>
#include <cerrno>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <pwd.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>
#include <thread>
#include <unistd.h>

using namespace tav;
using tav::test::OutputFixture;

namespace {

const QByteArray kOld("the old file, kept whole\r\n");

enum Action { SaveText, PrintPicture, PrintTable };
const char* const kActionNames[] = {"Form1 save", "print set-up to PDF", "table preview to PDF"};

QByteArray path(const QString& s) { return QFile::encodeName(s); }

QByteArray contents(const QString& file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

bool writeFile(const QString& file, const QByteArray& bytes, mode_t mode = 0644)
{
    QFile f(file);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && f.flush()
        && ::chmod(path(file).constData(), mode) == 0;
}

struct stat lstatOf(const QString& file)
{
    struct stat st {};
    if (::lstat(path(file).constData(), &st) != 0)
        st.st_mode = 0;
    return st;
}

// Every entry below `dir` with its kind, size and owner, but `except`.
QStringList tree(const QString& dir, const QString& except = {})
{
    QStringList out;
    QDirIterator it(dir, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString f = it.next();
        if (f == except)
            continue;
        const struct stat st = lstatOf(f);
        out << QStringLiteral("%1 %2 %3 %4 %5")
                   .arg(f)
                   .arg(st.st_mode, 0, 8)
                   .arg(S_ISREG(st.st_mode) ? qint64(st.st_size) : 0)
                   .arg(st.st_uid)
                   .arg(st.st_gid);
    }
    out.sort();
    return out;
}

uid_t nobodyUid(gid_t* gid = nullptr)
{
    const passwd* pw = ::getpwnam("nobody");
    if (!pw)
        return uid_t(-1);
    if (gid)
        *gid = pw->pw_gid;
    return pw->pw_uid;
}

// Ends a wait that no timer can end (a GUI thread blocked in the kernel):
// after `seconds` it runs `unblock` on a thread of its own and notes that
// it had to.
class Watchdog {
public:
    Watchdog(int seconds, std::function<void()> unblock) : unblock_(std::move(unblock))
    {
        thread_ = std::thread([this, seconds] {
            std::unique_lock<std::mutex> lock(mutex_);
            if (!done_cv_.wait_for(lock, std::chrono::seconds(seconds), [this] { return done_; })) {
                fired_ = true;
                lock.unlock();
                if (unblock_)
                    unblock_();
            }
        });
    }
    ~Watchdog() { stop(); }
    void stop()
    {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            done_ = true;
        }
        done_cv_.notify_all();
        if (thread_.joinable())
            thread_.join();
    }
    bool fired() const { return fired_; }

private:
    std::function<void()> unblock_;
    std::mutex mutex_;
    std::condition_variable done_cv_;
    bool done_ = false;
    std::atomic<bool> fired_{false};
    std::thread thread_;
};

// A reader for a FIFO, for a bounded time: lets a writer blocked on it go.
void drainFifo(const QByteArray& fifo)
{
    const int fd = ::open(fifo.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return;
    char buf[65536];
    for (int rounds = 0; rounds < 200; ++rounds) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 50) > 0 && ::read(fd, buf, sizeof buf) == 0 && rounds > 20)
            break;
    }
    ::close(fd);
}

// The printer dialog as a user fills it in for "Print to file (PDF)".
class PdfFileDialogs : public ScriptedDialogs {
public:
    explicit PdfFileDialogs(QString file) : file_(std::move(file)) {}
    bool showPrinter(QWidget* parent, int flags, const QString& title, PrintChoice& choice) override
    {
        if (!ScriptedDialogs::showPrinter(parent, flags, title, choice))
            return false;
        choice.file = file_;
        return true;
    }

private:
    QString file_;
};

void fillTable()
{
    TabelaImp& t = tabelaimp();
    t.clear();
    t.imptitulo = QStringLiteral("Sample size");
    t.impsubtitulo = QStringLiteral("Confidence level");
    t.implinhas = 40;
    t.impcolunas = 2;
    for (int i = 0; i <= 40; ++i) {
        t.setImprotulo(i, QString::number(i));
        for (int j = 0; j <= 2; ++j)
            t.setImpcelula(j, i, i * 10 + j);
    }
}

// Runs `action` onto `file` the way a user does, through the window's own
// buttons and dialogs; the boxes go to the fixture. `armed` runs just
// before the last click.
void act(OutputFixture& f, Action action, const QString& file, const std::function<void()>& armed = {})
{
    switch (action) {
    case SaveText: {
        Form& p = form1();
        p.show();
        f.dialogs.answerSave(file);
        if (armed)
            armed();
        test::click(p.ctl(QStringLiteral("Image8")));
        break;
    }
    case PrintPicture:
    case PrintTable: {
        SystemPrinter pdf;
        PdfFileDialogs d(file);
        setDialogs(&d);
        setPrinter(&pdf);
        // The fixture's own again, however this ends.
        const std::unique_ptr<void, std::function<void(void*)>> restore(&f, [&f](void*) {
            setPrinter(&f.paper);
            setDialogs(&f.dialogs);
        });
        if (action == PrintPicture) {
            QImage img(200, 300, QImage::Format_RGB32);
            img.fill(Qt::red);
            QVERIFY(img.save(tempPictureFile(), "BMP"));
            canvas()->resize(200, 300);
            FprintPP& w = fprintpp();
            w.show();
            if (armed)
                armed();
            test::click(w.ctl(QStringLiteral("Command1")));
            w.unload();
        } else {
            fillTable();
            FPrintPreview& w = fprintpreview();
            w.show();
            // Configure names the file, Print prints.
            test::click(w.ctl(QStringLiteral("Command2")));
            if (armed)
                armed();
            test::click(w.ctl(QStringLiteral("Command3")));
            w.unload();
        }
        QVERIFY(!pdf.active());
        break;
    }
    }
}

QString titleOf(Action action)
{
    switch (action) {
    case SaveText: return QStringLiteral("Error saving Form1");
    case PrintPicture: return QStringLiteral("Error FPrintPP");
    case PrintTable: return QStringLiteral("Error PrintPreView");
    }
    return {};
}

QString extOf(Action action) { return action == SaveText ? QStringLiteral("doc") : QStringLiteral("pdf"); }

// The new file as a whole: the page text, or a PDF.
bool wholeNewFile(Action action, const QString& file)
{
    const QByteArray bytes = contents(file);
    if (action == SaveText)
        return bytes.startsWith(form1().ctl<QLabel>(QStringLiteral("Label4"))->text().toLocal8Bit());
    return bytes.startsWith("%PDF-") && bytes.trimmed().endsWith("%%EOF");
}

} // namespace

class TestHostileTargets : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void targets_data();
    void targets();
    void realBoxOnAFifo_data();
    void realBoxOnAFifo();
    void pdfOnFullDisk_data();
    void pdfOnFullDisk();
    void privateFolder_data();
    void privateFolder();
    void signalsEndCleanly_data();
    void signalsEndCleanly();

private:
    QStringList mounts_;
    QByteArray tmpdir_;
};

enum Kind {
    DeviceNode,
    Fifo,
    PlantedLink,
    PlantedDanglingLink,
    OwnLinkInSharedFolder,
    OthersLinkInOwnFolder,
    ReadOnlyFile,
    OthersFile
};

void TestHostileTargets::initTestCase()
{
    signal(SIGXFSZ, SIG_IGN);
    tmpdir_ = qgetenv("TMPDIR");
}

void TestHostileTargets::cleanup()
{
    test::unlimitedFileSize();
    for (const QString& m : std::as_const(mounts_))
        if (umount(path(m).constData()) != 0)
            umount2(path(m).constData(), MNT_DETACH);
    mounts_.clear();
    if (tmpdir_.isNull())
        qunsetenv("TMPDIR");
    else
        qputenv("TMPDIR", tmpdir_);
}

void TestHostileTargets::targets_data()
{
    QTest::addColumn<int>("action");
    QTest::addColumn<int>("kind");
    const struct {
        const char* name;
        Kind kind;
    } kinds[] = {
        {"device node c 1 7", DeviceNode},
        {"FIFO without a reader", Fifo},
        {"link planted by another user in a sticky folder", PlantedLink},
        {"dangling link planted by another user in a sticky folder", PlantedDanglingLink},
        {"own link in a sticky folder", OwnLinkInSharedFolder},
        {"another user's link in one's own folder", OthersLinkInOwnFolder},
        {"read-only file", ReadOnlyFile},
        {"another user's file", OthersFile},
    };
    for (int a : {SaveText, PrintPicture, PrintTable})
        for (const auto& k : kinds)
            QTest::newRow(qPrintable(QStringLiteral("%1, %2").arg(QLatin1String(kActionNames[a]),
                                                                   QLatin1String(k.name))))
                << a << int(k.kind);
}

void TestHostileTargets::targets()
{
    QFETCH(int, action);
    QFETCH(int, kind);
    const Action act_ = Action(action);
    const bool root = ::geteuid() == 0;
    gid_t nobodyGid = 0;
    const uid_t nobody = nobodyUid(&nobodyGid);
    switch (Kind(kind)) {
    case DeviceNode:
        if (!root)
            QSKIP("Making a device node needs root");
        break;
    case PlantedLink:
    case PlantedDanglingLink:
    case OthersLinkInOwnFolder:
    case OthersFile:
        if (!root)
            QSKIP("Giving a file to another user needs root");
        if (nobody == uid_t(-1))
            QSKIP("No user nobody here");
        break;
    default: break;
    }
    OutputFixture f;
    QTemporaryDir top;
    // The folder the user chooses, and where a planted link points to.
    const QString dir = top.filePath(QStringLiteral("chosen"));
    const QString elsewhere = top.filePath(QStringLiteral("elsewhere"));
    QVERIFY(QDir().mkpath(dir) && QDir().mkpath(elsewhere));
    QString name = dir + QStringLiteral("/report.") + extOf(act_);
    // What must be found there afterwards: the file itself (its bytes,
    // kind, mode and owner), or the file a link leads to.
    QString kept = name;
    bool refused = true;
    mode_t keptMode = 0;
    uid_t keptUid = ::geteuid();
    gid_t keptGid = ::getegid();
    switch (Kind(kind)) {
    case DeviceNode:
        QVERIFY(::mknod(path(name).constData(), S_IFCHR | 0600, makedev(1, 7)) == 0);
        keptMode = S_IFCHR | 0600;
        break;
    case Fifo:
        QVERIFY(::mkfifo(path(name).constData(), 0600) == 0);
        keptMode = S_IFIFO | 0600;
        break;
    case PlantedLink:
    case PlantedDanglingLink:
    case OwnLinkInSharedFolder:
    case OthersLinkInOwnFolder: {
        if (Kind(kind) != OthersLinkInOwnFolder)
            QVERIFY(::chmod(path(dir).constData(), 01777) == 0);
        kept = elsewhere + QStringLiteral("/victim.") + extOf(act_);
        if (Kind(kind) != PlantedDanglingLink) {
            QVERIFY(writeFile(kept, kOld, 0600));
            keptMode = S_IFREG | 0600;
        }
        QVERIFY(::symlink(path(kept).constData(), path(name).constData()) == 0);
        // Only a folder anyone may write makes a stranger's link suspect.
        refused = Kind(kind) == PlantedLink || Kind(kind) == PlantedDanglingLink;
        if (Kind(kind) != OwnLinkInSharedFolder)
            QVERIFY(::lchown(path(name).constData(), nobody, nobodyGid) == 0);
        break;
    }
    case ReadOnlyFile:
        QVERIFY(writeFile(name, kOld, 0444));
        keptMode = S_IFREG | 0444;
        // Only root may replace what it may not write in place.
        refused = !root;
        break;
    case OthersFile:
        QVERIFY(writeFile(name, kOld, 0640));
        QVERIFY(::chown(path(name).constData(), nobody, nobodyGid) == 0);
        keptMode = S_IFREG | 0640;
        keptUid = nobody;
        keptGid = nobodyGid;
        refused = false;
        break;
    }
    const QStringList before = tree(top.path(), kept);
    const struct stat linkBefore = lstatOf(name);
    for (int i = 0; i < 10; ++i)
        f.msgs.answer(IdAbort);

    {
        // A FIFO with no reader would hold the GUI thread in the kernel;
        // a reader comes after a while and the case fails.
        Watchdog dog(15, [n = path(name)] { drainFifo(n); });
        act(f, act_, name);
        dog.stop();
        QVERIFY2(!dog.fired(), "The program froze on the target");
    }
    if (QTest::currentTestFailed())
        return;

    if (refused) {
        QCOMPARE(f.msgs.count(), 1);
        QCOMPARE(f.msgs.last().title, titleOf(act_));
        QCOMPARE(f.msgs.last().text, QStringLiteral("Path/File access error\rReload and try again"));
    } else {
        QCOMPARE(f.msgs.count(), 0);
    }
    // The link, if any, is still the link it was.
    const struct stat linkAfter = lstatOf(name);
    QCOMPARE(linkAfter.st_mode, linkBefore.st_mode);
    QCOMPARE(linkAfter.st_rdev, linkBefore.st_rdev);
    if (Kind(kind) == PlantedDanglingLink) {
        QVERIFY(!QFileInfo::exists(kept));
    } else {
        const struct stat st = lstatOf(kept);
        QCOMPARE(QString::number(st.st_mode, 8), QString::number(keptMode, 8));
        QCOMPARE(st.st_uid, keptUid);
        QCOMPARE(st.st_gid, keptGid);
        if (S_ISREG(st.st_mode)) {
            if (refused)
                QCOMPARE(contents(kept), kOld);
            else
                QVERIFY2(wholeNewFile(act_, kept), contents(kept).left(40).constData());
        }
    }
    // Nothing else written, no temporary file left.
    QCOMPARE(tree(top.path(), kept), before);
}

void TestHostileTargets::realBoxOnAFifo_data()
{
    QTest::addColumn<int>("action");
    for (int a : {SaveText, PrintPicture, PrintTable})
        QTest::newRow(kActionNames[a]) << a;
}

// The program's own box, shown by Qt in its own loop and answered there by
// a timer: one box, and the program neither waits on the FIFO nor asks
// again.
void TestHostileTargets::realBoxOnAFifo()
{
    QFETCH(int, action);
    OutputFixture f;
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("pipe.") + extOf(Action(action)));
    QVERIFY(::mkfifo(path(name).constData(), 0600) == 0);
    setMessages(nullptr);
    const std::unique_ptr<void, std::function<void(void*)>> scripted(&f, [&f](void*) { setMessages(&f.msgs); });
    QStringList seen;
    QTimer answer;
    answer.setInterval(20);
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        seen << box->windowTitle() + QLatin1Char('|') + box->text();
        // A storm of boxes ends here all the same, after a few.
        for (QAbstractButton* b : box->buttons())
            if (b->text() == QLatin1String("&Abort") || seen.size() > 5)
                return b->click();
    });
    answer.start();
    Watchdog dog(15, [n = path(name)] { drainFifo(n); });
    act(f, Action(action), name);
    dog.stop();
    answer.stop();
    QVERIFY2(!dog.fired(), "The program froze on the FIFO");
    QCOMPARE(seen, QStringList{titleOf(Action(action)) + QStringLiteral("|Path/File access error\nReload and try again")});
    QVERIFY(S_ISFIFO(lstatOf(name).st_mode));
}

void TestHostileTargets::pdfOnFullDisk_data()
{
    QTest::addColumn<int>("action");
    QTest::addColumn<bool>("tmpfs");
    for (int a : {PrintPicture, PrintTable}) {
        QTest::newRow(qPrintable(QStringLiteral("%1, file size limit").arg(QLatin1String(kActionNames[a]))))
            << a << false;
        QTest::newRow(qPrintable(QStringLiteral("%1, full tmpfs").arg(QLatin1String(kActionNames[a])))) << a << true;
    }
}

// The kernel refuses the PDF's bytes: one box, the old PDF whole.
void TestHostileTargets::pdfOnFullDisk()
{
    QFETCH(int, action);
    QFETCH(bool, tmpfs);
    if (tmpfs && ::geteuid() != 0)
        QSKIP("Mounting a small tmpfs needs root; the file size limit case covers the rest");
    OutputFixture f;
    QTemporaryDir top;
    const QString dir = top.filePath(QStringLiteral("disk"));
    QVERIFY(QDir().mkpath(dir));
    if (tmpfs) {
        if (mount("tmpfs", path(dir).constData(), "tmpfs", MS_NOSUID | MS_NODEV, "size=64k") != 0)
            QSKIP(qPrintable(QStringLiteral("Cannot mount a tmpfs here: ") + QString::fromLocal8Bit(strerror(errno))));
        mounts_ << dir;
    }
    // Unmounted before the folder above it goes.
    const std::unique_ptr<void, std::function<void(void*)>> unmount(this, [this](void*) { cleanup(); });
    const QString name = dir + QStringLiteral("/old.pdf");
    QVERIFY(writeFile(name, kOld));
    if (tmpfs) {
        const int fd = ::open(path(dir + QStringLiteral("/filler")).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        QVERIFY(fd >= 0);
        const QByteArray block(4096, 'f');
        while (::write(fd, block.constData(), size_t(block.size())) > 0) {
        }
        const int err = errno;
        ::close(fd);
        QCOMPARE(err, ENOSPC);
    }
    for (int i = 0; i < 10; ++i)
        f.msgs.answer(IdAbort);
    const QStringList before = tree(dir, name);
    act(f, Action(action), name, [&] {
        if (!tmpfs)
            QVERIFY(test::limitFileSize(1024));
    });
    test::unlimitedFileSize();
    QCOMPARE(f.msgs.count(), 1);
    QCOMPARE(f.msgs.last().title, titleOf(Action(action)));
    QCOMPARE(f.msgs.last().text, QStringLiteral("Path/File access error\rReload and try again"));
    QCOMPARE(contents(name), kOld);
    QCOMPARE(tree(dir, name), before);
}

void TestHostileTargets::privateFolder_data()
{
    QTest::addColumn<QString>("tmpdir"); // below the test's folder; "" for none
    QTest::addColumn<bool>("runtime");   // the runtime folder can take it
    QTest::addColumn<bool>("cache");     // the cache folder can take it
    QTest::newRow("TMPDIR missing") << "missing" << true << true;
    QTest::newRow("TMPDIR is a file") << "file" << true << true;
    QTest::newRow("TMPDIR missing, no runtime folder") << "missing" << false << true;
    QTest::newRow("nowhere") << "missing" << false << false;
}

// The print picture's folder is found elsewhere, or the print says once
// that it cannot be had; nothing goes into the root folder.
void TestHostileTargets::privateFolder()
{
    QFETCH(QString, tmpdir);
    QFETCH(bool, runtime);
    QFETCH(bool, cache);
    OutputFixture f;
    QTemporaryDir top;
    QVERIFY(writeFile(top.filePath(QStringLiteral("file")), kOld));
    const QStringList rootBefore = QDir(QStringLiteral("/")).entryList(QDir::AllEntries | QDir::Hidden | QDir::System);
    const QByteArray oldRuntime = qgetenv("XDG_RUNTIME_DIR");
    const QByteArray oldCache = qgetenv("XDG_CACHE_HOME");
    const QString runtimeDir = top.filePath(QStringLiteral("runtime"));
    const QString cacheDir = top.filePath(QStringLiteral("cache"));
    QVERIFY(QDir().mkpath(runtimeDir));
    QVERIFY(::chmod(path(runtimeDir).constData(), 0700) == 0);
    qputenv("TMPDIR", path(top.filePath(tmpdir)));
    if (runtime)
        qputenv("XDG_RUNTIME_DIR", path(runtimeDir));
    else
        qunsetenv("XDG_RUNTIME_DIR");
    // A cache below a file cannot be made.
    qputenv("XDG_CACHE_HOME", path(cache ? cacheDir : top.filePath(QStringLiteral("file/cache"))));
    dropPrivateTempDir();
    for (int i = 0; i < 10; ++i)
        f.msgs.answer(IdAbort);
    Form& p = form1();
    p.show();
    test::click(p.ctl(QStringLiteral("Image7")));
    const bool shown = fprintpp().visible();
    QString folder;
    {
        IgnoreErrors e;
        e.step([&] { folder = privateTempDir(); });
    }
    const mode_t folderMode = lstatOf(folder).st_mode & 07777;
    fprintpp().unload();
    const QStringList rootAfter = QDir(QStringLiteral("/")).entryList(QDir::AllEntries | QDir::Hidden | QDir::System);
    dropPrivateTempDir();
    qputenv("XDG_RUNTIME_DIR", oldRuntime);
    if (oldCache.isNull())
        qunsetenv("XDG_CACHE_HOME");
    else
        qputenv("XDG_CACHE_HOME", oldCache);
    // Whatever an old build left in the root is taken away again.
    for (const QString& e : rootAfter)
        if (!rootBefore.contains(e) && (e == QLatin1String("tmp.bmp") || e.startsWith(QLatin1String("tavrelo-"))))
            QDir(QStringLiteral("/") + e).removeRecursively(), QFile::remove(QStringLiteral("/") + e);
    QCOMPARE(rootAfter, rootBefore);
    if (runtime || cache) {
        QCOMPARE(f.msgs.count(), 0);
        QVERIFY(shown);
        QVERIFY2(folder.startsWith((runtime ? runtimeDir : cacheDir) + QLatin1Char('/')), qPrintable(folder));
        QCOMPARE(folderMode, mode_t(0700));
    } else {
        QCOMPARE(f.msgs.count(), 1);
        QCOMPARE(f.msgs.last().text.section(QLatin1Char('\r'), 0, 0), QStringLiteral("Path/File access error"));
        QVERIFY(!shown);
        QVERIFY(folder.isEmpty());
    }
}

void TestHostileTargets::signalsEndCleanly_data()
{
    QTest::addColumn<int>("sig");
    QTest::newRow("SIGTERM") << SIGTERM;
    QTest::newRow("SIGINT") << SIGINT;
    QTest::newRow("SIGHUP") << SIGHUP;
}

// The program, its print set-up showing, ends as Exit ends it: the private
// folder and its picture go. It runs in a child process, since the signal
// ends it.
void TestHostileTargets::signalsEndCleanly()
{
    QFETCH(int, sig);
    QTemporaryDir tmp;
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TMPDIR"), tmp.path());
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--print-until-signalled")});
    QVERIFY(child.waitForStarted(20000));
    QByteArray said;
    for (int i = 0; i < 60 && !said.contains('\n'); ++i)
        if (child.waitForReadyRead(1000))
            said += child.readAllStandardOutput();
    if (!said.startsWith("printing ")) {
        child.kill();
        child.waitForFinished(5000);
        QFAIL(said.constData());
    }
    const QString folder = QString::fromLocal8Bit(said.mid(9).trimmed());
    QVERIFY2(QFileInfo(folder).absolutePath() == tmp.path(), qPrintable(folder));
    QVERIFY(QFileInfo::exists(folder + QStringLiteral("/tmp.bmp")));
    ::kill(pid_t(child.processId()), sig);
    if (!child.waitForFinished(30000)) {
        child.kill();
        child.waitForFinished(5000);
        QFAIL("The program did not end");
    }
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QCOMPARE(child.exitCode(), 0);
    QCOMPARE(QDir(tmp.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
}

namespace {

// The child of signalsEndCleanly: the program with its print set-up
// showing, until a signal ends it.
int printUntilSignalled(int argc, char** argv)
{
    Application app(argc, argv);
    setupApplication(app);
    endOnSignals(app);
    Form& p = form1();
    p.show();
    test::click(p.ctl(QStringLiteral("Image7")));
    if (!fprintpp().visible()) {
        std::printf("no print set-up\n");
        return 2;
    }
    std::printf("printing %s\n", path(privateTempDir()).constData());
    std::fflush(stdout);
    return app.exec();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--print-until-signalled") == 0)
        return printUntilSignalled(argc, argv);
    Application app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    TestHostileTargets tc;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&tc, argc, argv);
}

#include "tst_hostiletargets.moc"
