#include "output/wiring.h"

#include "common/errors.h"
#include "common/window.h"
#include "output/capture.h"
#include "output/form11output.h"
#include "output/form4output.h"
#include "output/graph12output.h"
#include "output/graphoutput.h"
#include "output/resultsimoutput.h"
#include "output/saving.h"
#include "platform/actions.h"
#include "platform/controls.h"

#include <QHash>

namespace tav {

namespace {

QHash<QString, OutputRow> makeRows()
{
    QHash<QString, OutputRow> m;
    // The topic pages without a picture panel print their window image and
    // save their texts.
    for (const char* page :
         {"Form1", "Form2", "Form3", "Form5", "Form6", "Form7", "Form8", "Form9", "Form10", "Form10a", "Form12"})
        m.insert(QString::fromLatin1(page), {PrintCommand::PageImage, SaveCommand::PageText, true});
    // The graph pages with one chart print and save the view in sight.
    for (const char* g : {"FGrafico1", "FGrafico2", "FGrafico3", "FGrafico4", "FGrafico5", "FGrafico6"})
        m.insert(QString::fromLatin1(g), {PrintCommand::GraphView, SaveCommand::GraphView, true});
    // The start page only copies.
    m.insert(QStringLiteral("Indice"), {PrintCommand::None, SaveCommand::None, true});
    // The inspection page prints and saves its panel, its table or itself.
    m.insert(QStringLiteral("Form4"), {PrintCommand::InspectionPage, SaveCommand::InspectionPage, true});
    // Graphic 12 composes its two charts into one picture.
    m.insert(QStringLiteral("FGrafico12"), {PrintCommand::TwoCharts, SaveCommand::TwoCharts, true});
    // The results window and the measure page print and save the view in
    // sight, the measure page's submenus choosing it first.
    m.insert(QStringLiteral("FResultSim"), {PrintCommand::ResultSim, SaveCommand::ResultSim, true});
    m.insert(QStringLiteral("Form11"), {PrintCommand::Measure, SaveCommand::Measure, true});
    return m;
}

const QHash<QString, OutputRow>& rows()
{
    static const QHash<QString, OutputRow> m = makeRows();
    return m;
}

// A menu item under any of the names the windows give it.
QAction* item(FormWidget* w, const QStringList& names)
{
    for (const QString& n : names)
        if (QAction* a = w->findChild<QAction*>(n))
            // A submenu of that name is not the command itself.
            if (!a->menu())
                return a;
    return nullptr;
}

} // namespace

OutputRow outputRow(const QString& window) { return rows().value(window); }

void Image7_Click(Form& frm)
{
    ignoring([&] {
        switch (outputRow(frm.name()).print) {
        case PrintCommand::PageImage: imprimeform(frm); break;
        case PrintCommand::GraphView: graphPrint(frm); break;
        case PrintCommand::InspectionPage: form4Print(frm); break;
        case PrintCommand::TwoCharts: graph12Print(frm); break;
        case PrintCommand::ResultSim: resultSimPrint(frm); break;
        case PrintCommand::Measure: form11Print(frm); break;
        case PrintCommand::None: break;
        }
    });
}

void Image8_Click(Form& frm)
{
    ignoring([&] {
        switch (outputRow(frm.name()).save) {
        case SaveCommand::PageText: savePageText(frm); break;
        case SaveCommand::GraphView: graphSave(frm); break;
        case SaveCommand::InspectionPage: form4Save(frm); break;
        case SaveCommand::TwoCharts: graph12Save(frm); break;
        case SaveCommand::ResultSim: resultSimSave(frm); break;
        case SaveCommand::Measure: form11Save(frm); break;
        case SaveCommand::None: break;
        }
    });
}

void wireOutput(Form& self, FormWidget* w)
{
    const OutputRow row = outputRow(self.name());
    Form* page = &self;
    if (row.copy)
        if (QAction* a = item(w, {QStringLiteral("menuEditCopy"), QStringLiteral("menuEditCopia")}))
            onSignal(a, &QAction::triggered, page, [page] { ignoring([page] { copiajanela(*page); }); });
    if (row.print != PrintCommand::None) {
        if (auto* b = w->findChild<ImageButton*>(QStringLiteral("Image7")))
            onSignal(b, &ImageButton::clicked, page, [page] { Image7_Click(*page); });
        if (QAction* a = item(w, {QStringLiteral("menuFilePrint"), QStringLiteral("MenuFilePrint"),
                                  QStringLiteral("menuFilePrintr"), QStringLiteral("meniFilePrint")}))
            onSignal(a, &QAction::triggered, page, [page] { Image7_Click(*page); });
    }
    if (row.save != SaveCommand::None) {
        if (auto* b = w->findChild<ImageButton*>(QStringLiteral("Image8")))
            onSignal(b, &ImageButton::clicked, page, [page] { Image8_Click(*page); });
        if (QAction* a = item(w, {QStringLiteral("menuFileSave"), QStringLiteral("meniFileSave")}))
            onSignal(a, &QAction::triggered, page, [page] { Image8_Click(*page); });
    }
    if (row.print == PrintCommand::InspectionPage)
        wireForm4Menus(self, w);
    if (row.print == PrintCommand::Measure) {
        // The measure page's submenus choose the panel first.
        const struct {
            const char* name;
            bool results, save;
        } items[] = {{"menuFilePrintPicture", false, false},
                     {"menuFilePrintResults", true, false},
                     {"menuFileSavePicture", false, true},
                     {"menuFileSaveResults", true, true}};
        for (const auto& it : items)
            if (QAction* a = item(w, {QString::fromLatin1(it.name)}))
                onSignal(a, &QAction::triggered, page,
                                 [page, r = it.results, s = it.save] { form11MenuCommand(*page, r, s); });
    }
}

} // namespace tav
