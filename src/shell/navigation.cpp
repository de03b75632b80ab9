#include "shell/navigation.h"

#include "common/errors.h"
#include "common/messages.h"
#include "common/program.h"
#include "platform/actions.h"
#include "platform/controls.h"
#include "shell/indice.h"
#include "shell/menus.h"
#include "shell/toolbar.h"
#include "shell/topics.h"
#include "simulation/fresultsim.h"
#include "simulation/fsimula1.h"

#include <QHash>
#include <functional>

namespace tav {

namespace {

NavStep show(const QString& window) { return {NavStep::Show, window}; }
NavStep unloadSelf() { return {NavStep::UnloadSelf, {}}; }
NavStep unload(const QString& window) { return {NavStep::Unload, window}; }
NavSteps go(const QString& target) { return {show(target), unloadSelf()}; }

// Where the commands of each window lead; Index and Exit are the same
// everywhere.
struct NavRow {
    NavSteps back, next, close, fileExit;
};

QHash<QString, NavRow> makeRows()
{
    QHash<QString, NavRow> rows;
    // The topic pages in course order; Next on the last one opens its graph.
    QStringList course;
    for (const Topic& t : topics())
        course << t.window;
    for (int i = 0; i < course.size(); ++i) {
        NavRow r;
        r.back = i == 0 ? NavSteps{{NavStep::RunIndex, {}}} : go(course[i - 1]);
        r.next = go(i + 1 < course.size() ? course[i + 1] : QStringLiteral("FGrafico12"));
        r.close = {unloadSelf()};
        r.fileExit = {{NavStep::RunExit, {}}};
        rows.insert(course[i], r);
    }

    const NavSteps end = {{NavStep::End, {}}};
    // The three graphs of topic 2 also close the topic-2 page when it was
    // opened again meanwhile.
    const NavSteps toForm3 = {show(QStringLiteral("Form3")), unloadSelf(), unload(QStringLiteral("Form2"))};
    const NavSteps closeToForm1 = {unloadSelf(), show(QStringLiteral("Form1"))};
    rows.insert(QStringLiteral("FGrafico1"), {go(QStringLiteral("Form2")), toForm3, closeToForm1, end});
    rows.insert(QStringLiteral("FGrafico2"), {go(QStringLiteral("Form2")), toForm3, closeToForm1, end});
    rows.insert(QStringLiteral("FGrafico3"), {go(QStringLiteral("Form2")), toForm3, go(QStringLiteral("Form1")), end});
    const struct {
        const char* window;
        const char* back;
        const char* next;
    } later[] = {{"FGrafico4", "Form6", "Form7"}, {"FGrafico5", "Form7", "Form8"}, {"FGrafico6", "Form9", "Form10"}};
    for (const auto& g : later) {
        const QString back = QString::fromLatin1(g.back);
        rows.insert(QString::fromLatin1(g.window), {go(back), go(QString::fromLatin1(g.next)), go(back), end});
    }
    rows.insert(QStringLiteral("FGrafico12"),
                {go(QStringLiteral("Form12")),
                 {{NavStep::EndQuestion, {}}},
                 {unloadSelf(), show(QStringLiteral("Form12"))},
                 end});
    rows.insert(QStringLiteral("FResultSim"),
                {go(QStringLiteral("Form5")), go(QStringLiteral("Form6")), {unloadSelf()}, {{NavStep::RunExit, {}}}});
    return rows;
}

const QHash<QString, NavRow>& rows()
{
    static const QHash<QString, NavRow> r = makeRows();
    return r;
}

// Next on the last graph: the end of the course. Only Yes and No answer the
// question; a box closed any other way asks again.
void closingQuestion(Form& self)
{
    int answer = 0;
    do {
        answer = msgbox(QStringLiteral("That is all ! Go Back to the begining ? "),
                        MbYesNo + MbQuestion + MbDefaultButton2, QStringLiteral("The End"));
    } while (answer != IdYes && answer != IdNo && !programEnded());
    if (answer == IdYes)
        runSteps(self, go(QStringLiteral("Indice")));
    else if (answer == IdNo)
        encerra();
}

void runStep(Form& self, const NavStep& s)
{
    switch (s.kind) {
    case NavStep::Show: windowNamed(s.window).show(); break;
    case NavStep::ShowLast:
        if (Form* last = ultimoform())
            last->show();
        break;
    case NavStep::UnloadSelf: self.unload(); break;
    case NavStep::Unload: windowNamed(s.window).unload(); break;
    case NavStep::End: encerra(); break;
    case NavStep::RunIndex: navigate(self, NavCommand::Index); break;
    case NavStep::RunExit: navigate(self, NavCommand::Exit); break;
    case NavStep::EndQuestion: closingQuestion(self); break;
    }
}

} // namespace

NavSteps navSteps(const QString& window, NavCommand command)
{
    const auto it = rows().constFind(window);
    if (it == rows().cend())
        return {};
    switch (command) {
    case NavCommand::Index: return go(QStringLiteral("Indice"));
    case NavCommand::Exit: return {{NavStep::End, {}}};
    case NavCommand::Back: return it->back;
    case NavCommand::Next: return it->next;
    case NavCommand::FileClose: return it->close;
    case NavCommand::FileExit: return it->fileExit;
    }
    return {};
}

void runSteps(Form& self, const NavSteps& steps)
{
    IgnoreErrors e;
    for (const NavStep& s : steps)
        if (!e.step([&] { runStep(self, s); }))
            break;
}

void navigate(Form& self, NavCommand command) { runSteps(self, navSteps(self.name(), command)); }

void topicItem(Form& self, int topic)
{
    IgnoreErrors e;
    e.step([&] { topicForm(topic).show(); }) && e.step([&] { self.unload(); });
}

void lastForm(Form& self) { runSteps(self, {{NavStep::ShowLast, {}}, unloadSelf()}); }

void wireNavigation(Form& self, FormWidget* w)
{
    Form* page = &self;
    if (const ToolbarSpec* spec = toolbarSpec(self.name())) {
        QWidget* bar = w->findChild<QWidget*>(QStringLiteral("Frame4"));
        const std::pair<const ToolbarButton*, NavCommand> buttons[] = {
            {&spec->index, NavCommand::Index},
            {&spec->back, NavCommand::Back},
            {&spec->next, NavCommand::Next},
            {&spec->exit, NavCommand::Exit},
        };
        for (const auto& [b, command] : buttons)
            if (ImageButton* img = bar ? bar->findChild<ImageButton*>(b->name) : nullptr)
                onSignal(img, &ImageButton::clicked, page, [page, c = command] { navigate(*page, c); });
    }

    auto item = [&](const QString& name, std::function<void()> run) {
        if (QAction* a = w->findChild<QAction*>(name))
            onSignal(a, &QAction::triggered, page, std::move(run));
    };
    item(fileCloseName(self.name()), [page] { navigate(*page, NavCommand::FileClose); });
    item(fileExitName(self.name()), [page] { navigate(*page, NavCommand::FileExit); });
    if (!hasIndexMenu(self.name()))
        return;
    item(indexItemName(self.name(), 0), [page] { lastForm(*page); });
    for (int k = 1; k <= 13; ++k)
        item(indexItemName(self.name(), k), [page, k] { topicItem(*page, k); });
}

} // namespace tav
