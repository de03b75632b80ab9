#pragma once
// The print service, asked by the program itself. Qt's printer hands a
// finished document to the service and forgets it, so a queue that refuses
// jobs, a printer removed since it was chosen or a stopped service all look
// like a print that worked; and Qt waits for the service's answer for as
// long as the service takes, with the window frozen. Here every call goes
// over a connection of its own, made and answered on a thread of its own,
// while the window goes on repainting; a call that the service does not
// answer in time is given up, and what it left at the service is withdrawn
// as soon as the service answers again.

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QMap>
#include <QString>
#include <QStringList>
#include <functional>

namespace tav::printservice {

// The longest a call waits for the service, and the time after which a
// service that does not take the connection counts as out of reach.
constexpr int kAnswerLimitMs = 30000;
constexpr int kReachLimitMs = 3000;
// Tests: shorter limits; a negative value restores its constant.
void setLimitsForTesting(int answerMs, int reachMs);

// A call is waiting for the service: the event loop runs meanwhile, and a
// second call made from it is refused at once.
bool waiting();

// What a queue prints with when nobody says otherwise.
struct QueueDefaults {
    bool landscape = false;
    bool colourCapable = false;
    bool colour = false; // its default colour mode is colour
};

// The service's queues as they are now.
struct Survey {
    bool answered = false;
    QString error;       // why not, when it did not answer
    QStringList queues;  // "name"; instances are the user's own, not listed
    QString defaultQueue; // "name" or "name/instance"; empty when none
    // The defaults of the queue asked about and of the default queue.
    QMap<QString, QueueDefaults> defaults;
    bool has(const QString& queue) const;
    QueueDefaults defaultsOf(const QString& queue) const;
};

// Asks for the queues, the default one and the defaults of `queue` (a
// "name" or "name/instance"; may be empty). Waits at most the limits.
Survey survey(const QString& queue = QString());

struct JobOptions {
    int copies = 1;
    bool collate = true;
    // "one-sided", "two-sided-long-edge", "two-sided-short-edge"; empty: the queue's own.
    QString sides;
    // The colour mode asked for: grey, colour (where the queue has it), or
    // the queue's own when neither.
    bool monochrome = false;
    bool colour = false;
    // The pages are drawn turned: the job asks for them as they are.
    bool landscape = false;
    // Both 0: every page.
    int fromPage = 0, toPage = 0;
    // The driver's own options chosen in the print dialog, name and value;
    // what is set above takes their place.
    QList<QPair<QByteArray, QByteArray>> driver;
};

struct JobAnswer {
    int id = 0;    // the service's job number; 0 when no job was made
    QString error; // the service's reason when id is 0
    bool ok() const { return id > 0; }
};

// Sends a whole PDF document to `queue` ("name" or "name/instance") as one
// job named `title`. The job is held until the whole document is in, and
// only then let go, so that a call given up half-way prints nothing; it is
// cancelled at once where the service answers, and later where it does
// not. A paused queue takes the job and keeps it. Waits at most the limits.
JobAnswer submitPdf(const QString& queue, const QString& title, const QByteArray& pdf, const JobOptions& options);

// Qt's printer support asks the service itself, on the window's thread and
// with no limit. While one of these lives, it finds no service at once:
// for a dialog or a printer made when the service did not answer.
class QtWithoutService {
public:
    explicit QtWithoutService(bool active = true);
    ~QtWithoutService();
    QtWithoutService(const QtWithoutService&) = delete;
    QtWithoutService& operator=(const QtWithoutService&) = delete;

private:
    QByteArray saved_;
    bool active_;
};

// Tests: the stages of a job's hand-over, each reported on the thread that
// talks to the service as it is reached.
enum class Stage { JobMade };
void setStageHookForTesting(std::function<void(Stage)> hook);
// Tests: jobs given up whose withdrawal has not reached the service yet.
int jobsToWithdraw();

} // namespace tav::printservice
