// A window visited again and again leaves nothing behind. Every window is
// opened, given a typical action and closed the way a user closes it (File >
// Close, its close button, the close box), many times over, with the event
// loop running between visits so that destroyed windows are gone. After the
// first visits have filled what the program and Qt keep for good (fonts,
// pictures, the style's cache), the program's live objects and its heap stay
// where they are.
//
// Both measures are exact counts, not the process's size: live QObjects
// through QtCore's object hooks, heap bytes in use from the allocator (from
// the sanitizer's allocator in the sanitizer build).
//
// The figures of a long session (resident memory at given visits):
//   TAVRELO_REVISITS_FIGURES=300 tst_revisits figures [Form11]

#include "../output/outputkit.h"
#include "testmain.h"

#include "common/window.h"
#include "output/fprintpp.h"
#include "output/fprintpreview.h"
#include "shell/indice.h"
#include "shell/menus.h"
#include "shell/topics.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QPointer>

#include <cerrno>
#include <cstdio>
#include <functional>

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer's allocator reports what it holds for the program.
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#else
#include <atomic>
#include <malloc.h>
#endif

#if !defined(__SANITIZE_ADDRESS__)
// The bytes the process holds from the allocator, counted exactly: this
// executable's allocation calls stand in for the C library's (every library
// of the process reaches them) and add up what each block holds. The
// allocator's own statistics also count the blocks it keeps in reserve for
// a thread, which come and go with the allocator's moods.
extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* block, size_t size);
void* __libc_memalign(size_t alignment, size_t size);
void __libc_free(void* block);
}

namespace {
std::atomic<qint64> g_heapInUse{0};
void* counted(void* block)
{
    if (block)
        g_heapInUse += qint64(malloc_usable_size(block));
    return block;
}
} // namespace

extern "C" {
void* malloc(size_t size) { return counted(__libc_malloc(size)); }
void* calloc(size_t count, size_t size) { return counted(__libc_calloc(count, size)); }
void* realloc(void* block, size_t size)
{
    const qint64 before = block ? qint64(malloc_usable_size(block)) : 0;
    void* moved = __libc_realloc(block, size);
    if (moved || size == 0)
        g_heapInUse -= before;
    return counted(moved);
}
void free(void* block)
{
    if (block)
        g_heapInUse -= qint64(malloc_usable_size(block));
    __libc_free(block);
}
void* memalign(size_t alignment, size_t size) { return counted(__libc_memalign(alignment, size)); }
void* aligned_alloc(size_t alignment, size_t size) { return memalign(alignment, size); }
int posix_memalign(void** out, size_t alignment, size_t size)
{
    void* block = memalign(alignment, size);
    if (!block)
        return ENOMEM;
    *out = block;
    return 0;
}
void* valloc(size_t size) { return memalign(4096, size); }
void* pvalloc(size_t size) { return memalign(4096, (size + 4095) & ~size_t(4095)); }
}
#endif

// QtCore's hooks for tools that follow objects (its private qhooks_p.h):
// slot 1 is the table's size, slots 3 and 4 the calls made when a QObject is
// constructed and destroyed. The layout has not changed through Qt 6.
extern Q_DECL_IMPORT quintptr qtHookData[];

using namespace tav;

namespace {

enum HookSlot { HookDataSize = 1, AddQObject = 3, RemoveQObject = 4 };
using ObjectHook = void (*)(QObject*);

class ObjectCounter {
public:
    ObjectCounter()
    {
        if (qtHookData[HookDataSize] <= RemoveQObject)
            return;
        active_ = this;
        prevAdd_ = reinterpret_cast<ObjectHook>(qtHookData[AddQObject]);
        prevRemove_ = reinterpret_cast<ObjectHook>(qtHookData[RemoveQObject]);
        qtHookData[AddQObject] = reinterpret_cast<quintptr>(&added);
        qtHookData[RemoveQObject] = reinterpret_cast<quintptr>(&removed);
        installed_ = true;
    }
    ~ObjectCounter()
    {
        if (!installed_)
            return;
        qtHookData[AddQObject] = reinterpret_cast<quintptr>(prevAdd_);
        qtHookData[RemoveQObject] = reinterpret_cast<quintptr>(prevRemove_);
        active_ = nullptr;
    }
    bool installed() const { return installed_; }
    qint64 live() const { return live_; }

private:
    static void added(QObject* o)
    {
        ++active_->live_;
        if (active_->prevAdd_)
            active_->prevAdd_(o);
    }
    static void removed(QObject* o)
    {
        --active_->live_;
        if (active_->prevRemove_)
            active_->prevRemove_(o);
    }
    static inline ObjectCounter* active_ = nullptr;
    ObjectHook prevAdd_ = nullptr, prevRemove_ = nullptr;
    qint64 live_ = 0;
    bool installed_ = false;
};

qint64 heapInUse()
{
#if defined(__SANITIZE_ADDRESS__)
    return qint64(__sanitizer_get_current_allocated_bytes());
#else
    return g_heapInUse.load();
#endif
}

double residentMb()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').constFirst().toDouble() / 1024.0;
    return 0;
}

