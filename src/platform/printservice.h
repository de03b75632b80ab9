#pragma once
// The print service's own answer to a job. Qt's printer hands a finished
// document to the service and forgets it, so a queue that refuses jobs, a
// printer removed since it was chosen or a stopped service all look like a
// print that worked. Here the document goes to the service as one job and
// its answer comes back.

#include <QByteArray>
#include <QString>

namespace tav::printservice {

struct JobOptions {
    int copies = 1;
    bool collate = true;
    // "one-sided", "two-sided-long-edge", "two-sided-short-edge"; empty: the queue's own.
    QString sides;
    bool monochrome = false;
    // Both 0: every page.
    int fromPage = 0, toPage = 0;
};

struct JobAnswer {
    int id = 0;    // the service's job number; 0 when no job was made
    QString error; // the service's reason when id is 0
    bool ok() const { return id > 0; }
};

// Sends a whole PDF document to `queue` ("name" or "name/instance") as one
// job named `title`. A job the service refused halfway is cancelled, so
// nothing of it is printed. A paused queue takes the job and keeps it.
JobAnswer submitPdf(const QString& queue, const QString& title, const QByteArray& pdf, const JobOptions& options);

} // namespace tav::printservice
