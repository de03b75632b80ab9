#include "shell/topics.h"

#include "common/runtime.h"
#include "lessons/lessonpages.h"
#include "measures/form11.h"
#include "shell/form1.h"
#include "simulation/form4.h"

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

Form& topicForm(int number)
{
    switch (number) {
    case 1: return formRef<Form1>();
    case 2: return formRef<Form2>();
    case 3: return formRef<Form3>();
    case 4: return formRef<Form4>();
    case 5: return formRef<Form5>();
    case 6: return formRef<Form6>();
    case 7: return formRef<Form7>();
    case 8: return formRef<Form8>();
    case 9: return formRef<Form9>();
    case 10: return formRef<Form10>();
    case 11: return formRef<Form10a>();
    case 12: return formRef<Form11>();
    case 13: return formRef<Form12>();
    default: raise(ErrSubscript);
    }
}

} // namespace tav
