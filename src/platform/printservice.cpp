#include "platform/printservice.h"

#include <cups/cups.h>

namespace tav::printservice {

namespace {

class Options {
public:
    ~Options() { cupsFreeOptions(count_, options_); }
    void add(const char* name, const QByteArray& value) { count_ = cupsAddOption(name, value.constData(), count_, &options_); }
    // A queue instance's saved options come first; the job's own override them.
    void addDestination(const QByteArray& name, const QByteArray& instance)
    {
        cups_dest_t* d = cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.constData(),
                                          instance.isEmpty() ? nullptr : instance.constData());
        if (!d)
            return;
        for (int i = 0; i < d->num_options; ++i)
            count_ = cupsAddOption(d->options[i].name, d->options[i].value, count_, &options_);
        cupsFreeDests(1, d);
    }
    int count() const { return count_; }
    cups_option_t* get() const { return options_; }

private:
    int count_ = 0;
    cups_option_t* options_ = nullptr;
};

QString lastError()
{
    const char* s = cupsLastErrorString();
    return s && *s ? QString::fromUtf8(s) : QStringLiteral("The print service did not take the job");
}

} // namespace

JobAnswer submitPdf(const QString& queue, const QString& title, const QByteArray& pdf, const JobOptions& o)
{
    JobAnswer answer;
    const qsizetype slash = queue.indexOf(QLatin1Char('/'));
    const QByteArray name = (slash < 0 ? queue : queue.left(slash)).toUtf8();
    const QByteArray instance = slash < 0 ? QByteArray() : queue.mid(slash + 1).toUtf8();
    if (name.isEmpty() || pdf.isEmpty()) {
        answer.error = QStringLiteral("No printer");
        return answer;
    }
    Options options;
    options.addDestination(name, instance);
    if (o.copies > 1) {
        options.add("copies", QByteArray::number(o.copies));
        options.add("multiple-document-handling", o.collate ? "separate-documents-collated-copies"
                                                            : "separate-documents-uncollated-copies");
    }
    if (!o.sides.isEmpty())
        options.add("sides", o.sides.toUtf8());
    if (o.monochrome)
        options.add("print-color-mode", "monochrome");
    if (o.fromPage > 0 && o.toPage >= o.fromPage)
        options.add("page-ranges", QByteArray::number(o.fromPage) + '-' + QByteArray::number(o.toPage));

    const QByteArray jobTitle = title.toUtf8();
    const int id = cupsCreateJob(CUPS_HTTP_DEFAULT, name.constData(), jobTitle.constData(), options.count(),
                                 options.get());
    if (id <= 0) {
        answer.error = lastError();
        return answer;
    }
    bool sent = cupsStartDocument(CUPS_HTTP_DEFAULT, name.constData(), id, jobTitle.constData(), CUPS_FORMAT_PDF, 1)
                == HTTP_STATUS_CONTINUE;
    for (qsizetype at = 0; sent && at < pdf.size();) {
        const qsizetype n = std::min<qsizetype>(pdf.size() - at, 1 << 16);
        sent = cupsWriteRequestData(CUPS_HTTP_DEFAULT, pdf.constData() + at, size_t(n)) == HTTP_STATUS_CONTINUE;
        at += n;
    }
    // The document is finished even after a failed write: the request must
    // end before the job can be cancelled on the same connection.
    const ipp_status_t finished = cupsFinishDocument(CUPS_HTTP_DEFAULT, name.constData());
    if (!sent || finished > IPP_STATUS_OK_CONFLICTING) {
        answer.error = lastError();
        cupsCancelJob2(CUPS_HTTP_DEFAULT, name.constData(), id, 0);
        return answer;
    }
    answer.id = id;
    return answer;
}

} // namespace tav::printservice
