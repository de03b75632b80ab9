#pragma once
// The lesson pages of topics 2, 3, 5 to 11 and 13.

#include "shell/page.h"

namespace tav {

class LessonPage : public ToolbarPage {
    Q_OBJECT
public:
    using ToolbarPage::ToolbarPage;
};

#define TAV_LESSON(Name)                                                                           \
    class Name : public LessonPage {                                                               \
    public:                                                                                        \
        Name();                                                                                    \
    };

TAV_LESSON(Form2)
TAV_LESSON(Form3)
TAV_LESSON(Form5)
TAV_LESSON(Form6)
TAV_LESSON(Form7)
TAV_LESSON(Form8)
TAV_LESSON(Form9)
TAV_LESSON(Form10)
TAV_LESSON(Form10a)
TAV_LESSON(Form12)

#undef TAV_LESSON

} // namespace tav
