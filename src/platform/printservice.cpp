#include "platform/printservice.h"

#include "common/yields.h"
#include "platform/busy.h"

#include <QElapsedTimer>

#include <cups/cups.h>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <ctime>
#include <list>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace tav::printservice {

namespace {

std::atomic<int> g_answerMs{kAnswerLimitMs};
std::atomic<int> g_reachMs{kReachLimitMs};
bool g_waiting = false; // the window's thread only
// The program ends: every call gives up.
std::atomic<bool> g_shutdown{false};
int g_shutdownFlag = 0; // for libcups' connect loop

// One call to the service on a thread of its own. The window waits for it
// to be done or gives it up; whichever comes first holds.
struct Call {
    enum State { Running, Done, GivenUp };
    std::mutex m;
    std::condition_variable cv;
    State state = Running;
    int cancel = 0; // libcups' connect loop reads it
    std::atomic<bool> stop{false};
    std::atomic<bool> ended{false};

    // The call's outcome holds: false when the window has given it up.
    bool finish()
    {
        std::lock_guard<std::mutex> l(m);
        if (state == Running) {
            state = Done;
            cv.notify_all();
        }
        return state == Done;
    }
    void giveUp()
    {
        stop = true;
        __atomic_store_n(&cancel, 1, __ATOMIC_SEQ_CST);
    }
};

// A job given up before the service said it had it: withdrawn when the
// service answers again. With no number, the job may yet be made from the
// request the service has not read: it is looked for by its name.
struct Withdrawal {
    QByteArray queue;
    QByteArray title;
    int id = 0;
    time_t since = 0;
    int quietPasses = 0;
    QElapsedTimer firstQuiet;
};

// Every thread that talks to the service, and the jobs to withdraw. The
// threads end with the program: each is told to stop and is waited for.
class Service {
public:
    // Tells every thread to stop, and waits a moment for them: one that
    // does not end by then (a name lookup that hangs) is left to end with
    // the process. The service itself is never destroyed, so that such a
    // thread never finds it gone.
    void shutdown()
    {
        std::list<std::pair<std::thread, std::shared_ptr<std::atomic<bool>>>> threads;
        {
            std::lock_guard<std::mutex> l(m_);
            g_shutdown = true;
            __atomic_store_n(&g_shutdownFlag, 1, __ATOMIC_SEQ_CST);
            for (auto& w : workers_) {
                w.second->giveUp();
                threads.emplace_back(std::move(w.first), std::shared_ptr<std::atomic<bool>>(w.second, &w.second->ended));
            }
            workers_.clear();
            if (cleaner_.joinable())
                threads.emplace_back(std::move(cleaner_), cleanerEnded_);
        }
        cleanerWake_.notify_all();
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        for (auto& [t, ended] : threads) {
            while (!*ended && std::chrono::steady_clock::now() < until)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            if (*ended)
                t.join();
            else
                t.detach();
        }
    }

    bool start(const std::shared_ptr<Call>& call, std::function<void(http_t*, Call&)> fn)
    {
        std::lock_guard<std::mutex> l(m_);
        if (g_shutdown)
            return false;
        for (auto it = workers_.begin(); it != workers_.end();) {
            if (it->second->ended) {
                it->first.join();
                it = workers_.erase(it);
            } else {
                ++it;
            }
        }
        try {
            workers_.emplace_back(std::thread([this, call, fn = std::move(fn)] {
                                      http_t* http = connect(&call->cancel);
                                      if (http)
                                          httpSetTimeout(http, 0.1, &Service::keepWaiting, call.get());
                                      fn(http, *call);
                                      if (http)
                                          httpClose(http);
                                      call->finish();
                                      call->ended = true;
                                  }),
                                  call);
        } catch (const std::system_error&) {
            return false;
        }
        return true;
    }

    // A connection to the service the desktop uses, or none when it does
    // not take one within the reach limit.
    static http_t* connect(int* cancel)
    {
        const char* host = cupsServer();
        const int port = ippPort();
        return httpConnect2(host, port, nullptr, AF_UNSPEC, cupsEncryption(), 1, g_reachMs.load(), cancel);
    }

    static int keepWaiting(http_t*, void* data) { return static_cast<Call*>(data)->stop || g_shutdown ? 0 : 1; }

    static Service& instance()
    {
        static Service* s = [] {
            auto* made = new Service;
            std::atexit([] { instance().shutdown(); });
            return made;
        }();
        return *s;
    }

