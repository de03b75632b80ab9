#include "lessons/lessonpages.h"

namespace tav {

namespace {
constexpr uint32_t kPeach = 0x00C0E0FF; // RGB(255, 224, 192)

PageDesign lesson(const char* caption, uint32_t back = kPeach, int titleLeft = -30)
{
    PageDesign d;
    d.caption = QString::fromLatin1(caption);
    d.backColor = back;
    d.titleLeft = titleLeft;
    return d;
}
} // namespace

Form2::Form2() : LessonPage(QStringLiteral("Form2"), lesson("Graphical relations")) {}
Form3::Form3() : LessonPage(QStringLiteral("Form3"), lesson("Concepts of simulation")) {}
Form5::Form5() : LessonPage(QStringLiteral("Form5"), lesson("Ingress and introduction")) {}
Form6::Form6() : LessonPage(QStringLiteral("Form6"), lesson("Inspection and establishment")) {}
Form7::Form7() : LessonPage(QStringLiteral("Form7"), lesson("Inspection risks")) {}
Form8::Form8() : LessonPage(QStringLiteral("Form8"), lesson("Acceptable level of risk")) {}
Form9::Form9() : LessonPage(QStringLiteral("Form9"), lesson("Appropriated level of protection")) {}
Form10::Form10()
    : LessonPage(QStringLiteral("Form10"), lesson("Phytosanitary measures: Holistic approach", 0x00FFFFFF))
{
}
// The background is the system's title-bar text colour.
Form10a::Form10a()
    : LessonPage(QStringLiteral("Form10a"), lesson("Phytosanitary measures: Effect", 0x80000009, 0))
{
}
Form12::Form12() : LessonPage(QStringLiteral("Form12"), lesson("Inspection and establishment")) {}

} // namespace tav
