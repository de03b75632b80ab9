#include "output/form11output.h"
#include "output/services.h"

#include "common/errors.h"
#include "common/window.h"
#include "measures/form11.h"
#include "output/canvas.h"
#include "output/compose.h"
#include "output/saving.h"
#include "platform/combo.h"
#include "platform/controls.h"

#include <QLineEdit>
#include <QRadioButton>

namespace tav {

namespace {

const QString kAdvice = QStringLiteral("Reload and try again");
const QString kPrintTitle = QStringLiteral("Error printing Form11");
const QString kSaveTitle = QStringLiteral("Error savinf Form11");
// Label24(16) wraps on the screen; the page prints it on two lines, the
// second from this character (counted from 0) on.
constexpr int kNoteBreak = 55;

Form11& page(Form& frm) { return dynamic_cast<Form11&>(frm); }
bool resultsShown(Form& frm) { return !frm.ctl(QStringLiteral("Picture10"))->isHidden(); }
QString caption(Form& frm, const char* name, int i) { return frm.ctl<Label>(QString::fromLatin1(name), i)->text(); }
QString option(Form& frm, int i) { return frm.ctl<QRadioButton>(QStringLiteral("Option1"), i)->text(); }

// One text of the results panel on the canvas: in the element's colour, at
// its place, in its font name, size and bold, as one line.
bool printText(Composer& c, const std::function<QColor()>& color, const std::function<QPoint()>& at,
               const std::function<QFont()>& font, const std::function<QString()>& text)
{
    return c.step([&] { canvas()->setForeColor(color()); })
        && c.step([&] { canvas()->setCurrentY(at().y()); })
        && c.step([&] { canvas()->setCurrentX(at().x()); })
        && c.step([&] {
               QFont f = canvas()->font();
               f.setFamily(font().family());
               canvas()->setFont(f);
           })
        && c.step([&] {
               QFont f = canvas()->font();
               f.setPointSizeF(font().pointSizeF());
               canvas()->setFont(f);
           })
        && c.step([&] {
               QFont f = canvas()->font();
               f.setBold(font().bold());
               canvas()->setFont(f);
           })
        && c.step([&] { canvas()->print(text()); });
}

// The results as the page is built, before any recomputation: each value
// label shows its own design caption.
bool resultsComputed(Form& frm)
{
    static const char* const l88[] = {"Label25", "Label29", "Label30", "Label34",
                                      "Label26", "Label33", "Label47", "Label37"};
    static const char* const l21[] = {"L21", "Label38", "Label39", "L48"};
    for (int i = 0; i < 8; ++i)
        if (caption(frm, "Label88", i) == QLatin1String(l88[i]))
            return false;
    for (int i = 0; i < 4; ++i)
        if (caption(frm, "Label21", i) == QLatin1String(l21[i]))
            return false;
    return true;
}

// A visit on which the page has not yet computed has nothing but design
// captions to report: the model runs first.
void computeResults(Form& frm)
{
    if (!resultsComputed(frm))
        page(frm).atualiza();
}

QPoint topLeft(const QWidget* w)
{
    const TwipBox b = twipBox(w);
    return {b.left, b.top};
}

void composePictures(Form& frm, Composer& c)
{
    TwipBox panel;
    c.step([&] { panel = twipBox(frm.ctl(QStringLiteral("Picture5"))); }) && c.sizeCanvas(panel.width, panel.height);
    for (const char* name : {"Picture6", "Picture7", "Picture1", "Picture4", "Picture2", "Picture3"}) {
        auto box = [&frm, name] { return frm.ctl<PictureBox>(QString::fromLatin1(name)); };
        TwipBox b;
        c.step([&] { b = twipBox(box()); }) && c.sizeStaging(stagingPicture(), b.width, b.height)
            && c.picture(box, stagingPicture());
    }
    // Yellow on the dark blue panel; blue and black on the white page.
    c.step([] { canvas()->setForeColor(QColor(0, 0, 255)); });
    for (int i = 0; i <= 5; ++i)
        c.caption([&frm, i] { return frm.ctl<Label>(QStringLiteral("Label4"), i); }, CaptionColor::Current);
    c.step([] { canvas()->setForeColor(QColor(0, 0, 0)); });
    for (int i = 0; i <= 7; ++i)
        c.caption([&frm, i] { return frm.ctl<Label>(QStringLiteral("Label80"), i); }, CaptionColor::Current);
    for (int i = 0; i <= 6; ++i)
        c.caption([&frm, i] { return frm.ctl<Label>(QStringLiteral("Label99"), i); }, CaptionColor::Current);
}

void composeResults(Form& frm, Composer& c)
{
    TwipBox panel;
    c.step([&] { panel = twipBox(frm.ctl(QStringLiteral("Picture10"))); }) && c.sizeCanvas(panel.width, panel.height);
    auto labelText = [&](const QString& name, int i) {
        auto l = [&frm, name, i] { return frm.ctl<Label>(name, i); };
        printText(
            c, [l] { return l()->palette().color(QPalette::WindowText); }, [l] { return topLeft(l()); },
            [l] { return l()->font(); }, [l] { return l()->text(); });
    };
    for (int i = 0; i <= 19; ++i) {
        if (i != 16) {
            labelText(QStringLiteral("Label24"), i);
            continue;
        }
        auto note = [&frm] { return frm.ctl<Label>(QStringLiteral("Label24"), 16); };
        auto color = [note] { return note()->palette().color(QPalette::WindowText); };
        auto font = [note] { return note()->font(); };
        printText(c, color, [note] { return topLeft(note()); }, font,
                  [note] { return note()->text().left(kNoteBreak); });
        // One text height lower: the height of the whole caption in the
        // font the first line left on the canvas.
        double lower = 0;
        c.step([&] { lower = canvas()->textHeight(note()->text()); });
        printText(c, color, [note, lower] { return topLeft(note()) + QPoint(0, int(lower)); }, font,
                  [note] { return note()->text().mid(kNoteBreak); });
    }
    for (int i = 0; i <= 7; ++i)
        labelText(QStringLiteral("Label88"), i);
    for (int i = 0; i <= 3; ++i)
        labelText(QStringLiteral("Label21"), i);
    auto combo = [&frm] { return frm.ctl<ComboBox>(QStringLiteral("Combo2")); };
    printText(
        c, [combo] { return combo()->lineEdit()->palette().color(QPalette::Text); },
        [combo] { return topLeft(combo()); }, [combo] { return combo()->font(); }, [combo] { return combo()->text(); });
    for (int i = 0; i <= 5; ++i) {
        auto o = [&frm, i] { return frm.ctl<QRadioButton>(QStringLiteral("Option1"), i); };
        // The options stand inside the frame; the page takes no frame border.
        auto at = [&frm, o] { return topLeft(o()) + topLeft(frm.ctl(QStringLiteral("Frame1"))); };
        printText(
            c, [o] { return o()->palette().color(QPalette::WindowText); }, at, [o] { return o()->font(); },
            [o] { return o()->text(); });
    }
}

} // namespace

QString toColumn(const QString& text, int column)
{
    // Counted on the line being written, after any line end already in it.
    const int at = column - 1;
    const qsizetype start = text.lastIndexOf(QStringLiteral("\r\n"));
    const qsizetype used = start < 0 ? text.size() : text.size() - start - 2;
    if (used > at)
        return text + QStringLiteral("\r\n") + QString(at, QLatin1Char(' '));
    return text + QString(at - used, QLatin1Char(' '));
}

QStringList form11Report(Form& frm)
{
    auto l24 = [&](int i) { return caption(frm, "Label24", i); };
    auto l88 = [&](int i) { return caption(frm, "Label88", i); };
    auto l21 = [&](int i) { return caption(frm, "Label21", i); };
    const QString sp = QStringLiteral(" ");
    QStringList lines;
    lines << l24(19) << QString();
    for (int i = 0; i <= 3; ++i)
        lines << toColumn(toColumn(toColumn(l24(i), 20) + l88(i), 45) + l24(i + 4), 63) + l88(i + 4);
    lines << QString();
    lines << l24(8) + QStringLiteral("  ") + l21(1);
    lines << QStringList{l24(9), frm.ctl<ComboBox>(QStringLiteral("Combo2"))->text(), l24(10), l21(0), l24(11),
                         l21(2), l24(12)}
                 .join(sp);
    lines << QString();
    lines << l24(13) + sp + l21(3) + sp + l24(14);
    lines << QString(41, QLatin1Char('-'));
    lines << QString() << l24(15) << QString() << l24(16);
    lines << QStringLiteral("Choosed: ") + l24(17);
    lines << QString() << l24(18) << QString();
    for (int i = 0; i <= 2; ++i)
        lines << toColumn(option(frm, i), 45) + option(frm, i + 3);
    return lines;
}

void form11Print(Form& frm)
{
    preparePrint(frm.widgetIfLoaded());
    TrapErrors t(kAdvice, kPrintTitle);
    bool results = false;
    if (!t.step([&] { results = resultsShown(frm); }))
        return;
    if (results) {
        if (!t.step([&] { computeResults(frm); }))
            return;
        // Always printed: the results are saved as text, never as a picture.
        Composer c(t, false);
        composeResults(frm, c);
        c.finish();
    } else {
        Composer c(t, page(frm).flagsalva == 1);
        composePictures(frm, c);
        c.finish();
    }
}

void form11Save(Form& frm)
{
    TrapErrors t(kAdvice, kSaveTitle);
    bool results = false;
    if (!t.step([&] { results = resultsShown(frm); }))
        return;
    const std::optional<QString> name = results
        ? askSaveName(frm, kReportFilter, QStringLiteral(".doc"), t)
        : askSaveName(frm, kBitmapFilter, QStringLiteral(".bmp"), t);
    if (!name)
        return;
    if (!results) {
        Form11& p = page(frm);
        saveComposed([&p](int v) { p.flagsalva = v; }, [&frm] { form11Print(frm); }, *name, t);
        return;
    }
    // The file closes however the steps end (TextFile's destructor), so
    // that the next save writes only its own file.
    TextFile file;
    QStringList lines;
    if (!t.step([&] { computeResults(frm); }) || !t.step([&] { file.open(*name); }))
        return;
    if (!t.step([&] { lines = form11Report(frm); }))
        return;
    for (const QString& l : lines)
        if (!t.step([&] { file.write(l + QStringLiteral("\r\n")); }))
            return;
    t.step([&] { file.close(); });
}

void form11MenuCommand(Form& frm, bool results, bool save)
{
    IgnoreErrors e;
    e.step([&] { frm.ctl(QStringLiteral("Picture10"))->setVisible(results); });
    e.step([&] {
        if (save)
            form11Save(frm);
        else
            form11Print(frm);
    });
}

} // namespace tav
