#include "output/saving.h"

#include "common/errors.h"
#include "common/runtime.h"
#include "common/window.h"
#include "output/services.h"
#include "platform/chart.h"
#include "platform/controls.h"
#include "platform/grid.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

namespace tav {

const QString kDocFilter = QStringLiteral("Word (.doc)|*.doc|All files(*.*)|*.*");
const QString kTextFilter = QStringLiteral("Text (.txt)|*.txt|All files(*.*)|*.*");
const QString kBitmapFilter = QStringLiteral("BitMap (.bmp)|*.bmp|All files(*.*)|*.*");
const QString kReportFilter = QStringLiteral("Word (.doc) |*.doc|Text (.txt)|*.txt|All files(*.*)|*.*");

namespace {
const char* const kFileNameProperty = "saveDialogFileName";
}

QString dialogFileName(Form& frm)
{
    FormWidget* w = frm.widgetIfLoaded();
    return w ? w->property(kFileNameProperty).toString() : QString();
}

std::optional<QString> askSaveName(Form& frm, const QString& filter, const QString& defaultExt, ErrorHandler& h)
{
    SaveRequest r;
    std::optional<QString> answer;
    QString name;
    bool ok = h.step([&] { r.title = QStringLiteral("Save"); })
        && h.step([&] { r.filter = filter; })
        && h.step([&] { r.defaultExt = defaultExt; })
        && h.step([&] { r.flags = kSaveFlags; })
        && h.step([&] { r.fileName = dialogFileName(frm); })
        && h.step([&] {
               answer = dialogs().showSave(frm.widget(), r);
               if (answer)
                   frm.widget()->setProperty(kFileNameProperty, *answer);
           })
        && h.step([&] { name = answer.value_or(QString()); });
    if (!ok || !answer || name.isEmpty() || name == QLatin1String(" "))
        return std::nullopt;
    return name;
}

// Text files -----------------------------------------------------------------

void TextFile::open(const QString& name)
{
    busy_.emplace();
    file_.open(name);
}

void TextFile::write(const QString& text)
{
    if (busy_)
        busy_->progress();
    file_.write(text.toLocal8Bit());
}

void TextFile::close()
{
    if (busy_)
        busy_->progress();
    file_.commit();
    busy_.reset();
}

bool saveNameAccepted(int flags, const QString& name)
{
    constexpr int kPathMustExist = 0x800;
    return (flags & kPathMustExist) == 0 || QFileInfo(name).absoluteDir().exists();
}

// Page text files -------------------------------------------------------------

namespace {

struct PageSave {
    PageTextSpec spec;
    QString title;
    QString advice;
};

QHash<QString, PageSave> makePageSaves()
{
    const QString crlf = QStringLiteral("\r\n");
    const QString two = crlf + crlf;
    const QString lf2 = QStringLiteral("\n\n");
    const QString advice = QStringLiteral("Reload and try again");
    auto labels = [](int n) {
        QStringList l;
        for (int i = 0; i < n; ++i)
            l << arrayName(QStringLiteral("Label1"), i);
        return l;
    };
    auto with = [](QStringList l, int at, const char* formula) {
        l.insert(at, QLatin1Char('=') + QString::fromLatin1(formula));
        return l;
    };
    auto error = [](const char* page) { return QStringLiteral("Error saving ") + QString::fromLatin1(page); };
    const QString title2 = QStringLiteral("Label2");
    QHash<QString, PageSave> m;
    m.insert(QStringLiteral("Form1"),
             {{QStringLiteral("Label4"), {QStringLiteral("Label1"), QStringLiteral("Label2")}, two, QStringLiteral(" ")},
              error("Form1"),
              advice});
    m.insert(QStringLiteral("Form2"), {{title2, labels(4), two, crlf}, error("Form2"), advice});
    m.insert(QStringLiteral("Form3"), {{title2, labels(2), two, crlf}, error("Form3"), advice});
    m.insert(QStringLiteral("Form5"), {{title2, labels(4), two, crlf}, error("Form5"), advice});
    m.insert(QStringLiteral("Form6"),
             {{title2, with(labels(4), 2, "1/(p1 * p2) = RDL * Population"), two, two}, error("Form6"), advice});
    m.insert(QStringLiteral("Form7"), {{title2, labels(3), two, two}, error("Form7"), advice});
    m.insert(QStringLiteral("Form8"),
             {{title2, with(labels(4), 3, "RDL = 1/(p1 * p2 * Consignment_size)"), two, two}, error("Form8"), advice});
    m.insert(QStringLiteral("Form9"),
             {{title2, with(labels(5), 3, "RDL = (1-CL)/(p1 * p2 * Consignment_size)"), two, two},
              error("Form9"),
              advice});
    m.insert(QStringLiteral("Form10"),
             {{title2,
               with(labels(2), 1, "Consig size * Fiel prev * (1-PM effic) * Import/year * (1-CL) * p1 * p2 = Establ"),
               lf2, lf2},
              QStringLiteral("Error saving From10"),
              QStringLiteral("Reload and try agains")});
    // The formula line stands in place of Label1(1), which shows it in
    // another notation.
    QStringList tenA = labels(4);
    tenA[1] = QStringLiteral("=TotalEfficay = 1 - ((1 - efficay1) * (1 - efficacy2) * ... * (1 - efficacyN))");
    m.insert(QStringLiteral("Form10a"), {{title2, tenA, lf2, lf2}, error("Form10a"), advice});
    m.insert(QStringLiteral("Form12"), {{title2, labels(5), two, two}, error("Form12"), advice});
    return m;
}

const QHash<QString, PageSave>& pageSaves()
{
    static const QHash<QString, PageSave> m = makePageSaves();
    return m;
}

} // namespace

const PageTextSpec* pageTextSpec(const QString& window)
{
    auto it = pageSaves().constFind(window);
    return it == pageSaves().cend() ? nullptr : &it->spec;
}

QString pageText(const PageTextSpec& spec, const std::function<QString(const QString&)>& caption)
{
    QString text = caption(spec.titleLabel) + spec.afterTitle;
    for (qsizetype i = 0; i < spec.pieces.size(); ++i) {
        const QString& p = spec.pieces[i];
        if (i > 0)
            text += spec.between;
        text += p.startsWith(QLatin1Char('=')) ? p.mid(1) : caption(p);
    }
    return text + QStringLiteral("\r\n");
}

void savePageText(Form& frm)
{
    auto it = pageSaves().constFind(frm.name());
    if (it == pageSaves().cend())
        return;
    const PageSave& save = *it;
    TrapErrors t(save.advice, save.title);
    const std::optional<QString> name = askSaveName(frm, kDocFilter, QStringLiteral(".doc"), t);
    if (!name)
        return;
    QString text;
    TextFile file;
    t.step([&] { text = pageText(save.spec, [&](const QString& label) { return frm.ctl<QLabel>(label)->text(); }); })
        && t.step([&] { file.open(*name); })
        && t.step([&] { file.write(text); })
        && t.step([&] { file.close(); });
}

// Grid and chart --------------------------------------------------------------

void salvagrid(Grid& grade, const QString& arquivo, const QString& separador, const QString& aspas)
{
    TrapErrors t(QStringLiteral("Reload and try again"), QStringLiteral("Error exporting grid"));
    TextFile file;
    int rows = 0;
    if (!t.step([&] { file.open(arquivo); }) || !t.step([&] { rows = grade.rows(); }))
        return;
    for (int16_t r = 0; r < rows; ++r) {
        int cols = 0;
        if (!t.step([&] { grade.setRow(r); }) || !t.step([&] { cols = grade.cols(); }))
            return;
        for (int16_t c = 0; c < cols; ++c) {
            const bool ok = t.step([&] { grade.setCol(c); })
                && (c == 0 || t.step([&] { file.write(separador); }))
                && t.step([&] { file.write(aspas + grade.text() + aspas); });
            if (!ok)
                return;
        }
        if (!t.step([&] { file.write(QStringLiteral("\r\n")); }))
            return;
    }
    t.step([&] { file.close(); });
}

void salvagrafico(Form& frm, const QString& arquivo)
{
    TrapErrors t(QStringLiteral("Reload and try again"), QStringLiteral("Error Saving Graph"));
    auto graph = [&] { return frm.ctl<Chart>(QStringLiteral("Graph1")); };
    t.step([&] { graph()->setBackground(15); })
        && t.step([&] { graph()->refresh(); })
        && t.step([&] { graph()->setDrawMode(3); })
        && t.step([&] { graph()->setImageFile(arquivo); })
        && t.step([&] { graph()->setDrawMode(6); })
        && t.step([&] { graph()->setBackground(0); })
        && t.step([&] { graph()->setDrawMode(2); })
        && t.step([&] { graph()->refresh(); });
}

} // namespace tav
