#pragma once
// A print service of the test's own: cupsd in the foreground with a private
// configuration, spool and socket, so nothing of the machine's own service
// is read or changed. Its queues send every job to a backend that keeps the
// job's document and arguments in a folder, and their driver description
// reports unprintable margins, as an office printer's does.

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRectF>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <thread>
#include <cups/cups.h>
#include <csignal>
#include <netinet/in.h>
#include <sys/socket.h>
#include <vector>
#include <sys/prctl.h>
#include <unistd.h>

namespace tav::test {

// The margins the queues' driver reports, in points: left, top, right, bottom.
constexpr double kMarginLeft = 18, kMarginTop = 36, kMarginRight = 18, kMarginBottom = 36;

// One job as the backend kept it.
struct KeptJob {
    int id = 0;
    QString title;
    int copies = 0;
    QString options;
    QString pdf; // the document's file
};

// One word of a printed page, in points from the paper's top-left corner.
struct PrintedWord {
    QString text;
    QRectF box;
};
struct PrintedPage {
    QSizeF points;
    QList<PrintedWord> words;
};

class PrintService {
public:
    // Starts the service; false (with the reason) where it cannot run.
    bool start(QString* reason)
    {
        if (geteuid() != 0) {
            *reason = QStringLiteral("the print service runs only as root");
            return false;
        }
        const QString cupsd = QStandardPaths::findExecutable(QStringLiteral("cupsd"), {"/usr/sbin", "/sbin"});
        if (cupsd.isEmpty() || QStandardPaths::findExecutable(QStringLiteral("lpadmin"), {"/usr/sbin"}).isEmpty()
            || QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) {
            *reason = QStringLiteral("cupsd, lpadmin or pdftotext is not installed");
            return false;
        }
        // A short path: the socket's name must fit a socket address. The
        // service checks that its programs and their folders are root's and
        // not writable by others.
        root_ = QDir::tempPath() + QStringLiteral("/tavcups.") + QString::number(getpid());
        QDir(root_).removeRecursively();
        for (const char* d : {"", "/bin", "/bin/backend", "/spool", "/tmp", "/cache", "/state", "/log", "/jobs", "/ppd"})
            QDir().mkpath(root_ + QLatin1String(d));
        for (const char* d : {"", "/bin", "/bin/backend", "/jobs"})
            QFile::setPermissions(root_ + QLatin1String(d), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                                 | QFile::ReadGroup | QFile::ExeGroup
                                                                 | QFile::ReadOther | QFile::ExeOther);
        for (const char* d : {"filter", "daemon", "notifier", "cgi-bin", "driver", "monitor"})
            QFile::link(QStringLiteral("/usr/lib/cups/") + QLatin1String(d), root_ + QStringLiteral("/bin/") + QLatin1String(d));
        // Run as root (mode 700), it copies the document and its arguments.
        write(QStringLiteral("/bin/backend/keep"), QStringLiteral(
            "#!/bin/sh\n"
            "if [ $# -eq 0 ]; then echo 'direct keep \"Unknown\" \"Job keeper\"'; exit 0; fi\n"
            "dir=${DEVICE_URI#keep:}\n"
            "if [ -n \"$6\" ]; then cp \"$6\" \"$dir/job-$1.tmp\"; else cat > \"$dir/job-$1.tmp\"; fi\n"
            "printf '%s\\n' \"$@\" > \"$dir/job-$1.args\"\n"
            "mv \"$dir/job-$1.tmp\" \"$dir/job-$1.pdf\"\n"
            "exit 0\n"),
              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        write(QStringLiteral("/cupsd.conf"), QStringLiteral(
            "Listen %1\nLogLevel warn\nBrowsing No\nWebInterface No\nDefaultAuthType None\n"
            "<Location />\n Order allow,deny\n Allow all\n</Location>\n"
            "<Policy default>\n JobPrivateAccess all\n JobPrivateValues none\n SubscriptionPrivateAccess all\n"
            " SubscriptionPrivateValues none\n <Limit All>\n  Order allow,deny\n  Allow all\n </Limit>\n</Policy>\n")
                                             .arg(socket()));
        write(QStringLiteral("/cups-files.conf"), QStringLiteral(
            "ServerRoot %1\nServerBin %1/bin\nDataDir /usr/share/cups\nRequestRoot %1/spool\nTempDir %1/tmp\n"
            "CacheDir %1/cache\nStateDir %1/state\nAccessLog %1/log/access_log\nErrorLog %1/log/error_log\n"
            "PageLog %1/log/page_log\nSystemGroup root\n")
                                                  .arg(root_));
        write(QStringLiteral("/margins.ppd"), ppd());
        write(QStringLiteral("/colour.ppd"), ppd().replace(QStringLiteral("*DefaultResolution"), QStringLiteral(
            "*OpenUI *ColorModel/Color Mode: PickOne\n*OrderDependency: 10 AnySetup *ColorModel\n*DefaultColorModel: RGB\n"
            "*ColorModel RGB/Color: \"<</ProcessColorModel /DeviceRGB>>setpagedevice\"\n"
            "*ColorModel Gray/Grayscale: \"<</ProcessColorModel /DeviceGray>>setpagedevice\"\n"
            "*CloseUI: *ColorModel\n*DefaultResolution")));
        // The program and the commands below talk to this service alone,
        // and read no user's or machine's default printer.
        qputenv("CUPS_SERVER", socket().toLocal8Bit());
        qputenv("HOME", (root_ + QStringLiteral("/home")).toLocal8Bit());
        QDir().mkpath(root_ + QStringLiteral("/home/Documents"));
        qunsetenv("PRINTER");
        qunsetenv("LPDEST");
        cupsSetServer(socket().toLocal8Bit().constData());
        watchdog_ = std::thread([this] {
            while (!ending_) {
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
                if (frozen_ && std::chrono::steady_clock::now() - frozenAt_.load()
                                   > std::chrono::milliseconds(kFrozenAtMostMs))
                    thaw();
            }
        });
        return resume(reason);
    }

    // Starts the service again after stop(), with the queues it had.
    bool resume(QString* reason)
    {
        QFile::remove(socket());
        daemon_ = std::make_unique<QProcess>();
        daemon_->setProcessChannelMode(QProcess::MergedChannels);
        // A test that dies takes its service with it.
        daemon_->setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
        daemon_->start(QStringLiteral("/usr/sbin/cupsd"),
                       {QStringLiteral("-f"), QStringLiteral("-c"), root_ + QStringLiteral("/cupsd.conf"),
                        QStringLiteral("-s"), root_ + QStringLiteral("/cups-files.conf")});
        if (!daemon_->waitForStarted(10000)) {
            *reason = QStringLiteral("cupsd did not start");
            return false;
        }
        pid_ = pid_t(daemon_->processId());
        frozen_ = false;
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 15000) {
            if (QFileInfo::exists(socket()) && run(QStringLiteral("lpstat"), {QStringLiteral("-r")}).contains("is running"))
                return true;
            if (daemon_->state() == QProcess::NotRunning)
                break;
            QThread::msleep(50);
        }
        *reason = QStringLiteral("cupsd did not answer: ") + QString::fromLocal8Bit(daemon_->readAll());
        return false;
    }

