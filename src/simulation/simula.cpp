#include "simulation/simula.h"

#include "common/errors.h"
#include "common/format.h"
#include "common/program.h"
#include "common/random.h"
#include "common/readings.h"
#include "common/runtime.h"
#include "common/window.h"
#include "common/yields.h"
#include "platform/combo.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPointer>
#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>

namespace tav {

namespace {

constexpr uint8_t kSound = 0;
constexpr uint8_t kInfested = 1;
constexpr uint8_t kInspected = 2;

// Collisions a unit draw redraws before it picks among the eligible units
// directly; this bounds every pick at kRedraws + 2 draws. Once a pick of an
// infestation or an inspection has fallen back, the rest of it picks directly
// (few units are left eligible by then).
constexpr int kRedraws = 16;

// A number shown through a picture pattern and read back: the value rounded
// the way the pattern shows it.
double readBack(double v, const QString& pattern)
{
    const QString text = formatNumber(checked(v), pattern);
    bool ok = false;
    const double r = QLocale().toDouble(text, &ok);
    if (!ok)
        raise(ErrTypeMismatch);
    return r;
}

// The same as readBack(v, pattern) for a pattern with `decimals` fraction
// digits and no grouping, without building the text: the rounding on the
// 15-digit decimal form can only differ from rounding v itself near a half,
// and there the text is built.
double roundShown(double v, int decimals, const QString& pattern)
{
    static constexpr double kScale[] = {1.0, 10.0, 100.0, 1000.0, 10000.0};
    const double scale = kScale[decimals];
    const double x = std::fabs(checked(v)) * scale;
    if (x < 1e7) {
        const double whole = std::floor(x);
        const double f = x - whole;
        if (std::fabs(f - 0.5) > 1e-6) {
            const double r = (f > 0.5 ? whole + 1.0 : whole) / scale;
            return v < 0 ? -r : r;
        }
    }
    return readBack(v, pattern);
}

RuntimeError refused(const char* why)
{
    return RuntimeError(ErrInvalidCall, QString::fromLatin1(why));
}

// A uniform draw of a probability around its mean, both ends kept in [0, 1].
double drawProbability(double mean, double variability, RandomSource& r)
{
    const double hi = std::clamp(mean + variability * mean, 0.0, 1.0);
    const double lo = std::clamp(mean - variability * mean, 0.0, 1.0);
    return std::clamp(lo + (hi - lo) * double(r.next()), 0.0, 1.0);
}

} // namespace

// The unit states of one consignment (0 sound, 1 infested, 2 inspected) and,
// once a pick had to fall back, the list of the units still eligible.
struct SimulationRun::Units {
    std::array<uint8_t, kMaxUnits + 1> state{};
    std::array<int16_t, kMaxUnits + 1> list{};
    std::array<int16_t, kMaxUnits + 1> pos{};
    int size = 0;
    bool listed = false;