// Back at the top of the event loop: events delivered, windows closed in
// this visit destroyed.
void settle()
{
    for (int i = 0; i < 2; ++i) {
        QApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

// Runs `step` from the event loop, as a user's click does. A run-time error
// it lets out (a control missing) fails the test there, inside the step.
void asUser(const std::function<void()>& step)
{
    QMetaObject::invokeMethod(
        qApp,
        [step] {
            try {
                step();
            } catch (const std::exception& e) {
                QTest::qFail(e.what(), __FILE__, __LINE__);
            } catch (...) {
                QTest::qFail("an error left the step", __FILE__, __LINE__);
            }
        },
        Qt::QueuedConnection);
    settle();
}

QAction* action(Form& f, const QString& name) { return f.widget()->findChild<QAction*>(name); }

// One visit: open, act, close.
struct Visit {
    std::function<Form&()> open;
    std::function<void(Form&)> act;
    std::function<void(Form&)> close;
};

void fileClose(Form& f)
{
    QAction* close = action(f, fileCloseName(f.name()));
    QVERIFY2(close, qPrintable(f.name() + QStringLiteral(" has no File > Close")));
    close->trigger();
}
void closeBox(Form& f) { f.widget()->close(); }
void clickCtl(Form& f, const QString& name)
{
    QWidget* w = f.ctl(name);
    QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, w->rect().center());
}

Visit visitOf(const QString& window)
{
    const auto page = [window]() -> Form& {
        Form& f = windowNamed(window);
        f.show();
        return f;
    };
    const auto nothing = [](Form&) {};
    if (window == QLatin1String("Form11"))
        return {page, [](Form& f) { clickCtl(f, QStringLiteral("Image4")); }, fileClose};
    if (window == QLatin1String("Form4"))
        return {page, [](Form& f) { clickCtl(f, QStringLiteral("Image3")); }, fileClose};
    if (window == QLatin1String("FResultSim"))
        return {page, nothing, fileClose};
    if (window == QLatin1String("FSimula1") || window == QLatin1String("frmAbout"))
        return {page, nothing, closeBox};
    if (window == QLatin1String("FprintPP")) {
        // A page's File > Print: its picture in the print set-up, then Cancel.
        const auto open = []() -> Form& {
            Form& from = windowNamed(QStringLiteral("Form1"));
            from.show();
            action(from, filePrintName(from.name()))->trigger();
            return fprintpp();
        };
        return {open, nothing, [](Form& f) { clickCtl(f, QStringLiteral("Cancel")); }};
    }
    if (window == QLatin1String("FPrintPreview")) {
        // A graph page's table, printed: the preview, then its close box.
        const auto open = []() -> Form& {
            Form& from = windowNamed(QStringLiteral("FGrafico1"));
            from.show();
            clickCtl(from, QStringLiteral("Image10"));
            action(from, filePrintName(from.name()))->trigger();
            return fprintpreview();
        };
        return {open, nothing, closeBox};
    }
    if (window == QLatin1String("Indice")) {
        // The start page stays open; a visit is one of its topic links and
        // the page it opens closed again.
        const auto open = []() -> Form& {
            clickCtl(indice(), QStringLiteral("Label3_1"));
            return windowNamed(QStringLiteral("Form2"));
        };
        return {open, nothing, fileClose};
    }
    return {page, nothing, fileClose};
}

struct Reading {
    qint64 objects = 0;
    qint64 heap = 0;
    qint64 widgets = 0;
};

class Session {
public:
    explicit Session(const QString& window) : visit_(visitOf(window))
    {
        indice().show();
        settle();
    }
    // Visits the window `times` times; false, with `failure` saying why,
    // when a visit went wrong.
    bool run(int times)
    {
        for (int i = 0; i < times; ++i) {
            const QString visit = QStringLiteral("visit %1: ").arg(visits + 1);
            Form* f = nullptr;
            asUser([&] { f = &visit_.open(); });
            if (!f || !f->isLoaded()) {
                failure = visit + QStringLiteral("the window did not open");
                return false;
            }
            const QPointer<FormWidget> opened = f->widgetIfLoaded();
            asUser([&] { visit_.act(*f); });
            asUser([&] { if (f->isLoaded()) visit_.close(*f); });
            // The boxes a visit met are the test's record, not the program's.
            fx_.msgs.clear();
            if (QTest::currentTestFailed()) {
                failure = visit + QStringLiteral("a step failed");
                return false;
            }
            // A close that left the window would hide whatever each visit
            // leaks: the next visit would reuse it.
            if (f->isLoaded()) {
                failure = visit + f->name() + QStringLiteral(" is still loaded after its close");
                return false;
            }
            if (opened) {
                failure = visit + f->name() + QStringLiteral("'s window outlived the action that closed it");
                return false;
            }
            ++visits;
        }
        return true;
    }
    Reading read() const
    {
        return {counter_.live(), heapInUse(), qint64(QApplication::allWidgets().size())};
    }
    bool counting() const { return counter_.installed(); }
    int visits = 0;
    QString failure;

private:
    test::OutputFixture fx_;
    ObjectCounter counter_;
    Visit visit_;
};

const QStringList& allWindows()
{
    static const QStringList n = {"Indice",    "Form1",      "Form2",      "Form3",      "Form4",     "Form5",
                                  "Form6",     "Form7",      "Form8",      "Form9",      "Form10",    "Form10a",
                                  "Form11",    "Form12",     "FGrafico1",  "FGrafico2",  "FGrafico3", "FGrafico4",
                                  "FGrafico5", "FGrafico6",  "FGrafico12", "FResultSim", "FSimula1",  "frmAbout",
                                  "FprintPP",  "FPrintPreview"};
    return n;
}

} // namespace