    // Held while a job is handed over or jobs are withdrawn, so that the
    // withdrawal never takes a job that is being handed over for one of
    // its own.
    std::mutex handover;

    void withdrawLater(Withdrawal w)
    {
        std::lock_guard<std::mutex> l(m_);
        if (g_shutdown)
            return;
        pending_.push_back(std::move(w));
        if (!cleanerRunning_) {
            if (cleaner_.joinable())
                cleaner_.join();
            cleanerRunning_ = true;
            cleanerEnded_ = std::make_shared<std::atomic<bool>>(false);
            try {
                cleaner_ = std::thread([this, ended = cleanerEnded_] {
                    cleanerLoop();
                    *ended = true;
                });
            } catch (const std::system_error&) {
                cleanerRunning_ = false;
            }
        }
    }

    // Withdraws what earlier calls left, over `http`; the handover lock is held.
    void withdrawPending(http_t* http)
    {
        std::vector<Withdrawal> todo;
        {
            std::lock_guard<std::mutex> l(m_);
            todo.swap(pending_);
        }
        std::vector<Withdrawal> left;
        for (Withdrawal& w : todo)
            if (!withdraw(http, w))
                left.push_back(std::move(w));
        std::lock_guard<std::mutex> l(m_);
        for (Withdrawal& w : left)
            pending_.push_back(std::move(w));
    }

    int pendingCount()
    {
        std::lock_guard<std::mutex> l(m_);
        return int(pending_.size());
    }

    void setHook(std::function<void(Stage)> hook)
    {
        std::lock_guard<std::mutex> l(m_);
        hook_ = std::move(hook);
    }
    void reach(Stage stage)
    {
        std::function<void(Stage)> hook;
        {
            std::lock_guard<std::mutex> l(m_);
            hook = hook_;
        }
        if (hook)
            hook(stage);
    }

private:
    // True when the withdrawal is done: the job cancelled or gone, or,
    // looked for by its name, not there twice in a row a moment apart.
    static bool withdraw(http_t* http, Withdrawal& w)
    {
        if (w.id > 0) {
            cupsCancelJob2(http, w.queue.constData(), w.id, 0);
            const ipp_status_t s = cupsLastError();
            return s <= IPP_STATUS_OK_CONFLICTING || s == IPP_STATUS_ERROR_NOT_FOUND
                   || s == IPP_STATUS_ERROR_NOT_POSSIBLE;
        }
        cups_job_t* jobs = nullptr;
        const int n = cupsGetJobs2(http, &jobs, w.queue.constData(), 1, CUPS_WHICHJOBS_ACTIVE);
        if (n < 0 || cupsLastError() > IPP_STATUS_OK_CONFLICTING) {
            cupsFreeJobs(std::max(n, 0), jobs);
            return cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND;
        }
        bool found = false;
        for (int i = 0; i < n; ++i)
            if (jobs[i].state == IPP_JSTATE_HELD && jobs[i].title && w.title == jobs[i].title
                && jobs[i].creation_time + 5 >= w.since) {
                cupsCancelJob2(http, w.queue.constData(), jobs[i].id, 0);
                found = cupsLastError() <= IPP_STATUS_OK_CONFLICTING;
            }
        cupsFreeJobs(n, jobs);
        if (found)
            return true;
        if (w.quietPasses++ == 0)
            w.firstQuiet.start();
        return w.quietPasses >= 2 && w.firstQuiet.elapsed() >= 1000;
    }

    // Every half second, while something is to be withdrawn and for no
    // longer than the service keeps a job waiting for its documents.
    void cleanerLoop()
    {
        const auto give = std::chrono::steady_clock::now() + std::chrono::minutes(15);
        std::unique_lock<std::mutex> l(m_);
        while (!g_shutdown && !pending_.empty() && std::chrono::steady_clock::now() < give) {
            cleanerWake_.wait_for(l, std::chrono::milliseconds(500));
            if (g_shutdown)
                break;
            l.unlock();
            if (http_t* http = connect(&g_shutdownFlag)) {
                httpSetTimeout(http, 0.1, &Service::cleanerWaiting, this);
                if (handover.try_lock()) {
                    cleanerStarted_.start();
                    withdrawPending(http);
                    handover.unlock();
                }
                httpClose(http);
            }
            l.lock();
        }
        cleanerRunning_ = false;
    }

