#pragma once
// The hostile sweep: on a window, every text box and editable combo gets
// every hostile input, and after each one every compute button of the
// window is clicked, every box answered with Ignore. Each action must end
// (the watchdog), show at most one box per failing step and leave no nan or
// inf in sight.

#include "robustkit.h"

namespace tav::robust {


// The boxes a user can type into, by control name.
inline QStringList editableBoxes(FormWidget* w)
{
    QStringList out;
    for (QLineEdit* e : w->findChildren<QLineEdit*>())
        if (e->isVisible() && e->isEnabled() && !e->isReadOnly())
            out << controlName(e);
    return out;
}

inline QLineEdit* boxNamed(FormWidget* w, const QString& name)
{
    if (auto* c = w->findChild<ComboBox*>(name))
        return c->lineEdit();
    return w->findChild<QLineEdit*>(name);
}

// The buttons that may compute: every button of the window but the
// toolbar's moves, prints and saves (its Show graph and Show table stay).
inline QStringList buttonsOf(FormWidget* w)
{
    QStringList out;
    for (QWidget* c : w->findChildren<QWidget*>()) {
        if (!c->isVisible() || !c->isEnabled() || c->objectName().isEmpty())
            continue;
        if (!qobject_cast<ImageButton*>(c) && !qobject_cast<QPushButton*>(c) && !qobject_cast<QRadioButton*>(c))
            continue;
        const QWidget* bar = w->findChild<QWidget*>(QStringLiteral("Frame4"));
        if (bar && bar->isAncestorOf(c) && c->objectName() != QLatin1String("Image9")
            && c->objectName() != QLatin1String("Image10"))
            continue;
        out << c->objectName();
    }
    return out;
}

class Sweep {
public:
    Sweep(const QString& window, const QString& locale)
        : window_(window), locale_(locale), s_(1, locale, AnsweringMessages::Ignore)
    {
    }

    QStringList findings;
    int actions = 0;

    void run()
    {
        FormWidget* w = open();
        if (!w)
            return;
        const QStringList boxes = editableBoxes(w);
        if (boxes.isEmpty())
            return;
        // A button that takes the window away with its own inputs moves
        // elsewhere; it computes nothing here.
        QStringList buttons;
        for (const QString& b : buttonsOf(w)) {
            w = open();
            QWidget* c = w ? w->findChild<QWidget*>(b) : nullptr;
            if (!c || !c->isVisible() || !c->isEnabled())
                continue;
            act(b + QStringLiteral(" with the inputs as designed"), [c] { click(c); });
            if (formRef().visible() && !programEnded())
                buttons << b;
        }

        for (const QString& name : boxes) {
            w = open();
            QLineEdit* e = w ? boxNamed(w, name) : nullptr;
            if (!e)
                continue;
            const QString original = e->text();
            for (const QString& input : hostileCorpus())
                for (const QString& b : buttons)
                    sweepOne(name, input, b);
            act(name + QStringLiteral(" back to ") + shownInput(original), [&] { typeInto(name, original); });
        }
    }

private:
    Form& formRef() { return windowNamed(window_); }

    static void click(QWidget* c) { QTest::mouseClick(c, Qt::LeftButton, Qt::NoModifier, c->rect().center()); }

    // The window on screen, opened again from the start page when an action
    // took it away.
    FormWidget* open()
    {
        if (programEnded() || !formRef().visible()) {
            if (programEnded() || !indice().visible())
                s_.restart();
            formRef().show();
            Session::settle();
        }
        return formRef().widgetIfLoaded();
    }

    // Types the input, then clicks the button (the focus stays in the box,
    // as a picture button takes none; leaving the box is the walk's part).
    // Each keystroke and the click count as user actions of their own.
    void sweepOne(const QString& name, const QString& input, const QString& button)
    {
        act(name + QStringLiteral(" = ") + shownInput(input) + QStringLiteral(", then ") + button, [&] {
            if (!typeInto(name, input))
                return;
            s_.answers.newAction();
            if (FormWidget* w = open())
                if (QWidget* c = w->findChild<QWidget*>(button); c && c->isVisible() && c->isEnabled())
                    click(c);
        });
    }

    bool typeInto(const QString& name, const QString& text)
    {
        FormWidget* w = open();
        QLineEdit* e = w ? boxNamed(w, name) : nullptr;
        if (!e)
            return false;
        QWidget* win = e->window();
        if (QApplication::activeWindow() != win) {
            win->activateWindow();
            QCoreApplication::processEvents();
        }
        s_.type(e, text);
        return true;
    }

    void act(const QString& what, const std::function<void()>& f)
    {
        ++actions;
        const QString label = window_ + QStringLiteral(" (") + locale_ + QStringLiteral("): ") + what;
        dog_.arm(QStringLiteral("sweep ") + label);
        s_.beginAction();
        f();
        Session::settle();
        dog_.disarm();
        for (const Finding& fd : checkAction(s_, warnings_, 5, true, shown_))
            findings << QStringLiteral("FINDING %1 %2%3: %4")
                            .arg(fd.kind, label, fd.where.isEmpty() ? QString() : QStringLiteral(" in ") + fd.where,
                                 fd.seen.left(400));
    }

    QString window_;
    QString locale_;
    WarningLog warnings_;
    Watchdog dog_;
    Session s_;
    QSet<QString> shown_;
};

} // namespace tav::robust

namespace tav::robust {

// The sweep of each window, as a table-driven test over windows and the
// locales in TAVRELO_SWEEP_LOCALES (default C).
inline void sweepRows(const QStringList& windows)
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("locale");
    const QStringList locales = qEnvironmentVariable("TAVRELO_SWEEP_LOCALES", QStringLiteral("C")).split(QLatin1Char(','));
    for (const QString& l : locales)
        for (const QString& w : windows)
            QTest::addRow("%s, %s", qPrintable(w), qPrintable(l)) << w << l;
}

inline void sweepRow()
{
    QFETCH(QString, window);
    QFETCH(QString, locale);

    Sweep s(window, locale);
    s.run();
    if (!s.findings.isEmpty()) {
        std::fputs(qPrintable(s.findings.join(QLatin1Char('\n')) + QLatin1Char('\n')), stdout);
        std::fflush(stdout);
    }
    QVERIFY2(s.findings.isEmpty(),
             qPrintable(QStringLiteral("%1 findings in %2 actions").arg(s.findings.size()).arg(s.actions)));
}

} // namespace tav::robust