    void mark(int unit, uint8_t s)
    {
        state[size_t(unit)] = s;
        if (!listed)
            return;
        const int p = pos[size_t(unit)];
        const int last = list[size_t(--size)];
        list[size_t(p)] = int16_t(last);
        pos[size_t(last)] = int16_t(p);
    }
};

int infestedUnits(double D)
{
    if (!(D > 0.0))
        return 0;
    return int(std::ceil(D - 1e-9 * std::max(1.0, D)));
}

SimulationRun::SimulationRun(const SimulationInputs& in) : in_(in)
{
    if (in.I > kMaxConsignments)
        raise(ErrSubscript);
    if (in.I < 1)
        return;
    checked(in.prevalence);
    checked(in.varprev);
    if (in.N < 1)
        throw refused("Consignment size below 1");
    if (in.N > kMaxUnits)
        raise(ErrSubscript);
    if (in.n < 0)
        throw refused("Negative sample size");
    if (in.n > in.N)
        throw refused("Sample size larger than the consignment size");
    if (in.varprev < 0.0)
        throw refused("Negative variability");
    if (in.establishment()) {
        checked(in.prob1);
        checked(in.prob2);
        checked(in.varp1);
        checked(in.varp2);
        if (in.varp1 < 0.0 || in.varp2 < 0.0)
            throw refused("Negative variability");
    }
    const double mean = checked(in.prevalence * in.N);
    hi_ = std::min(checked(mean + mean * in.varprev), double(in.N));
    lo_ = std::max(checked(mean - mean * in.varprev), 0.0);
    units_ = std::make_unique<Units>();
}

SimulationRun::~SimulationRun() = default;

int SimulationRun::pick(RandomSource& r, bool inspection)
{
    Units& u = *units_;
    const int N = in_.N;
    const auto eligible = [&](int unit) {
        const uint8_t s = u.state[size_t(unit)];
        return inspection ? s != kInspected : s == kSound;
    };
    if (!u.listed)
        for (int tries = 0; tries <= kRedraws; ++tries) {
            // r x N + 1 is at least 1, so truncating is the floor.
            const int unit = std::min(int(double(r.next()) * N + 1.0), N);
            if (eligible(unit))
                return unit;
        }
    if (!u.listed) {
        u.size = 0;
        for (int unit = 1; unit <= N; ++unit)
            if (eligible(unit)) {
                u.pos[size_t(unit)] = int16_t(u.size);
                u.list[size_t(u.size++)] = int16_t(unit);
            }
        u.listed = true;
    }
    if (u.size == 0) // the checks leave enough units; never reached
        raise(ErrInvalidCall);
    const int index = std::clamp(int(double(r.next()) * u.size), 0, u.size - 1);
    return u.list[size_t(index)];
}

SimulationRow SimulationRun::step(RandomSource& r)
{
    if (done())
        raise(ErrSubscript);
    SimulationRow row;
    row.k = ++k_;
    const int N = in_.N;
    Units& u = *units_;
    std::fill_n(u.state.begin() + 1, N, kSound);

    row.D = std::clamp(lo_ + (hi_ - lo_) * double(r.next()), 0.0, double(N));
    row.prevalence = roundShown(row.D / N, 4, QStringLiteral("0.####"));

    row.infested = std::min(infestedUnits(row.D), N);
    u.listed = false;
    for (int j = 0; j < row.infested; ++j)
        u.mark(pick(r, false), kInfested);

    u.listed = false;
    for (int j = 0; j < in_.n; ++j) {
        const int unit = pick(r, true);
        if (u.state[size_t(unit)] == kInfested)
            ++row.found;
        u.mark(unit, kInspected);
    }

    if (row.found > 0) {
        row.refused = true;
        ++totals_.refused;
        totals_.found += row.found;
        return row;
    }
    row.ingressed = roundShown(row.D, 0, QStringLiteral("#######"));
    totals_.sumPrevalence += row.prevalence;
    if (in_.establishment()) {
        row.drewP = true;
        row.p1 = drawProbability(in_.prob1, in_.varp1, r);
        row.p2 = drawProbability(in_.prob2, in_.varp2, r);
        row.host = row.D * row.p1;
        row.est = row.host * row.p2;
        totals_.sumP1 += row.p1;
        totals_.sumP2 += row.p2;
        totals_.sumHost += row.host;
        totals_.sumEst += row.est;
    }
    ++totals_.ingressed;
    return row;
}

SimulationResult simulate(const SimulationInputs& in, RandomSource& r)
{
    SimulationRun run(in);
    SimulationResult result;
    result.rows.reserve(std::max(in.I, 0));
    while (!run.done())
        result.rows.append(run.step(r));
    result.totals = run.totals();
    return result;
}

QStringList resultLabelNames(bool establishment)
{
    QStringList names{QStringLiteral("Lpre_ing"), QStringLiteral("Lencontradas"), QStringLiteral("Lingreso"),
                      QStringLiteral("Ling"),     QStringLiteral("Lpct_ing"),     QStringLiteral("Lnsim"),
                      QStringLiteral("Lingreso_total")};
    if (establishment)
        names << QStringLiteral("p1") << QStringLiteral("p2") << QStringLiteral("Np1medio")
              << QStringLiteral("Np2medio") << QStringLiteral("Lp1medio") << QStringLiteral("Lp2medio");
    return names;
}

QString resultLabelText(const QString& name, const SimulationInputs& in, const SimulationTotals& t)
{
    const double A = t.ingressed;
    const double R = t.refused;
    const double I = in.I < 1 ? 0.0 : double(in.I);
    const double m = t.ingressed >= 1 ? t.sumPrevalence / A : 0.0;
    const auto perIngressed = [&](double sum, const char* pattern) {
        return t.ingressed == 0 ? QStringLiteral("-")
                                : generalText(readBack(sum / A, QString::fromLatin1(pattern)));
    };
    const auto percent = [&](double count) {
        return generalText(readBack(cdiv(count * 100.0, I), QStringLiteral("##0.0"))) + QStringLiteral(" %");
    };
    const auto ingressPerConsignment = [&] {
        return t.ingressed == 0 ? 0.0 : readBack(in.N * m, QStringLiteral("0"));
    };

    if (name == QLatin1String("Lpre_ing"))
        return perIngressed(t.sumPrevalence, "#.####");
    if (name == QLatin1String("Lencontradas"))
        return t.refused == 0 ? QStringLiteral("-")
                              : generalText(readBack(cdiv(t.found, R), QStringLiteral("###.#")));
    if (name == QLatin1String("Lingreso"))
        return generalText(ingressPerConsignment());
    if (name == QLatin1String("Ling"))
        return percent(R);
    if (name == QLatin1String("Lpct_ing"))
        return percent(A);
    if (name == QLatin1String("Lingreso_total"))
        return generalText(checked(ingressPerConsignment() * A));
    if (name == QLatin1String("p1"))
        return formatNumber(in.prob1, QStringLiteral("0.####"));
    if (name == QLatin1String("p2"))
        return formatNumber(in.prob2, QStringLiteral("0.####"));
    if (name == QLatin1String("Np1medio"))
        return perIngressed(t.sumHost, "####0");
    if (name == QLatin1String("Np2medio"))
        return perIngressed(t.sumEst, "####0");
    if (name == QLatin1String("Lp1medio"))
        return perIngressed(t.sumP1, "0.####");
    if (name == QLatin1String("Lp2medio"))
        return perIngressed(t.sumP2, "0.####");
    raise(ErrInvalidCall);
}

// ---- the window adapter ----

namespace {

bool g_running = false;

// The window went away while the run yielded or while an error box was open.
struct WindowGone {};

} // namespace

QString controlText(QWidget* w)
{
    if (auto* c = qobject_cast<ComboBox*>(w))
        return c->text();
    if (auto* c = qobject_cast<QComboBox*>(w))
        return c->currentText();
    if (auto* e = qobject_cast<QLineEdit*>(w))
        return e->text();
    if (auto* l = qobject_cast<QLabel*>(w))
        return l->text();
    throw RuntimeError(438, QStringLiteral("Object doesn't support this property or method"));
}

void setControlText(QWidget* w, const QString& text)
{
    if (auto* c = qobject_cast<ComboBox*>(w))
        return c->setText(text);
    if (auto* c = qobject_cast<QComboBox*>(w)) {
        if (c->isEditable()) {
            c->setEditText(text);
        } else {
            const int i = c->findText(text);
            if (i < 0)
                throw RuntimeError(383, QStringLiteral("'Text' property is read-only"));
            c->setCurrentIndex(i);
        }
        return;
    }
    if (auto* e = qobject_cast<QLineEdit*>(w))
        return e->setText(text);
    if (auto* l = qobject_cast<QLabel*>(w))
        return l->setText(text);
    throw RuntimeError(438, QStringLiteral("Object doesn't support this property or method"));
}

namespace {

void storeRow(const SimulationRow& row)
{
    Resultados& t = resultados();
    t.setCell(1, row.k, int(row.k));
    t.setCell(2, row.k, row.prevalence);
    t.setCell(3, row.k, row.found);
    t.setCell(4, row.k, row.refused ? QStringLiteral("Refused") : QStringLiteral("Ingressed"));
    t.setCell(5, row.k, row.ingressed);
    if (row.est >= 1.0) // its "#0" text
        t.setCell(6, row.k, QString::number(qint64(roundShown(row.est, 0, QStringLiteral("#0")))));
    else
        t.setCell(6, row.k, 0);
}

void clearRows(int count)
{
    Resultados& t = resultados();
    for (int row = 1; row <= count; ++row) {
        for (int c = 1; c <= 5; ++c)
            t.setCell(c, row, QString());
        t.setCell(6, row, 0);
    }
}

} // namespace

bool simulaRunning() { return g_running; }

SimulaEnd simula(double prob1, double prob2, Form& frm)
{
    if (g_running)
        return SimulaEnd::Busy;
    g_running = true;
    struct Running {
        ~Running() { g_running = false; }
    } running;

    TrapErrors t(QStringLiteral("Try again with new inputs"), QStringLiteral("Error in simulation"));
    // A step the error box let pass (Ignore) or ended (Abort) leaves a run
    // that is not the one asked for: the caller is told so.
    bool failed = false;
    const auto step = [&](const std::function<void()>& f) {
        bool done = false;
        const bool go = t.step([&] {
            done = false;
            f();
            done = true;
        });
        failed = failed || !done;
        return go;
    };
    QPointer<Form> form(&frm);
    QPointer<FormWidget> widget;
    if (!step([&] { widget = frm.widget(); }))
        return SimulaEnd::Failed;

    const auto alive = [&] {
        return form && widget && form->widgetIfLoaded() == widget.data() && !programEnded();
    };
    // Controls are reached only while the window that started the run is the
    // one loaded, so a run never loads a window again or touches a destroyed one.
    const auto control = [&](const QString& name) -> QWidget* {
        if (!alive())
            throw WindowGone{};
        return frm.ctl<QWidget>(name);
    };

    try {
        SimulationInputs in;
        in.prob1 = prob1;
        in.prob2 = prob2;
        const Variabilidades vars = variabilidades();
        in.varprev = vars.varprev;
        in.varp1 = vars.varp1;
        in.varp2 = vars.varp2;
        const auto value = [&](const char* name) { return numberOrLeading(controlText(control(QString::fromLatin1(name)))); };
        if (!(step([&] { in.N = clng(value("Text1_0")); }) && step([&] { in.prevalence = value("Text1_1"); })
              && step([&] { in.n = clng(value("Text1_2")); }) && step([&] { in.I = clng(value("Combo1")); })))
            return SimulaEnd::Failed;

        std::optional<SimulationRun> run;
        if (!step([&] {
                run.reset();
                run.emplace(in);
                clearRows(in.I);
            }))
            return SimulaEnd::Failed;

        while (run && !run->done()) {
            const int k = run->count() + 1;
            if (!step([&] { setControlText(control(QStringLiteral("Combo1")), QString::number(k)); }))
                return SimulaEnd::Failed;
            yieldToEventLoop();
            if (!alive())
                return SimulaEnd::WindowClosed;
            if (!step([&] { storeRow(run->step(rng())); }))
                return SimulaEnd::Failed;
        }

        const SimulationTotals none;
        const SimulationTotals& totals = run ? run->totals() : none;
        for (const QString& name : resultLabelNames(in.establishment())) {
            if (!step([&] {
                    QWidget* label = control(name);
                    setControlText(label, name == QLatin1String("Lnsim") ? controlText(control(QStringLiteral("Combo1")))
                                                                    : resultLabelText(name, in, totals));
                }))
                return SimulaEnd::Failed;
        }
    } catch (const WindowGone&) {
        return SimulaEnd::WindowClosed;
    }
    return failed ? SimulaEnd::Failed : SimulaEnd::Finished;
}

} // namespace tav
