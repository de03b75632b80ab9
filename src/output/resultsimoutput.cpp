#include "output/resultsimoutput.h"

#include "common/errors.h"
#include "common/window.h"
#include "output/canvas.h"
#include "output/capture.h"
#include "output/compose.h"
#include "output/fprintpreview.h"
#include "output/saving.h"
#include "output/services.h"
#include "platform/controls.h"
#include "platform/grid.h"
#include "simulation/fresultsim.h"

namespace tav {

namespace {

const QString kAdvice = QStringLiteral("Reload and try again");
const QString kPrintTitle = QStringLiteral("Error printing results simulation");
// The window has no box of its own for its save; a failing file is
// reported rather than passed over in silence.
const QString kSaveTitle = QStringLiteral("Error saving results simulation");

bool shown(Form& frm, const QString& name) { return !frm.ctl(name)->isHidden(); }
QString text(Form& frm, const char* name) { return frm.ctl<Label>(QString::fromLatin1(name))->text(); }

// One line of the report: the caption labels and value labels joined by
// their separators. The window numbers its Label1 captions in the order it
// lays them out: 0 "Data", 1 to 6 the inputs, 7 "Results", 8 to 16 the
// averages, 17 and 18 the two halves of the total's sentence.
struct Piece {
    const char* label; // nullptr: the fixed text
    const char* fixed;
};

using ReportLine = QList<Piece>;

ReportLine pair(const char* caption, const char* value)
{
    return {{caption, nullptr}, {nullptr, " = "}, {value, nullptr}};
}

const QList<ReportLine>& reportLayout()
{
    static const QList<ReportLine> l = {
        {{"Label2", nullptr}},
        {},
        {{"Label1_0", nullptr}},
        {},
        pair("Label1_1", "Text1_0"),
        pair("Label1_3", "Text1_2"),
        pair("Label1_2", "Text1_1"),
        pair("Label1_5", "p1"),
        pair("Label1_6", "p2"),
        {},
        {},
        {{"Label1_7", nullptr}},
        {},
        pair("Label1_8", "Ling"),
        pair("Label1_9", "Lpct_ing"),
        pair("Label1_10", "Lpre_ing"),
        pair("Label1_11", "Lencontradas"),
        pair("Label1_12", "Lingreso"),
        {{"Label1_17", nullptr},
         {nullptr, " "},
         {"Lnsim", nullptr},
         {nullptr, " "},
         {"Label1_18", nullptr},
         {nullptr, " = "},
         {"Lingreso_total", nullptr}},
        pair("Label1_13", "Lp1medio"),
        pair("Label1_14", "Lp2medio"),
        pair("Label1_15", "Np1medio"),
        pair("Label1_16", "Np2medio"),
    };
    return l;
}

QString reportLine(Form& frm, const ReportLine& line)
{
    QString s;
    for (const Piece& p : line)
        s += p.label ? text(frm, p.label) : QString::fromLatin1(p.fixed);
    return s;
}

FResultSim& window(Form& frm) { return dynamic_cast<FResultSim&>(frm); }

// The results picture: the four pictures at their places, the headings
// over them and the row of parameters with their values below them.
void composePanel(Form& frm, ErrorHandler& t)
{
    Composer c(t, window(frm).salvando() == 1);
    auto box = [&](const char* name) {
        return [&frm, name] { return frm.ctl<PictureBox>(QString::fromLatin1(name)); };
    };
    auto label = [&](const char* name, int i) {
        return [&frm, name, i]() -> QLabel* { return frm.ctl<Label>(QString::fromLatin1(name), i); };
    };
    TwipBox panel, first;
    c.step([&] { panel = twipBox(frm.ctl(QStringLiteral("Picture5"))); })
        && c.sizeCanvas(panel.width, panel.height)
        && c.step([&] { first = twipBox(box("Picture1")()); })
        && c.sizeStaging(stagingPicture(), first.width, first.height)
        && c.picture(box("Picture1"), stagingPicture());
    for (const char* name : {"Picture2", "Picture3", "Picture4"})
        c.picture(box(name), secondStagingPicture());
    // The verdict and the headings are white or red on the black panel;
    // white would vanish on the page.
    for (int i = 0; i <= 3; ++i)
        c.caption(label("Label4", i), CaptionColor::CopyWhiteAsBlack);
    c.step([] { canvas()->setForeColor(QColor(0, 0, 0)); });
    for (const char* name : {"Label14", "Label13"})
        for (int i = 0; i <= 4; ++i)
            c.caption(label(name, i), CaptionColor::Current);
    c.finish();
}

} // namespace

QStringList resultSimReport(Form& frm)
{
    QStringList lines;
    for (const ReportLine& l : reportLayout())
        lines << reportLine(frm, l);
    return lines;
}

void resultSimPrint(Form& frm)
{
    preparePrint(frm.widgetIfLoaded());
    TrapErrors t(kAdvice, kPrintTitle);
    bool panel = false, table = false;
    if (!t.step([&] { panel = shown(frm, QStringLiteral("Picture5")); }))
        return;
    if (panel) {
        composePanel(frm, t);
        return;
    }
    if (!t.step([&] { table = shown(frm, QStringLiteral("Grid1")); }))
        return;
    if (!table)
        t.step([&] { imprimeform(frm); });
    else
        t.step([] { fprintpreview().show(); });
}

void resultSimSave(Form& frm)
{
    TrapErrors t(kAdvice, kSaveTitle);
    bool panel = false, table = false;
    QString filter = kDocFilter, ext = QStringLiteral(".doc");
    if (!t.step([&] { panel = shown(frm, QStringLiteral("Picture5")); })
        || !t.step([&] { table = shown(frm, QStringLiteral("Grid1")); }))
        return;
    if (panel) {
        filter = kBitmapFilter;
        ext = QStringLiteral(".bmp");
    } else if (table) {
        filter = kTextFilter;
        ext = QStringLiteral(".txt");
    }
    const std::optional<QString> name = askSaveName(frm, filter, ext, t);
    if (!name)
        return;
    if (panel) {
        FResultSim& w = window(frm);
        saveComposed([&w](int v) { w.setSalvando(v); }, [&frm] { resultSimPrint(frm); }, *name, t);
        return;
    }
    if (table) {
        t.step([&] { salvagrid(*frm.ctl<Grid>(QStringLiteral("Grid1")), *name); });
        return;
    }
    TextFile file;
    if (!t.step([&] { file.open(*name); }))
        return;
    for (const ReportLine& l : reportLayout())
        if (!t.step([&] { file.write(reportLine(frm, l) + QStringLiteral("\r\n")); }))
            return;
    t.step([&] { file.close(); });
}

} // namespace tav
