#pragma once
// The output services scripted for tests: no dialog opens, nothing reaches
// a printer or the system clipboard.

#include "output/services.h"
#include "testkit.h"

#include <sys/resource.h>

namespace tav::test {

class OutputFixture : public ProgramFixture {
public:
    OutputFixture()
    {
        setDialogs(&dialogs);
        setPrinter(&paper);
        setClipboard(&clip);
    }
    ~OutputFixture()
    {
        setDialogs(nullptr);
        setPrinter(nullptr);
        setClipboard(nullptr);
    }
    ScriptedDialogs dialogs;
    ImagePrinter paper;
    MemoryClipboard clip;
};

// Writes past `bytes` into any file of this process fail with EFBIG, as on
// a full disk, until unlimitedFileSize(); SIGXFSZ must be ignored.
inline bool limitFileSize(qint64 bytes)
{
    rlimit l{};
    getrlimit(RLIMIT_FSIZE, &l);
    l.rlim_cur = rlim_t(bytes);
    return setrlimit(RLIMIT_FSIZE, &l) == 0;
}

inline void unlimitedFileSize()
{
    rlimit l{};
    getrlimit(RLIMIT_FSIZE, &l);
    l.rlim_cur = l.rlim_max;
    setrlimit(RLIMIT_FSIZE, &l);
}

} // namespace tav::test

#include <QFile>
#include <QRectF>
#include <QRegularExpression>

namespace tav::test {

// What a PDF file written by the system printer holds, page by page, in
// the printer's dots (its drawing units): the paper, the pictures drawn and
// where each text run starts (its baseline).
struct PdfPage {
    QSizeF points;          // the page's media box, 1/72 inch
    QList<QRectF> pictures;
    QList<QPointF> texts;
};

inline QList<PdfPage> readPdf(const QString& file)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return {};
    const QByteArray pdf = in.readAll();
    QList<PdfPage> pages;
    static const QRegularExpression box(QStringLiteral("/Type /Page\\s*\\n(?:[^\\n]*\\n)*?/MediaBox \\[0 0 ([\\d.]+) ([\\d.]+)\\]"));
    for (auto m = box.globalMatch(QString::fromLatin1(pdf)); m.hasNext();) {
        const auto hit = m.next();
        pages.append({QSizeF(hit.captured(1).toDouble(), hit.captured(2).toDouble()), {}, {}});
    }
    // The page contents, in page order: compressed streams that start by
    // setting the page's graphics state.
    QList<QByteArray> contents;
    for (qsizetype at = pdf.indexOf("stream\n"); at >= 0; at = pdf.indexOf("stream\n", at + 1)) {
        if (at >= 3 && pdf.mid(at - 3, 3) == "end")
            continue;
        const qsizetype start = at + 7;
        const qsizetype end = pdf.indexOf("endstream", start);
        if (end < 0)
            break;
        // Only the page contents are deflated; pictures are not.
        const qsizetype dict = pdf.lastIndexOf("obj", at);
        if (dict < 0 || !pdf.mid(dict, at - dict).contains("/FlateDecode"))
            continue;
        QByteArray z = pdf.mid(start, end - start);
        const quint32 size = 1 << 20;
        z.prepend(char(size & 0xff)).prepend(char((size >> 8) & 0xff)).prepend(char((size >> 16) & 0xff))
            .prepend(char(size >> 24));
        const QByteArray text = qUncompress(z);
        if (text.startsWith("/GSa gs"))
            contents.append(text);
    }
    static const QRegularExpression picture(QStringLiteral(
        "([\\d.-]+) 0 0 ([\\d.-]+) ([\\d.-]+) ([\\d.-]+) cm\\s*([\\d.-]+) 0 0 ([\\d.-]+) ([\\d.-]+) ([\\d.-]+) cm /Im\\d+\\s+Do"));
    static const QRegularExpression text(QStringLiteral("Tm\\s*([\\d.-]+) ([\\d.-]+) Td"));
    for (qsizetype i = 0; i < pages.size() && i < contents.size(); ++i) {
        const QString c = QString::fromLatin1(contents[i]);
        for (auto m = picture.globalMatch(c); m.hasNext();) {
            const auto h = m.next();
            const double sx = h.captured(1).toDouble(), sy = h.captured(2).toDouble();
            const double x = h.captured(3).toDouble(), y = h.captured(4).toDouble();
            const double w = h.captured(5).toDouble() * sx, hh = std::abs(h.captured(6).toDouble()) * sy;
            pages[i].pictures.append(QRectF(x, y, w, hh));
        }
        for (auto m = text.globalMatch(c); m.hasNext();) {
            const auto h = m.next();
            pages[i].texts.append(QPointF(h.captured(1).toDouble(), -h.captured(2).toDouble()));
        }
    }
    return pages;
}

// Fails the running test on any Qt warning but the offscreen platform's
// notes about what it cannot do.
inline void failOnQtWarnings()
{
    QTest::failOnWarning(QRegularExpression(QStringLiteral("^(?!This plugin does not support).*")));
}

} // namespace tav::test
