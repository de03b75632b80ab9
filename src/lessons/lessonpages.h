#pragma once
// The lesson pages of topics 2, 3, 5 to 11 and 13: explanatory texts,
// formula and diagram pictures, and the links that open the tool windows.
// The toolbar, title band, menus, navigation and hover come from the page
// frame; each page adds its texts, pictures and link procedures.

#include "platform/controls.h"
#include "shell/page.h"

#include <QStringList>
#include <functional>
#include <initializer_list>

namespace tav {

// A text label of a lesson page. Its caption keeps the characters it was
// given (CR and LF alike, which the page save copies); it is drawn with a
// line ended at a CR LF pair and at every other single CR or LF, wrapped at
// word boundaries within its fixed box and cut off below it.
class LessonText : public Label {
    Q_OBJECT
public:
    using Label::Label;
    // The caption as the label lays it out: line breaks as "\n".
    static QString displayed(const QString& caption);

protected:
    void paintEvent(QPaintEvent*) override;
};

class LessonPage : public ToolbarPage {
    Q_OBJECT
public:
    using ToolbarPage::ToolbarPage;

protected:
    // Creates Label1(index) with its design box, font and colour; its design
    // caption is a placeholder that the load replaces.
    LessonText* text(FormWidget* w, int index, int left, int top, int width, int height, uint32_t color,
                     double points = 9, bool bold = false, bool italic = false);
    // A "Graph" or "Simulate" word button.
    ImageButton* wordButton(QWidget* parent, const QString& name, const QString& word, int left, int top,
                            bool stretch);

    // Load steps; every statement's run-time errors are ignored.
    void handCursors(std::initializer_list<const char*> names);
    // Image9 takes the start page's chart face 0 (in colour) or 1 (greyed).
    void chartFace(int face);
    void tableOff();
    void setTitle(const QString& title);
    // Label1(index) receives the first paragraph (after `lead`, if any),
    // then each further one is appended to its caption read back, after
    // `separator`.
    void paragraphs(int index, const QStringList& texts, const QString& separator = QString(),
                    const QString& lead = QString());

    // A live link: shows the targets in order, then unloads the page, even
    // when a target fails to show.
    void go(std::initializer_list<const char*> targets);
    // Runs `procedure` on a click of the named control.
    void onClick(FormWidget* w, const QString& control, std::function<void()> procedure);
};

class Form2 : public LessonPage {
    Q_OBJECT
public:
    Form2();
    void Image1_Click();
    void Image2_Click();
    void Image5_Click();

protected:
    void buildContent(FormWidget* w) override;
    void pageLoad() override;
};

class Form3 : public LessonPage {
    Q_OBJECT
public:
    Form3();

protected:
    void buildContent(FormWidget* w) override;
    void pageLoad() override;
};

class Form5 : public LessonPage {
    Q_OBJECT
public:
    Form5();
    void Image1_Click();

protected:
    void buildContent(FormWidget* w) override;
    void pageLoad() override;
};

class Form6 : public LessonPage {
    Q_OBJECT
public:
    Form6();
    void Image1_Click();
    void Image2_Click();
    void Image9_Click();

protected:
    void buildContent(FormWidget* w) override;
    void pageLoad() override;
};

class Form7 : public LessonPage {
    Q_OBJECT
public:
    Form7();
    void Image2_Click();
    void Image9_Click();

protected:
    void buildContent(FormWidget* w) override;
    void pageLoad() override;
};

class Form8 : public LessonPage {
    Q_OBJECT
public:
    Form8();
    void Image1_Click();

protected:
    void buildContent(FormWidget* w) override;
    void pageLoad() override;
};

class Form9 : public LessonPage {
    Q_OBJECT
public:
    Form9();
    void Image1_Click();
    void Image2_Click();
    void Image9_Click();

protected:
    void buildContent(FormWidget* w) override;
    void pageLoad() override;
};

class Form10 : public LessonPage {
    Q_OBJECT
public:
    Form10();

protected:
    void buildContent(FormWidget* w) override;
    void pageLoad() override;
};

class Form10a : public LessonPage {
    Q_OBJECT
public:
    Form10a();

protected:
    void buildContent(FormWidget* w) override;
    void pageLoad() override;
};

class Form12 : public LessonPage {
    Q_OBJECT
public:
    Form12();
    void Image2_Click();
    void Image9_Click();

protected:
    void buildContent(FormWidget* w) override;
    void pageLoad() override;
};

} // namespace tav