    void stop()
    {
        if (!daemon_)
            return;
        // A stopped service hears no request to end.
        thaw();
        daemon_->terminate();
        if (!daemon_->waitForFinished(10000))
            daemon_->kill();
        daemon_->waitForFinished(5000);
        daemon_.reset();
        QFile::remove(socket());
    }

    ~PrintService()
    {
        ending_ = true;
        if (watchdog_.joinable())
            watchdog_.join();
        stop();
        if (!root_.isEmpty())
            QDir(root_).removeRecursively();
    }

    // Stops the service where it stands (SIGSTOP), as a service that hangs:
    // it takes connections and answers none until thawed.
    // A test that hangs while the service is stopped still ends: the
    // service goes on by itself after `kFrozenAtMostMs`. Safe from any thread.
    static constexpr int kFrozenAtMostMs = 20000;
    void freeze()
    {
        if (pid_ <= 0 || frozen_.exchange(true))
            return;
        frozenAt_ = std::chrono::steady_clock::now();
        ::kill(pid_, SIGSTOP);
    }
    void thaw()
    {
        if (pid_ > 0 && frozen_.exchange(false))
            ::kill(pid_, SIGCONT);
    }
    bool frozen() const { return frozen_; }

    QString socket() const { return root_ + QStringLiteral("/cups.sock"); }
    QString home() const { return root_ + QStringLiteral("/home"); }

