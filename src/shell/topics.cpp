#include "shell/topics.h"

#include "common/runtime.h"
#include "graphs/graphpages.h"
#include "lessons/lessonpages.h"
#include "measures/form11.h"
#include "shell/about.h"
#include "shell/form1.h"
#include "shell/indice.h"
#include "simulation/form4.h"
#include "simulation/fresultsim.h"
#include "simulation/fsimula1.h"

#include <QHash>

namespace tav {

const QList<Topic>& topics()
{
    static const QList<Topic> t = {
        {1, QStringLiteral("1. Sampling"), QStringLiteral("Form1"), 2610, 1800},
        {2, QStringLiteral("2. Graphical relations"), QStringLiteral("Form2"), 2610, 2196},
        {3, QStringLiteral("3. Concepts of simulation"), QStringLiteral("Form3"), 2610, 2592},
        {4, QStringLiteral("4. Simulation of the inspection"), QStringLiteral("Form4"), 2610, 2988},
        {5, QStringLiteral("5. Ingress and introduction"), QStringLiteral("Form5"), 2610, 3384},
        {6, QStringLiteral("6. Inspection and establishment"), QStringLiteral("Form6"), 2610, 3780},
        {7, QStringLiteral("7. Inspection risks"), QStringLiteral("Form7"), 2610, 4176},
        {8, QStringLiteral("8. Acceptable level of risk"), QStringLiteral("Form8"), 2610, 4572},
        {9, QStringLiteral("9. Appropriated level of protection"), QStringLiteral("Form9"), 2610, 4968},
        {10, QStringLiteral("10. Phytosanitary measures: Holistic approch"), QStringLiteral("Form10"), 2415, 5370},
        {11, QStringLiteral("11. Phytosanitary measures: Effect"), QStringLiteral("Form10a"), 2415, 5760},
        {12, QStringLiteral("12. Phytosanitary measures: Simulation"), QStringLiteral("Form11"), 2415, 6150},
        {13, QStringLiteral("13. Phytosanitary measures: Efficacy and ALP"), QStringLiteral("Form12"), 2415, 6555},
    };
    return t;
}

namespace {
template <class T>
Form& ref()
{
    return formRef<T>();
}
using Maker = Form& (*)();

const QHash<QString, Maker>& makers()
{
    static const QHash<QString, Maker> m = {
        {QStringLiteral("Indice"), &ref<Indice>},         {QStringLiteral("Form1"), &ref<Form1>},
        {QStringLiteral("Form2"), &ref<Form2>},           {QStringLiteral("Form3"), &ref<Form3>},
        {QStringLiteral("Form4"), &ref<Form4>},           {QStringLiteral("Form5"), &ref<Form5>},
        {QStringLiteral("Form6"), &ref<Form6>},           {QStringLiteral("Form7"), &ref<Form7>},
        {QStringLiteral("Form8"), &ref<Form8>},           {QStringLiteral("Form9"), &ref<Form9>},
        {QStringLiteral("Form10"), &ref<Form10>},         {QStringLiteral("Form10a"), &ref<Form10a>},
        {QStringLiteral("Form11"), &ref<Form11>},         {QStringLiteral("Form12"), &ref<Form12>},
        {QStringLiteral("FGrafico1"), &ref<FGrafico1>},   {QStringLiteral("FGrafico2"), &ref<FGrafico2>},
        {QStringLiteral("FGrafico3"), &ref<FGrafico3>},   {QStringLiteral("FGrafico4"), &ref<FGrafico4>},
        {QStringLiteral("FGrafico5"), &ref<FGrafico5>},   {QStringLiteral("FGrafico6"), &ref<FGrafico6>},
        {QStringLiteral("FGrafico12"), &ref<FGrafico12>}, {QStringLiteral("FResultSim"), &ref<FResultSim>},
        {QStringLiteral("FSimula1"), &ref<FSimula1>},     {QStringLiteral("frmAbout"), &ref<frmAbout>},
    };
    return m;
}
} // namespace

Form& windowNamed(const QString& name)
{
    const Maker make = makers().value(name);
    if (!make)
        throw RuntimeError(ErrObjectRequired, QStringLiteral("Object required: %1").arg(name));
    return make();
}

Form& topicForm(int number)
{
    if (number < 1 || number > topics().size())
        raise(ErrSubscript);
    return windowNamed(topics()[number - 1].window);
}

} // namespace tav