    static int cleanerWaiting(http_t*, void* data)
    {
        auto* s = static_cast<Service*>(data);
        return g_shutdown || s->cleanerStarted_.elapsed() > g_answerMs.load() ? 0 : 1;
    }

    std::mutex m_;
    std::list<std::pair<std::thread, std::shared_ptr<Call>>> workers_;
    std::vector<Withdrawal> pending_;
    std::thread cleaner_;
    std::shared_ptr<std::atomic<bool>> cleanerEnded_;
    bool cleanerRunning_ = false;
    std::condition_variable cleanerWake_;
    QElapsedTimer cleanerStarted_;
    std::function<void(Stage)> hook_;
};

// Runs `fn` on a thread of its own with a connection to the service (none
// when it cannot be reached), while the event loop runs and the busy
// cursor shows. False when the call did not end within the limit: it is
// then given up.
bool runBounded(std::function<void(http_t*, Call&)> fn)
{
    auto call = std::make_shared<Call>();
    if (!Service::instance().start(call, std::move(fn)))
        return false;
    const bool before = g_waiting;
    g_waiting = true;
    BusyCursor busy;
    QElapsedTimer clock;
    clock.start();
    bool done = false;
    {
        std::unique_lock<std::mutex> l(call->m);
        for (;;) {
            // An answer that comes at once costs no yield.
            if (call->cv.wait_for(l, std::chrono::milliseconds(10), [&] { return call->state == Call::Done; })) {
                done = true;
                break;
            }
            if (clock.elapsed() >= g_answerMs.load()) {
                call->state = Call::GivenUp;
                call->giveUp();
                break;
            }
            l.unlock();
            busy.progress();
            yieldToEventLoop();
            l.lock();
        }
    }
    g_waiting = before;
    return done;
}

QString lastError(const char* otherwise = "The print service did not take the job")
{
    const char* s = cupsLastErrorString();
    return QString::fromUtf8(s && *s ? s : otherwise);
}

const QString kUnreachable = QStringLiteral("The print service cannot be reached");
const QString kNoAnswer = QStringLiteral("The print service did not answer in time");
const QString kBusy = QStringLiteral("The print service is busy with another print");

QueueDefaults defaultsFrom(const cups_dest_t* d)
{
    QueueDefaults q;
    const char* orientation = cupsGetOption("orientation-requested", d->num_options, d->options);
    const char* landscape = cupsGetOption("landscape", d->num_options, d->options);
    q.landscape = (orientation && (qstrcmp(orientation, "4") == 0 || qstrcmp(orientation, "5") == 0))
                  || (landscape && qstricmp(landscape, "false") != 0 && qstricmp(landscape, "no") != 0);
    const char* type = cupsGetOption("printer-type", d->num_options, d->options);
    q.colourCapable = type && (strtol(type, nullptr, 10) & CUPS_PRINTER_COLOR);
    const char* mode = cupsGetOption("print-color-mode", d->num_options, d->options);
    q.colour = q.colourCapable && !(mode && qstrcmp(mode, "monochrome") == 0);
    return q;
}

QString destName(const cups_dest_t* d)
{
    QString n = QString::fromUtf8(d->name);
    if (d->instance && *d->instance)
        n += QLatin1Char('/') + QString::fromUtf8(d->instance);
    return n;
}

void split(const QString& queue, QByteArray& name, QByteArray& instance)
{
    const qsizetype slash = queue.indexOf(QLatin1Char('/'));
    name = (slash < 0 ? queue : queue.left(slash)).toUtf8();
    instance = slash < 0 ? QByteArray() : queue.mid(slash + 1).toUtf8();
}

class Options {
public:
    ~Options() { cupsFreeOptions(count_, options_); }
    void add(const char* name, const QByteArray& value) { count_ = cupsAddOption(name, value.constData(), count_, &options_); }
    // The queue's defaults and the user's saved options for it, without the
    // printer's own description, which is not the job's to send.
    void addDestination(const cups_dest_t* d)
    {
        for (int i = 0; i < d->num_options; ++i) {
            const char* n = d->options[i].name;
            if (qstrncmp(n, "printer-", 8) == 0 || qstrncmp(n, "marker-", 7) == 0 || qstrcmp(n, "device-uri") == 0)
                continue;
            count_ = cupsAddOption(n, d->options[i].value, count_, &options_);
        }
    }
    const char* value(const char* name) const { return cupsGetOption(name, count_, options_); }
    int count() const { return count_; }
    cups_option_t* get() const { return options_; }

private:
    int count_ = 0;
    cups_option_t* options_ = nullptr;
};

// Lets a held job go: released, or held until the time the user's saved
// options name.
bool release(http_t* http, int id, const QByteArray& holdUntil)
{
    const bool now = holdUntil.isEmpty() || holdUntil == "no-hold";
    ipp_t* r = ippNewRequest(now ? IPP_OP_RELEASE_JOB : IPP_OP_SET_JOB_ATTRIBUTES);
    char uri[HTTP_MAX_URI];
    snprintf(uri, sizeof uri, "ipp://localhost/jobs/%d", id);
    ippAddString(r, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri);
    ippAddString(r, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    if (!now)
        ippAddString(r, IPP_TAG_JOB, IPP_TAG_KEYWORD, "job-hold-until", nullptr, holdUntil.constData());
    ippDelete(cupsDoRequest(http, r, "/jobs/"));
    return cupsLastError() <= IPP_STATUS_OK_CONFLICTING;
}

// Cancels a job made for a call that failed; where the service does not
// answer now, later.
void withdrawNow(http_t* http, const QByteArray& queue, const QByteArray& title, int id)
{
    cupsCancelJob2(http, queue.constData(), id, 0);
    const ipp_status_t s = cupsLastError();
    if (s <= IPP_STATUS_OK_CONFLICTING || s == IPP_STATUS_ERROR_NOT_FOUND || s == IPP_STATUS_ERROR_NOT_POSSIBLE)
        return;
    Service::instance().withdrawLater({queue, title, id, time(nullptr), 0, {}});
}

} // namespace

void setLimitsForTesting(int answerMs, int reachMs)
{
    g_answerMs = answerMs < 0 ? kAnswerLimitMs : answerMs;
    g_reachMs = reachMs < 0 ? kReachLimitMs : reachMs;
}

bool waiting() { return g_waiting; }

bool Survey::has(const QString& queue) const
{
    const qsizetype slash = queue.indexOf(QLatin1Char('/'));
    return !queue.isEmpty() && queues.contains(slash < 0 ? queue : queue.left(slash));
}

QueueDefaults Survey::defaultsOf(const QString& queue) const { return defaults.value(queue); }

Survey survey(const QString& queue)
{
    Survey out;
    if (g_waiting) {
        out.error = kBusy;
        return out;
    }
    auto got = std::make_shared<Survey>();
    const bool done = runBounded([got, queue](http_t* http, Call&) {
        if (!http) {
            got->error = kUnreachable;
            return;
        }
        ipp_t* req = ippNewRequest(IPP_OP_CUPS_GET_PRINTERS);
        ippAddString(req, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr, "printer-name");
        ippAddString(req, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
        ipp_t* resp = cupsDoRequest(http, req, "/");
        // No printers at all is an answer too.
        if (!resp || (cupsLastError() > IPP_STATUS_OK_CONFLICTING && cupsLastError() != IPP_STATUS_ERROR_NOT_FOUND)) {
            ippDelete(resp);
            got->error = lastError("The print service did not answer");
            return;
        }
        for (ipp_attribute_t* a = ippFirstAttribute(resp); a; a = ippNextAttribute(resp))
            if (ippGetGroupTag(a) == IPP_TAG_PRINTER && qstrcmp(ippGetName(a), "printer-name") == 0)
                got->queues << QString::fromUtf8(ippGetString(a, 0, nullptr));
        ippDelete(resp);
        if (cups_dest_t* d = cupsGetNamedDest(http, nullptr, nullptr)) {
            got->defaultQueue = destName(d);
            got->defaults.insert(got->defaultQueue, defaultsFrom(d));
            cupsFreeDests(1, d);
        }
        QByteArray name, instance;
        split(queue, name, instance);
        if (!name.isEmpty() && got->queues.contains(QString::fromUtf8(name)) && !got->defaults.contains(queue)) {
            if (cups_dest_t* d = cupsGetNamedDest(http, name.constData(), instance.isEmpty() ? nullptr : instance.constData())) {
                got->defaults.insert(queue, defaultsFrom(d));
                cupsFreeDests(1, d);
            }
        }
        got->answered = true;
    });
    if (!done) {
        out.error = kNoAnswer;
        return out;
    }
    return *got;
}

JobAnswer submitPdf(const QString& queue, const QString& title, const QByteArray& pdf, const JobOptions& o)
{
    JobAnswer answer;
    QByteArray name, instance;
    split(queue, name, instance);
    if (name.isEmpty() || pdf.isEmpty()) {
        answer.error = QStringLiteral("No printer");
        return answer;
    }
    if (g_waiting) {
        answer.error = kBusy;
        return answer;
    }
    auto got = std::make_shared<JobAnswer>();
    const QByteArray jobTitle = title.toUtf8();
    const bool done = runBounded([got, name, instance, jobTitle, pdf, o](http_t* http, Call& call) {
        if (!http) {
            got->error = kUnreachable;
            return;
        }
        Service& service = Service::instance();
        std::lock_guard<std::mutex> handing(service.handover);
        service.withdrawPending(http);

        Options options;
        if (cups_dest_t* d = cupsGetNamedDest(http, name.constData(), instance.isEmpty() ? nullptr : instance.constData())) {
            options.addDestination(d);
            cupsFreeDests(1, d);
        } else if (cupsLastError() > IPP_STATUS_OK_CONFLICTING && cupsLastError() != IPP_STATUS_ERROR_NOT_FOUND) {
            got->error = lastError();
            return;
        }
        for (const auto& d : o.driver)
            options.add(d.first.constData(), d.second);
        const QByteArray holdUntil = options.value("job-hold-until");
        options.add("copies", QByteArray::number(std::max(1, o.copies)));
        if (o.copies > 1)
            options.add("multiple-document-handling", o.collate ? "separate-documents-collated-copies"
                                                                : "separate-documents-uncollated-copies");
        if (!o.sides.isEmpty())
            options.add("sides", o.sides.toUtf8());
        if (o.monochrome)
            options.add("print-color-mode", "monochrome");
        else if (o.colour)
            options.add("print-color-mode", "color");
        // The pages are drawn as they are to print; the service turns none.
        options.add("orientation-requested", o.landscape ? "4" : "3");
        if (o.fromPage > 0 && o.toPage >= o.fromPage)
            options.add("page-ranges", QByteArray::number(o.fromPage) + '-' + QByteArray::number(o.toPage));
        // Held until the document is whole: a hand-over given up half-way
        // leaves nothing that prints when the service goes on.
        options.add("job-hold-until", "indefinite");

        const int id = cupsCreateJob(http, name.constData(), jobTitle.constData(), options.count(), options.get());
        if (id <= 0) {
            got->error = lastError();
            // The request may still be read once the service goes on.
            if (call.stop)
                service.withdrawLater({name, jobTitle, 0, time(nullptr), 0, {}});
            return;
        }
        service.reach(Stage::JobMade);
        bool sent = cupsStartDocument(http, name.constData(), id, jobTitle.constData(), CUPS_FORMAT_PDF, 1)
                    == HTTP_STATUS_CONTINUE;
        for (qsizetype at = 0; sent && at < pdf.size();) {
            const qsizetype n = std::min<qsizetype>(pdf.size() - at, 1 << 16);
            sent = cupsWriteRequestData(http, pdf.constData() + at, size_t(n)) == HTTP_STATUS_CONTINUE;
            at += n;
        }
        // The document is finished even after a failed write: the request
        // must end before the job can be cancelled on the same connection.
        const ipp_status_t finished = cupsFinishDocument(http, name.constData());
        if (!sent || finished > IPP_STATUS_OK_CONFLICTING || call.stop || !release(http, id, holdUntil)) {
            got->error = lastError();
            withdrawNow(http, name, jobTitle, id);
            return;
        }
        got->id = id;
        // Let go just as the window gave up: it has said the print failed.
        if (!call.finish())
            withdrawNow(http, name, jobTitle, id);
    });
    if (!done) {
        answer.error = kNoAnswer;
        return answer;
    }
    return *got;
}

QtWithoutService::QtWithoutService(bool active) : active_(active)
{
    if (!active_)
        return;
    saved_ = cupsServer();
    // A socket that cannot exist: every connection fails at once.
    cupsSetServer("/dev/null/no-print-service");
}

QtWithoutService::~QtWithoutService()
{
    if (active_)
        cupsSetServer(saved_.isEmpty() ? nullptr : saved_.constData());
}

void setStageHookForTesting(std::function<void(Stage)> hook) { Service::instance().setHook(std::move(hook)); }

int jobsToWithdraw() { return Service::instance().pendingCount(); }

} // namespace tav::printservice