class TestRevisits : public QObject {
    Q_OBJECT

private slots:
    void visitsLeaveNothingBehind_data();
    void visitsLeaveNothingBehind();
    void figures_data() { visitsLeaveNothingBehind_data(); }
    void figures();
};

void TestRevisits::visitsLeaveNothingBehind_data()
{
    QTest::addColumn<QString>("window");
    for (const QString& w : allWindows())
        QTest::newRow(qPrintable(w)) << w;
}

void TestRevisits::visitsLeaveNothingBehind()
{
    QFETCH(QString, window);
    // Warm-up visits fill what is kept for good; the measured ones must not
    // add to it. The slack is what one visit may leave for Qt to drop at its
    // next chance (the gestures of a closed window's scroll areas go at the
    // next gesture event): a window that keeps one object, or two kilobytes,
    // a visit goes past it.
    constexpr int kWarmUp = 8, kMeasured = 24;
    constexpr qint64 kObjectSlack = kMeasured / 2;
    constexpr qint64 kHeapSlack = kMeasured * 2048;

    Session s(window);
    if (!s.counting())
        QSKIP("QtCore offers no object hooks");
    QVERIFY2(s.run(kWarmUp), qPrintable(s.failure));
    const Reading before = s.read();
    QVERIFY2(s.run(kMeasured), qPrintable(s.failure));
    const Reading after = s.read();

    const QString seen = QStringLiteral("%1 visits of %2: %3 more objects, %4 more widgets, %5 more heap bytes")
                             .arg(kMeasured)
                             .arg(window)
                             .arg(after.objects - before.objects)
                             .arg(after.widgets - before.widgets)
                             .arg(after.heap - before.heap);
    QVERIFY2(after.widgets <= before.widgets, qPrintable(seen));
    QVERIFY2(after.objects - before.objects <= kObjectSlack, qPrintable(seen));
    QVERIFY2(after.heap - before.heap <= kHeapSlack, qPrintable(seen));
}

void TestRevisits::figures()
{
    const int visits = qEnvironmentVariableIntValue("TAVRELO_REVISITS_FIGURES");
    if (visits <= 0)
        QSKIP("set TAVRELO_REVISITS_FIGURES to the number of visits");
    QFETCH(QString, window);
    Session s(window);
    QString line = window + QLatin1Char(':');
    double at50 = 0;
    for (int done = 0; done < visits;) {
        QVERIFY2(s.run(1), qPrintable(s.failure));
        ++done;
        if (done == 1 || done % 50 == 0 || done == visits) {
            const double mb = residentMb();
            if (done == 50)
                at50 = mb;
            line += QStringLiteral(" %1:%2").arg(done).arg(mb, 0, 'f', 1);
        }
    }
    if (visits >= 50)
        line += QString::asprintf("  (%+.2f MB after visit 50)", residentMb() - at50);
    // Straight to the output: the offscreen platform's warnings at every show
    // soon exhaust the test log's allowance and would silence it.
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

TAV_TEST_MAIN(TestRevisits)
#include "tst_revisits.moc"
