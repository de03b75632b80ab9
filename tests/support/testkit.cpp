#include "testkit.h"

#include "platform/actions.h"
#include "platform/controls.h"
#include "platform/pictures.h"
#include "shell/app.h"

#include <QApplication>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QTimer>
#include <QTimerEvent>

namespace tav::test {

namespace {
bool inWindow(const QObject* o)
{
    for (; o; o = o->parent())
        if (qobject_cast<const FormWidget*>(o))
            return true;
    return false;
}
} // namespace

const QEvent* TimerGate::passing_ = nullptr;

TimerGate::TimerGate()
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->installEventFilter(this);
}

TimerGate::~TimerGate()
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
}

QList<QTimer*> TimerGate::running()
{
    QList<QTimer*> out;
    for (Form* f : Form::all())
        if (f->visible())
            if (FormWidget* w = f->widgetIfLoaded())
                for (QTimer* t : w->findChildren<QTimer*>())
                    if (t->isActive() && t->interval() > 0)
                        out << t;
    return out;
}

void TimerGate::tick(QTimer* t)
{
    QVERIFY(t && t->isActive());
    QTimerEvent e(t->timerId());
    const QEvent* outer = passing_;
    passing_ = &e;
    QCoreApplication::sendEvent(t, &e);
    passing_ = outer;
}

bool TimerGate::eventFilter(QObject* o, QEvent* e)
{
    if (e->type() == QEvent::Timer && e != passing_)
        if (auto* t = qobject_cast<QTimer*>(o); t && t->interval() > 0 && inWindow(t))
            return true;
    return false;
}

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

void settle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
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

QImage pictureBackground(const PictureBox* box)
{
    QImage back(box->size(), QImage::Format_RGB32);
    back.fill(box->backColor());
    QPainter p(&back);
    p.drawPixmap(0, 0, box->picture());
    return back;
}

QImage shownAtDevice(const PictureBox* box, bool withDrawing)
{
    const qreal ratio = box->drawing().isNull() ? 1.0 : box->drawing().devicePixelRatio();
    QImage out(pictures::deviceSize(box->size(), ratio), QImage::Format_RGB32);
    out.setDevicePixelRatio(ratio);
    out.fill(box->backColor());
    QPainter p(&out);
    p.drawPixmap(0, 0, pictures::atRatio(box->picture(), ratio));
    if (withDrawing)
        p.drawImage(0, 0, box->drawing());
    return out;
}

QList<int> linesAcross(const QImage& drawn, const QImage& back, const QColor& color, bool vertical)
{
    const int along = vertical ? drawn.height() / 2 + 5 : drawn.width() / 2 + 5;
    const int across = vertical ? drawn.width() : drawn.height();
    QList<int> at;
    for (int i = 0; i < across; ++i) {
        const int x = vertical ? i : along, y = vertical ? along : i;
        if (drawn.pixel(x, y) == back.pixel(x, y))
            continue;
        if (drawn.pixelColor(x, y) != color)
            return QList<int>{-1 - i};
        at << i;
    }
    return at;
}

} // namespace tav::test