    // A queue of the keeping backend with the margins' driver, or with the
    // colour driver, whose default is colour and which also prints grey;
    // `defaults` are its own ("orientation-requested-default=4").
    bool addQueue(const QString& name, const QStringList& defaults = {}, bool colourDriver = false)
    {
        QStringList args{QStringLiteral("-p"), name, QStringLiteral("-E"), QStringLiteral("-v"),
                         QStringLiteral("keep:") + root_ + QStringLiteral("/jobs"), QStringLiteral("-P"),
                         root_ + (colourDriver ? QStringLiteral("/colour.ppd") : QStringLiteral("/margins.ppd"))};
        for (const QString& d : defaults)
            args << QStringLiteral("-o") << d;
        run(QStringLiteral("lpadmin"), args);
        return run(QStringLiteral("lpstat"), {QStringLiteral("-p"), name}).contains(name.toUtf8());
    }

    // A command of the service's own (lpadmin, cupsreject, cupsdisable, ...)
    // against this service; what it printed.
    QByteArray run(const QString& command, QStringList args) const
    {
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        args.prepend(socket());
        args.prepend(QStringLiteral("-h"));
        p.start(QStandardPaths::findExecutable(command, {"/usr/sbin", "/usr/bin", "/sbin", "/bin"}), args);
        p.waitForFinished(20000);
        return p.readAll();
    }

    // The jobs the service holds that are not done (waiting or held).
    int waitingJobs(const QString& queue) const
    {
        const QByteArray out = run(QStringLiteral("lpstat"), {QStringLiteral("-o"), queue});
        return int(out.count('\n'));
    }

    // The jobs printed so far, in order; waits up to `waitMs` for `count`.
    QList<KeptJob> jobs(int count = 0, int waitMs = 15000) const
    {
        QElapsedTimer t;
        t.start();
        for (;;) {
            QList<KeptJob> out;
            const QDir d(root_ + QStringLiteral("/jobs"));
            for (const QFileInfo& f : d.entryInfoList({QStringLiteral("job-*.pdf")}, QDir::Files)) {
                KeptJob j;
                j.id = f.baseName().mid(4).toInt();
                j.pdf = f.absoluteFilePath();
                QFile args(d.filePath(QStringLiteral("job-%1.args").arg(j.id)));
                if (args.open(QIODevice::ReadOnly)) {
                    const QStringList a = QString::fromUtf8(args.readAll()).split(QLatin1Char('\n'));
                    j.title = a.value(2);
                    j.copies = a.value(3).toInt();
                    j.options = a.value(4);
                }
                out.append(j);
            }
            std::sort(out.begin(), out.end(), [](const KeptJob& a, const KeptJob& b) { return a.id < b.id; });
            if (out.size() >= count || t.elapsed() > waitMs)
                return out;
            QThread::msleep(50);
        }
    }

    // Forgets the jobs kept so far.
    void clearJobs() const
    {
        const QDir d(root_ + QStringLiteral("/jobs"));
        for (const QString& f : d.entryList(QDir::Files))
            QFile::remove(d.filePath(f));
    }

private:
    void write(const QString& name, const QString& text, QFile::Permissions mode = {})
    {
        QFile f(root_ + name);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(text.toUtf8());
        f.close();
        if (mode)
            f.setPermissions(mode);
    }

