#include "testkit.h"

#include "platform/actions.h"
#include "shell/app.h"

#include <QApplication>
#include <QLineEdit>
#include <QLocale>

namespace tav::test {

ProgramFixture::ProgramFixture()
{
    if (auto* app = qobject_cast<Application*>(QCoreApplication::instance()))
        setupApplication(*app);
    else if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        qFatal("a window test runs under tav::Application (TAV_TEST_MAIN)");
    resetProgram();
    setMessages(&msgs);
    setExitHandler([this] { ++exits; });
}

ProgramFixture::~ProgramFixture()
{
    resetProgram();
    setMessages(nullptr);
    setExitHandler(nullptr);
}

void click(QWidget* w)
{
    QVERIFY(w);
    QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, w->rect().center());
}

void trigger(QAction* a)
{
    QVERIFY(a);
    QVERIFY2(a->isEnabled(), qPrintable(a->objectName() + QStringLiteral(" is disabled")));
    a->trigger();
}

void type(QLineEdit* box, const QString& text)
{
    QVERIFY(box);
    box->setFocus();
    box->selectAll();
    box->del();
    QTest::keyClicks(box, text);
}

QString shown(const QString& english)
{
    const QLocale loc;
    const auto digit = [&](int i) { return i >= 0 && i < english.size() && english[i].isDigit(); };
    QString out;
    for (int i = 0; i < english.size(); ++i) {
        const QChar c = english[i];
        if (c == u'.' && digit(i + 1))
            out += loc.decimalPoint();
        else if (c == u',' && digit(i - 1) && digit(i + 1))
            out += loc.groupSeparator();
        else
            out += c;
    }
    return out;
}

QStringList shown(const QStringList& english)
{
    QStringList out;
    for (const QString& s : english)
        out << shown(s);
    return out;
}

QString shownData(const char* column)
{
    return shown(*static_cast<const QString*>(QTest::qData(column, QMetaType::QString)));
}

} // namespace tav::test
