#include "lessons/figures.h"

#include "platform/pictures.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <vector>

namespace tav::figures {

namespace {

// A small typesetting tree: texts, rows, built-up fractions, powers and
// tall brackets, measured and drawn at one scale so that a formula can be
// shrunk to fit its picture.
struct Node {
    enum Kind { Text, Row, Frac, Power, Bracket } kind = Text;
    QString text;   // Text: the run; Bracket: the pair, "()" or "[]"
    QString family;
    double px = 20; // font size in pixels at scale 1
    bool italic = false;
    double shift = 0; // baseline offset in em, down positive (subscripts)
    QColor color = Qt::black;
    std::vector<Node> kids;
};

struct Box {
    double w = 0, ascent = 0, descent = 0;
};

QFont fontOf(const Node& n, double scale)
{
    QFont f(n.family);
    f.setFamilies({n.family});
    f.setPixelSize(std::max(6, int(n.px * scale + 0.5)));
    f.setItalic(n.italic);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

// The fraction bar and the power sit relative to the height of the type
// around them, taken from the first text found.
double refPx(const Node& n)
{
    if (n.kind == Node::Text)
        return n.px;
    for (const Node& k : n.kids)
        if (double p = refPx(k); p > 0)
            return p;
    return 0;
}

Box measure(const Node& n, double s)
{
    Box b;
    switch (n.kind) {
    case Node::Text: {
        QFontMetricsF fm(fontOf(n, s));
        const double dy = n.shift * n.px * s;
        b.w = fm.horizontalAdvance(n.text);
        b.ascent = fm.ascent() - dy;
        b.descent = fm.descent() + dy;
        break;
    }
    case Node::Row:
        for (const Node& k : n.kids) {
            const Box kb = measure(k, s);
            b.w += kb.w;
            b.ascent = std::max(b.ascent, kb.ascent);
            b.descent = std::max(b.descent, kb.descent);
        }
        break;
    case Node::Frac: {
        const Box num = measure(n.kids[0], s), den = measure(n.kids[1], s);
        const double axis = refPx(n) * s * 0.3, gap = 2 * s;
        b.w = std::max(num.w, den.w) + 6 * s;
        b.ascent = axis + gap + num.ascent + num.descent;
        b.descent = den.ascent + den.descent + gap - axis;
        break;
    }
    case Node::Power: {
        const Box base = measure(n.kids[0], s), exp = measure(n.kids[1], s);
        const double lift = base.ascent * 0.6;
        b.w = base.w + exp.w + 1 * s;
        b.ascent = std::max(base.ascent, lift + exp.ascent + exp.descent);
        b.descent = base.descent;
        break;
    }
    case Node::Bracket: {
        const Box in = measure(n.kids[0], s);
        b.w = in.w + 10 * s;
        b.ascent = in.ascent + 1 * s;
        b.descent = in.descent + 1 * s;
        break;
    }
    }
    return b;
}

void draw(QPainter& p, const Node& n, double s, double x, double base)
{
    switch (n.kind) {
    case Node::Text:
        p.setFont(fontOf(n, s));
        p.setPen(n.color);
        p.drawText(QPointF(x, base + n.shift * n.px * s), n.text);
        break;
    case Node::Row:
        for (const Node& k : n.kids) {
            draw(p, k, s, x, base);
            x += measure(k, s).w;
        }
        break;
    case Node::Frac: {
        const Box me = measure(n, s), num = measure(n.kids[0], s), den = measure(n.kids[1], s);
        const double axis = refPx(n) * s * 0.3, gap = 2 * s;
        const double bar = base - axis;
        draw(p, n.kids[0], s, x + (me.w - num.w) / 2, bar - gap - num.descent);
        draw(p, n.kids[1], s, x + (me.w - den.w) / 2, bar + gap + den.ascent);
        p.setPen(QPen(Qt::black, std::max(1.0, s)));
        p.drawLine(QPointF(x + 1 * s, bar), QPointF(x + me.w - 1 * s, bar));
        break;
    }
    case Node::Power: {
        const Box b = measure(n.kids[0], s), e = measure(n.kids[1], s);
        draw(p, n.kids[0], s, x, base);
        draw(p, n.kids[1], s, x + b.w + 1 * s, base - b.ascent * 0.6 - e.descent);
        break;
    }
    case Node::Bracket: {
        const Box me = measure(n, s);
        const double top = base - me.ascent, bottom = base + me.descent, w = 3.5 * s;
        p.setPen(QPen(Qt::black, std::max(1.0, s)));
        p.setBrush(Qt::NoBrush);
        const double l = x + 1.5 * s, r = x + me.w - 1.5 * s;
        if (n.text == QLatin1String("[]")) {
            p.drawPolyline(QPolygonF({QPointF(l + w, top), QPointF(l, top), QPointF(l, bottom), QPointF(l + w, bottom)}));
            p.drawPolyline(QPolygonF({QPointF(r - w, top), QPointF(r, top), QPointF(r, bottom), QPointF(r - w, bottom)}));
        } else {
            QPainterPath open, close;
            open.moveTo(l + w, top);
            open.quadTo(l - w * 0.6, (top + bottom) / 2, l + w, bottom);
            close.moveTo(r - w, top);
            close.quadTo(r + w * 0.6, (top + bottom) / 2, r - w, bottom);
            p.drawPath(open);
            p.drawPath(close);
        }
        draw(p, n.kids[0], s, x + 5 * s, base);
        break;
    }
    }
}

Node row(std::vector<Node> kids)
{
    Node n;
    n.kind = Node::Row;
    n.kids = std::move(kids);
    return n;
}
Node frac(Node num, Node den)
{
    Node n;
    n.kind = Node::Frac;
    n.kids = {std::move(num), std::move(den)};
    return n;
}
Node power(Node base, Node exp)
{
    Node n;
    n.kind = Node::Power;
    n.kids = {std::move(base), std::move(exp)};
    return n;
}
Node bracket(const QString& pair, Node inner)
{
    Node n;
    n.kind = Node::Bracket;
    n.text = pair;
    n.kids = {std::move(inner)};
    return n;
}

// Node builders over one family and size.
struct Type {
    QString family;
    double px;
    bool italic;

    Node t(const QString& s, double rel = 1, bool it = true, double shift = 0) const
    {
        Node n;
        n.text = s;
        n.family = family;
        n.px = px * rel;
        n.italic = italic && it;
        n.shift = shift;
        return n;
    }
    // Upright operators and digits.
    Node op(const QString& s, double rel = 1) const { return t(s, rel, false); }
    // A letter with a subscript digit: p1, P2.
    Node sub(const QString& letter, const QString& digit, double rel = 1) const
    {
        return row({t(letter, rel), t(digit, rel * 0.68, false, 0.25)});
    }
};

// The formula centred on a picture of width x height, shrunk if it would not
// fit.
void paintFormula(QPainter& p, const Node& formula, int width, int height)
{
    const Box at1 = measure(formula, 1);
    const double s = std::min({1.0, (width - 8) / at1.w, (height - 6) / (at1.ascent + at1.descent)});
    const Box b = measure(formula, s);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    draw(p, formula, s, (width - b.w) / 2, (height - b.ascent - b.descent) / 2 + b.ascent);
}

// The formula on white.
QPixmap typeset(const Node& formula, int width, int height, qreal ratio)
{
    QPixmap pix = pictures::surface(QSize(width, height), ratio, Qt::white);
    QPainter p(&pix);
    paintFormula(p, formula, width, height);
    return pix;
}

const QString kTimes = QStringLiteral("Liberation Serif");
const QString kNarrow = QStringLiteral("Nimbus Sans Narrow");
const QString kSans = QStringLiteral("Liberation Sans");
const QString kTimesSign = QString(QChar(0x00D7)); // ×
const QString kMinus = QString(QChar(0x2212));

Node times(const Type& ty) { return ty.op(QStringLiteral(" ") + kTimesSign + QStringLiteral(" ")); }

Node establishmentDenominator(const Type& ty)
{
    return row({ty.sub(QStringLiteral("p"), QStringLiteral("1")), times(ty), ty.sub(QStringLiteral("p"), QStringLiteral("2")),
                times(ty), ty.op(QStringLiteral("(")), ty.t(QStringLiteral("consignment_size")), ty.op(QStringLiteral(")"))});
}

} // namespace

static QPixmap drawEstablishmentEquation(qreal ratio)
{
    const Type ty{kTimes, 22, true};
    const Node f = row({frac(ty.op(QStringLiteral("1")),
                             row({ty.sub(QStringLiteral("p"), QStringLiteral("1")), times(ty),
                                  ty.sub(QStringLiteral("p"), QStringLiteral("2"))})),
                        ty.op(QStringLiteral(" = ")), ty.t(QStringLiteral("RDL")), times(ty),
                        ty.t(QStringLiteral("Population"))});
    return typeset(f, 314, 71, ratio);
}

static QPixmap drawThresholdEquation(qreal ratio)
{
    const Type ty{kTimes, 19, true};
    const Node f = row({ty.t(QStringLiteral("RDL")), ty.op(QStringLiteral(" = ")),
                        frac(ty.op(QStringLiteral("1")), establishmentDenominator(ty))});
    return typeset(f, 320, 59, ratio);
}

static QPixmap drawConfidenceEquation(qreal ratio)
{
    const Type ty{kTimes, 19, true};
    const Node f = row({ty.t(QStringLiteral("RDL")), ty.op(QStringLiteral(" = ")),
                        frac(row({ty.op(QStringLiteral("1 ") + kMinus + QStringLiteral(" ")), ty.t(QStringLiteral("CL"))}),
                             establishmentDenominator(ty))});
    return typeset(f, 340, 63, ratio);
}

namespace {

Node protectionFormula()
{
    const Type ty{kNarrow, 15, false};
    // The power is type of its own, large enough to read at 100 %.
    const Type small{kNarrow, 12, false};
    const Node minus1 = ty.op(QStringLiteral("1 ") + kMinus + QStringLiteral(" "));
    const Node notDetected =
        power(bracket(QStringLiteral("[]"),
                      row({minus1, frac(ty.t(QStringLiteral("SampSize")), ty.t(QStringLiteral("ConsigSize")))})),
              bracket(QStringLiteral("()"),
                      row({small.t(QStringLiteral("ConsigSize")), times(small), small.t(QStringLiteral("FieldPrev")),
                           times(small), small.op(QStringLiteral("(1 ") + kMinus + QStringLiteral(" ")),
                           small.t(QStringLiteral("Efficacy")), small.op(QStringLiteral(")"))})));
    const Node denominator =
        row({ty.t(QStringLiteral("FieldPrev.")), times(ty), ty.op(QStringLiteral("(")), minus1,
             ty.t(QStringLiteral("Efficay")), ty.op(QStringLiteral(")")), times(ty), ty.t(QStringLiteral("ConsigSize")),
             times(ty), notDetected, times(ty), ty.sub(QStringLiteral("P"), QStringLiteral("1")), times(ty),
             ty.sub(QStringLiteral("P"), QStringLiteral("2"))});
    return row({ty.t(QStringLiteral("ALP")), ty.op(QStringLiteral(" = ")), frac(ty.op(QStringLiteral("1")), denominator)});
}

} // namespace

void paintProtectionEquation(QPainter& p) { paintFormula(p, protectionFormula(), 620, 75); }

static QPixmap drawProtectionEquation(qreal ratio) { return typeset(protectionFormula(), 620, 75, ratio); }

namespace {

void arrow(QPainter& p, QPointF from, QPointF to, const QColor& c, Qt::PenStyle style = Qt::SolidLine)
{
    p.setPen(QPen(c, 1.6, style));
    p.drawLine(from, to);
    const QLineF l(to, from);
    QLineF a = l;
    a.setLength(7);
    QLineF b = a;
    a.setAngle(l.angle() + 25);
    b.setAngle(l.angle() - 25);
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPolygon(QPolygonF({to, a.p2(), b.p2()}));
    p.setBrush(Qt::NoBrush);
}

// A curved grey loss arrow leaving a stage downwards.
void loss(QPainter& p, QPointF from)
{
    QPainterPath path;
    path.moveTo(from);
    path.cubicTo(from + QPointF(2, 20), from + QPointF(14, 30), from + QPointF(28, 32));
    QPainterPathStroker stroke;
    stroke.setWidth(6);
    stroke.setCapStyle(Qt::FlatCap);
    QPainterPath body = stroke.createStroke(path);
    const QPointF tip = from + QPointF(38, 32), back = from + QPointF(27, 32);
    QPainterPath head;
    head.addPolygon(QPolygonF({back + QPointF(0, -7), tip, back + QPointF(0, 7), back + QPointF(0, -7)}));
    body = body.united(head);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(176, 176, 176));
    p.drawPath(body);
    p.setBrush(Qt::NoBrush);
}

void centred(QPainter& p, const QString& text, double cx, double top, const QColor& c)
{
    p.setPen(c);
    QFontMetricsF fm(p.font());
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i)
        p.drawText(QPointF(cx - fm.horizontalAdvance(lines[i]) / 2, top + fm.ascent() + i * fm.height()), lines[i]);
}

} // namespace