    static QString ppd()
    {
        // A4 and Letter with their printable areas (lower left, upper right,
        // in points from the paper's foot); PDF goes to the backend as it is.
        return QStringLiteral(
            "*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*FileVersion: \"1.0\"\n*LanguageVersion: English\n"
            "*LanguageEncoding: ISOLatin1\n*PCFileName: \"KEEP.PPD\"\n*Manufacturer: \"Test\"\n*Product: \"(Keeper)\"\n"
            "*ModelName: \"Job keeper\"\n*ShortNickName: \"Job keeper\"\n*NickName: \"Job keeper\"\n"
            "*PSVersion: \"(3010.000) 0\"\n*LanguageLevel: \"3\"\n*ColorDevice: True\n*DefaultColorSpace: RGB\n"
            "*FileSystem: False\n*Throughput: \"1\"\n*LandscapeOrientation: Plus90\n*TTRasterizer: Type42\n"
            "*cupsFilter: \"application/pdf 0 -\"\n"
            "*OpenUI *PageSize/Media Size: PickOne\n*OrderDependency: 10 AnySetup *PageSize\n*DefaultPageSize: A4\n"
            "*PageSize A4/A4: \"<</PageSize[595 842]>>setpagedevice\"\n"
            "*PageSize Letter/Letter: \"<</PageSize[612 792]>>setpagedevice\"\n*CloseUI: *PageSize\n"
            "*OpenUI *PageRegion: PickOne\n*OrderDependency: 10 AnySetup *PageRegion\n*DefaultPageRegion: A4\n"
            "*PageRegion A4/A4: \"<</PageSize[595 842]>>setpagedevice\"\n"
            "*PageRegion Letter/Letter: \"<</PageSize[612 792]>>setpagedevice\"\n*CloseUI: *PageRegion\n"
            "*DefaultImageableArea: A4\n*ImageableArea A4/A4: \"18 36 577 806\"\n"
            "*ImageableArea Letter/Letter: \"18 36 594 756\"\n"
            "*DefaultPaperDimension: A4\n*PaperDimension A4/A4: \"595 842\"\n*PaperDimension Letter/Letter: \"612 792\"\n"
            "*DefaultResolution: 300dpi\n");
    }

    QString root_;
    std::unique_ptr<QProcess> daemon_;
    pid_t pid_ = 0;
    std::atomic<bool> frozen_{false};
    std::atomic<std::chrono::steady_clock::time_point> frozenAt_{};
    std::atomic<bool> ending_{false};
    std::thread watchdog_;
};

// A print service at an address that drops connection attempts: it listens
// but never accepts, and its queue of connections waiting to be accepted
// is full, so a new connection is neither taken nor refused.
class DroppingListener {
public:
    bool start()
    {
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t n = sizeof a;
        if (fd_ < 0 || ::bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(fd_, 0) != 0
            || ::getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &n) != 0)
            return false;
        port_ = ntohs(a.sin_port);
        // Connections that fill the accept queue; the next one hangs.
        for (int i = 0; i < 4; ++i) {
            const int c = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
            ::connect(c, reinterpret_cast<sockaddr*>(&a), sizeof a);
            fillers_.push_back(c);
        }
        QThread::msleep(100);
        return true;
    }
    ~DroppingListener()
    {
        for (int c : fillers_)
            ::close(c);
        if (fd_ >= 0)
            ::close(fd_);
    }
    QString address() const { return QStringLiteral("127.0.0.1:%1").arg(port_); }

private:
    int fd_ = -1;
    int port_ = 0;
    std::vector<int> fillers_;
};

// The pages of a PDF with the words on them, read by the system's own PDF
// text reader.
inline QList<PrintedPage> printedPages(const QString& pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    p.waitForFinished(30000);
    const QString xml = QString::fromUtf8(p.readAllStandardOutput());
    QList<PrintedPage> pages;
    static const QRegularExpression page(QStringLiteral("<page width=\"([\\d.]+)\" height=\"([\\d.]+)\">"));
    static const QRegularExpression word(QStringLiteral(
        "<word xMin=\"([\\d.-]+)\" yMin=\"([\\d.-]+)\" xMax=\"([\\d.-]+)\" yMax=\"([\\d.-]+)\">([^<]*)</word>"));
    for (const QString& chunk : xml.split(QStringLiteral("</page>"))) {
        const auto m = page.match(chunk);
        if (!m.hasMatch())
            continue;
        PrintedPage pg{QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble()), {}};
        for (auto w = word.globalMatch(chunk); w.hasNext();) {
            const auto h = w.next();
            pg.words.append({h.captured(5), QRectF(QPointF(h.captured(1).toDouble(), h.captured(2).toDouble()),
                                                   QPointF(h.captured(3).toDouble(), h.captured(4).toDouble()))});
        }
        pages.append(pg);
    }
    return pages;
}

// The first page of a PDF as the system's own PDF renderer draws it.
inline QImage renderedPage(const QString& pdf, int dpi)
{
    QTemporaryDir dir;
    QProcess p;
    p.start(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QString::number(dpi),
                                         QStringLiteral("-singlefile"), pdf, dir.filePath(QStringLiteral("page"))});
    p.waitForFinished(30000);
    return QImage(dir.filePath(QStringLiteral("page.png")));
}

} // namespace tav::test
