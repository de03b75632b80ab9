#include "shell/menus.h"

#include "common/window.h"
#include "platform/controls.h"

#include <QHash>

namespace tav {

namespace {

const QStringList& standardCaptions()
{
    static const QStringList c = {
        QStringLiteral("Last Form"),
        QStringLiteral("1. Sampling"),
        QStringLiteral("2. Graphical relations"),
        QStringLiteral("3. Concepts of simulation"),
        QStringLiteral("4. Simulation of the inspection"),
        QStringLiteral("5. Ingress and introduction"),
        QStringLiteral("6. Inspection and establishment"),
        QStringLiteral("7. Inspection risks"),
        QStringLiteral("8. Acceptable level of risk"),
        QStringLiteral("9. Appropriated level of protection"),
        QStringLiteral("10. Phytosanitary measures: Holistic approach"),
        QStringLiteral("11. Phytosanitary measures: Effect"),
        QStringLiteral("12. Phytosanitary measures: Simulation"),
        QStringLiteral("13. Phytosanitary measures: Efficacy and ALP"),
    };
    return c;
}

struct IndexMenu {
    int topic = 0;
    QHash<int, QString> captions; // where this window's caption differs
    QStringList names;            // items 1.. with their own names
};

const QHash<QString, IndexMenu>& indexMenus()
{
    static const QHash<QString, IndexMenu> m = [] {
        QHash<QString, IndexMenu> m;
        m.insert(QStringLiteral("Form1"),
                 {1,
                  {{13, QStringLiteral("13. Phytosanitary measures: Efficay and ALP")}},
                  {QStringLiteral("menu1_muestra"), QStringLiteral("menu2_relacionesGraficas"),
                   QStringLiteral("menu3_Conceptos_simula"), QStringLiteral("menu4_Simulacion_inspec"),
                   QStringLiteral("menu5_Ingreso"), QStringLiteral("menu6_inspeccion"), QStringLiteral("menu7_riesgos"),
                   QStringLiteral("menu8_NAR"), QStringLiteral("menu9_NAP")}});
        m.insert(QStringLiteral("Form2"),
                 {2, {{1, QStringLiteral("1.Sampling")}, {7, QStringLiteral("7. Inspection risks ")}}, {}});
        m.insert(QStringLiteral("Form3"), {3, {{8, QStringLiteral("8. Acceptable level of risk ")}}, {}});
        m.insert(QStringLiteral("Form4"),
                 {4,
                  {{4, QStringLiteral("4. Simulation of the inspections")},
                   {9, QStringLiteral("9.  Appropriated level of protection")}},
                  {}});
        m.insert(QStringLiteral("Form5"),
                 {5, {{7, QStringLiteral("7. Inspection risk")}, {8, QStringLiteral("8. Aceptable level of risk")}}, {}});
        m.insert(QStringLiteral("Form6"), {6, {}, {}});
        m.insert(QStringLiteral("Form7"), {7, {}, {}});
        m.insert(QStringLiteral("Form8"), {8, {{7, QStringLiteral("7. Inspections risks")}}, {}});
        m.insert(QStringLiteral("Form9"), {9, {}, {}});
        m.insert(QStringLiteral("Form10"), {10, {}, {}});
        m.insert(QStringLiteral("Form10a"), {11, {{11, QStringLiteral("11. Phytosanitary measures: Effects")}}, {}});
        m.insert(QStringLiteral("Form11"),
                 {12,
                  {{4, QStringLiteral("4. Simulatioin of the inspection")},
                   {6, QStringLiteral("6. Inspection and establhisment")}},
                  {}});
        m.insert(QStringLiteral("Form12"), {13, {}, {}});
        m.insert(QStringLiteral("FResultSim"), {0, {}, {}});
        return m;
    }();
    return m;
}

} // namespace

const QList<FileSubmenu>* fileSubmenus(const QString& window)
{
    using Items = QList<std::pair<QString, QString>>;
    static const QList<FileSubmenu> form4 = {
        {QStringLiteral("menuFileSave"), QStringLiteral("Save"),
         Items{{QStringLiteral("menuFileSaveForm"), QStringLiteral("Form...")},
               {QStringLiteral("menuFileSaveTable"), QStringLiteral("Table...")},
               {QStringLiteral("menuFileSavePicture"), QStringLiteral("Picture...")}}},
        {QStringLiteral("menuFilePrint"), QStringLiteral("Print"),
         Items{{QStringLiteral("menuFilePrintForm"), QStringLiteral("Form...")},
               {QStringLiteral("menuFilePrintTable"), QStringLiteral("Table...")},
               {QStringLiteral("menuFilePrintPic"), QStringLiteral("Picture...")}}},
    };
    static const QList<FileSubmenu> form11 = {
        {QStringLiteral("menuFileSave"), QStringLiteral("Save"),
         Items{{QStringLiteral("menuFileSavePicture"), QStringLiteral("Picture...")},
               {QStringLiteral("menuFileSaveResults"), QStringLiteral("Results...")}}},
        {QStringLiteral("menuFilePrint"), QStringLiteral("Print"),
         Items{{QStringLiteral("menuFilePrintPicture"), QStringLiteral("Picture...")},
               {QStringLiteral("menuFilePrintResults"), QStringLiteral("Results...")}}},
    };
    if (window == QLatin1String("Form4"))
        return &form4;
    if (window == QLatin1String("Form11"))
        return &form11;
    return nullptr;
}

QString fileCloseName(const QString& window)
{
    return window == QLatin1String("FGrafico3") ? QStringLiteral("meniFileClose") : QStringLiteral("menuFileClose");
}

QString fileExitName(const QString& window)
{
    const bool meni = window == QLatin1String("Form2") || window == QLatin1String("FGrafico2");
    return meni ? QStringLiteral("meniFileExit") : QStringLiteral("menuFileExit");
}

QString fileMenuName(const QString& window)
{
    static const QHash<QString, QString> names = {
        {QStringLiteral("Form2"), QStringLiteral("meniArchivo")},   {QStringLiteral("Form10a"), QStringLiteral("menuArquivo")},
        {QStringLiteral("Form11"), QStringLiteral("menuArquivo")},  {QStringLiteral("FGrafico1"), QStringLiteral("menuARchivo")},
        {QStringLiteral("FGrafico2"), QStringLiteral("menuSave")},  {QStringLiteral("FGrafico3"), QStringLiteral("menuFile")},
        {QStringLiteral("FGrafico4"), QStringLiteral("menuFile")},  {QStringLiteral("FGrafico5"), QStringLiteral("menuFile")},
        {QStringLiteral("FGrafico6"), QStringLiteral("menuFile")},
    };
    return names.value(window, QStringLiteral("menuArchivo"));
}

QString filePrintName(const QString& window)
{
    static const QHash<QString, QString> names = {
        {QStringLiteral("Form2"), QStringLiteral("MenuFilePrint")},
        {QStringLiteral("Form9"), QStringLiteral("menuFilePrintr")},
        {QStringLiteral("FGrafico3"), QStringLiteral("meniFilePrint")},
    };
    return names.value(window, QStringLiteral("menuFilePrint"));
}

QString fileSaveName(const QString& window)
{
    return window == QLatin1String("FGrafico12") ? QStringLiteral("meniFileSave") : QStringLiteral("menuFileSave");
}

QString editCopyName(const QString& window)
{
    const bool copia = window == QLatin1String("Form2") || window == QLatin1String("Form12");
    return copia ? QStringLiteral("menuEditCopia") : QStringLiteral("menuEditCopy");
}

bool hasIndexMenu(const QString& window) { return indexMenus().contains(window); }

int ownTopic(const QString& window) { return indexMenus().value(window).topic; }

QString indexItemName(const QString& window, int item)
{
    const QStringList& own = indexMenus().value(window).names;
    if (item >= 1 && item <= own.size())
        return own[item - 1];
    return QStringLiteral("menu") + QString::number(item);
}

QString indexItemCaption(const QString& window, int item)
{
    return indexMenus().value(window).captions.value(item, standardCaptions().value(item));
}

void buildPageMenus(FormWidget* w, const QString& window)
{
    QMenu* file = addMenu(w, fileMenuName(window), QStringLiteral("File"));
    if (const QList<FileSubmenu>* subs = fileSubmenus(window)) {
        // The pages with two views save and print through submenus that
        // choose the view first.
        for (const FileSubmenu& sub : *subs) {
            QMenu* m = file->addMenu(sub.caption);
            m->setObjectName(sub.name + QStringLiteral("_menu"));
            m->menuAction()->setObjectName(sub.name);
            for (const auto& [name, caption] : sub.items)
                addItem(m, name, caption);
        }
    } else {
        addItem(file, fileSaveName(window), QStringLiteral("Save..."));
        addItem(file, filePrintName(window), QStringLiteral("Print..."));
    }
    addItem(file, fileCloseName(window), QStringLiteral("Close"));
    addItem(file, fileExitName(window), QStringLiteral("Exit"));
    QMenu* edit = addMenu(w, QStringLiteral("menuEdit"), QStringLiteral("Edit"));
    addItem(edit, editCopyName(window), QStringLiteral("Copy"));

    if (!hasIndexMenu(window))
        return;
    QMenu* index = addMenu(w, QStringLiteral("menuIndice"), QStringLiteral("Index"));
    const int own = ownTopic(window);
    for (int item = 0; item <= 13; ++item) {
        QAction* a = addItem(index, indexItemName(window, item), indexItemCaption(window, item));
        // The page's own topic is greyed from the moment the page loads.
        a->setEnabled(item == 0 || item != own);
    }
}

} // namespace tav