static QPixmap drawPathwayDiagram(qreal ratio)
{
    const int W = 630, H = 195;
    QPixmap pix = pictures::surface(QSize(W, H), ratio, Qt::white);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    const QColor blue(0, 0, 255), red(255, 0, 0), darkRed(128, 0, 0), green(0, 128, 0), darkGreen(0, 96, 0),
        yellow(255, 255, 0);
    const double cy = 62, r = 13;
    const double xs[] = {38, 108, 178, 408, 488, 580};
    const char* names[] = {"Pre\nharvest", "Harvest", "Post\nharvest", "Shelf", "Host", "Established"};
    const QColor nameColors[] = {blue, blue, blue, red, red, darkRed};

    QFont f(kSans);
    f.setFamilies({kSans});
    f.setPixelSize(11);
    f.setBold(true);
    p.setFont(f);

    // The chain: blue arrows up to the second inspection point, red after it.
    const double dot1 = 250, dot2 = 336;
    for (int i = 0; i + 1 < 6; ++i) {
        const double from = xs[i] + r, to = xs[i + 1] - r - 1;
        if (i == 2) {
            arrow(p, QPointF(from, cy), QPointF(dot2, cy), blue);
            arrow(p, QPointF(dot2, cy), QPointF(to, cy), red);
        } else {
            arrow(p, QPointF(from, cy), QPointF(to, cy), i < 2 ? blue : red);
        }
    }
    for (int i = 0; i < 6; ++i) {
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(yellow);
        p.drawEllipse(QPointF(xs[i], cy), r, r);
        p.setBrush(Qt::NoBrush);
        const bool twoLines = QString::fromLatin1(names[i]).contains(QLatin1Char('\n'));
        centred(p, QString::fromLatin1(names[i]), xs[i], twoLines ? 18 : 32, nameColors[i]);
    }
    centred(p, QStringLiteral("Transport"), (dot1 + dot2) / 2, 36, green);

    // The inspection points on the transport stretch.
    for (double d : {dot1, dot2}) {
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.drawEllipse(QPointF(d, cy), 3.5, 3.5);
        p.setBrush(Qt::NoBrush);
        arrow(p, QPointF(d, cy + 4), QPointF((dot1 + dot2) / 2 + (d < dot2 ? -14 : 14), 104), Qt::black, Qt::DotLine);
    }
    centred(p, QStringLiteral("Inspections"), (dot1 + dot2) / 2, 106, green);

    // Losses along the chain.
    for (int i : {0, 1, 2, 3, 4})
        loss(p, QPointF(xs[i] + 4, cy + r + 1));
    centred(p, QStringLiteral("Phytosanitary measures"), 112, 120, blue);
    centred(p, QStringLiteral("Population losses"), 470, 120, red);

    // The product of the factors, each in its colour.
    struct Part {
        const char* text;
        QColor color;
    };
    const Part parts[] = {{"Consig.size", darkGreen}, {" x ", Qt::black},      {"Field prevalence", darkGreen},
                          {" x ", Qt::black},         {"(1-PM efficacy)", blue}, {" x ", Qt::black},
                          {"Import/year", green},      {" x ", Qt::black},      {"(1-CL)", green},
                          {" x ", Qt::black},         {"p1", red},              {" x ", Qt::black},
                          {"p2", red},                 {" = ", Qt::black},      {"Establishments", darkRed}};
    QString line;
    for (const Part& part : parts)
        line += QString::fromLatin1(part.text);
    f.setPixelSize(12);
    while (QFontMetricsF(f).horizontalAdvance(line) > W - 12 && f.pixelSize() > 7)
        f.setPixelSize(f.pixelSize() - 1);
    p.setFont(f);
    QFontMetricsF fm(f);
    double x = (W - fm.horizontalAdvance(line)) / 2;
    for (const Part& part : parts) {
        p.setPen(part.color);
        p.drawText(QPointF(x, 178), QString::fromLatin1(part.text));
        x += fm.horizontalAdvance(QString::fromLatin1(part.text));
    }
    return pix;
}

// The figures never change: each is typeset once per ratio and kept across
// loads.
QPixmap establishmentEquation(qreal ratio)
{
    return pictures::kept(QStringLiteral("fig:establishment"), ratio, drawEstablishmentEquation);
}
QPixmap thresholdEquation(qreal ratio) { return pictures::kept(QStringLiteral("fig:threshold"), ratio, drawThresholdEquation); }
QPixmap confidenceEquation(qreal ratio)
{
    return pictures::kept(QStringLiteral("fig:confidence"), ratio, drawConfidenceEquation);
}
QPixmap protectionEquation(qreal ratio)
{
    return pictures::kept(QStringLiteral("fig:protection"), ratio, drawProtectionEquation);
}
QPixmap pathwayDiagram(qreal ratio) { return pictures::kept(QStringLiteral("fig:pathway"), ratio, drawPathwayDiagram); }

} // namespace tav::figures
