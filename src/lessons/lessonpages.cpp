#include "lessons/lessonpages.h"

#include "common/colors.h"
#include "common/errors.h"
#include "lessons/figures.h"
#include "platform/actions.h"
#include "platform/pictures.h"
#include "shell/indice.h"
#include "shell/topics.h"

#include <QCache>
#include <QPainter>

namespace tav {

namespace {

constexpr uint32_t kPeach = 0x00C0E0FF;      // RGB(255, 224, 192)
constexpr uint32_t kMaroon = 0x00000040;     // RGB(64, 0, 0)
constexpr uint32_t kBlack = 0x00000000;
constexpr uint32_t kBlue = 0x00FF0000;       // RGB(0, 0, 255)
constexpr uint32_t kWindowText = 0x80000008; // the system's window-text colour
constexpr uint32_t kWindow = 0x80000005;     // the system's window colour

const QString kLF = QStringLiteral("\n");
const QString kLFLF = QStringLiteral("\n\n");
const QString kLFCR = QStringLiteral("\n\r");
const QString kCRLFCR = QStringLiteral("\r\n\r");

PageDesign lesson(const char* caption, const char* title = "", uint32_t back = kPeach, int titleLeft = -30)
{
    PageDesign d;
    d.caption = QString::fromLatin1(caption);
    d.title = QString::fromLatin1(title);
    d.backColor = back;
    d.titleLeft = titleLeft;
    return d;
}

// The start page's picture store.
QPixmap startPicture(int index)
{
    return indice().ctl<PictureBox>(QStringLiteral("Picture3"), index)->picture();
}

} // namespace

// LessonText ------------------------------------------------------------------

QString LessonText::displayed(const QString& caption)
{
    QString out;
    out.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        const QChar c = caption.at(i);
        if (c == QLatin1Char('\r')) {
            out += QLatin1Char('\n');
            if (i + 1 < caption.size() && caption.at(i + 1) == QLatin1Char('\n'))
                ++i; // CR LF is one line end
        } else {
            out += c;
        }
    }
    return out;
}

namespace {

// The paragraphs are fixed texts in fixed boxes, so their laid-out
// pictures are kept across loads: a page shown again paints them without
// laying out and shaping its text anew. The store is bounded (the lesson
// texts fill a small part of it) and keyed by all that the picture depends
// on.
QCache<QString, QImage>& keptTexts()
{
    static QCache<QString, QImage> store(16 * 1024 * 1024); // bytes
    return store;
}

QImage drawnText(const QString& text, const QFont& font, const QColor& color, int flags, QSize size, qreal dpr)
{
    QImage img(size * dpr, QImage::Format_ARGB32_Premultiplied);
    img.setDevicePixelRatio(dpr);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setFont(font);
    p.setPen(color);
    p.drawText(QRect(QPoint(0, 0), size), flags, text);
    return img;
}

} // namespace

void LessonText::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    if (autoFillBackground())
        p.fillRect(rect(), palette().color(QPalette::Window));
    const QRect box = contentsRect();
    if (box.isEmpty())
        return;
    const QString shown = displayed(text());
    const QColor color = palette().color(QPalette::WindowText);
    const int flags = int(alignment()) | Qt::TextWordWrap;
    const qreal dpr = devicePixelRatioF();
    if (pictures::drawingAnew()) {
        p.drawImage(box.topLeft(), drawnText(shown, font(), color, flags, box.size(), dpr));
        return;
    }
    const QString key = QStringLiteral("%1|%2|%3|%4|%5x%6@%7")
                            .arg(font().key())
                            .arg(color.rgba())
                            .arg(flags)
                            .arg(shown)
                            .arg(box.width())
                            .arg(box.height())
                            .arg(dpr);
    QImage* kept = keptTexts().object(key);
    if (!kept) {
        kept = new QImage(drawnText(shown, font(), color, flags, box.size(), dpr));
        const qsizetype bytes = kept->sizeInBytes();
        if (!keptTexts().insert(key, kept, bytes)) { // larger than the whole store
            p.drawImage(box.topLeft(), drawnText(shown, font(), color, flags, box.size(), dpr));
            return;
        }
    }
    p.drawImage(box.topLeft(), *kept);
}

// LessonPage ------------------------------------------------------------------

LessonText* LessonPage::text(FormWidget* w, int index, int left, int top, int width, int height, uint32_t color,
                             double points, bool bold, bool italic)
{
    auto* l = place<LessonText>(w->client(), arrayName(QStringLiteral("Label1"), index), left, top, width, height);
    l->setText(QStringLiteral("Label1"));
    l->setFont(arial(points, bold, italic));
    l->setForeColor(vbColor(color));
    return l;
}

ImageButton* LessonPage::wordButton(QWidget* parent, const QString& name, const QString& word, int left, int top,
                                    bool stretch)
{
    auto* b = place<ImageButton>(parent, name, left, top, 1080, 360);
    b->setPicture(pictures::word(word));
    b->setStretch(stretch);
    return b;
}

void LessonPage::handCursors(std::initializer_list<const char*> names)
{
    IgnoreErrors e;
    for (const char* n : names)
        e.step([&] { setHandCursor(ctl(QString::fromLatin1(n))); });
}

void LessonPage::chartFace(int face)
{
    ignoring([&] { ctl<ImageButton>(QStringLiteral("Image9"))->setPicture(startPicture(face)); });
}

void LessonPage::tableOff()
{
    ignoring([&] { ctl(QStringLiteral("Image10"))->setEnabled(false); });
}

void LessonPage::setTitle(const QString& title)
{
    ignoring([&] { ctl<Label>(QStringLiteral("Label2"))->setText(title); });
}

void LessonPage::paragraphs(int index, const QStringList& texts, const QString& separator, const QString& lead)
{
    IgnoreErrors e;
    for (qsizetype i = 0; i < texts.size(); ++i) {
        e.step([&] {
            Label* l = ctl<Label>(QStringLiteral("Label1"), index);
            if (i == 0)
                l->setText(lead + texts[0]);
            else
                l->setText(l->text() + separator + texts[i]);
        });
    }
}

void LessonPage::go(std::initializer_list<const char*> targets)
{
    IgnoreErrors e;
    for (const char* t : targets)
        e.step([&] { windowNamed(QString::fromLatin1(t)).show(); });
    e.step([&] { unload(); });
}

void LessonPage::onClick(FormWidget* w, const QString& control, std::function<void()> procedure)
{
    if (auto* b = w->findChild<ImageButton*>(control))
        onSignal(b, &ImageButton::clicked, this, std::move(procedure));
}

// Topic 2 ---------------------------------------------------------------------

Form2::Form2() : LessonPage(QStringLiteral("Form2"), lesson("Graphical relations", "Label2")) {}

void Form2::buildContent(FormWidget* w)
{
    text(w, 0, 315, 1470, 9930, 630, kMaroon);
    text(w, 1, 345, 2190, 6825, 1155, kMaroon);
    text(w, 2, 3135, 3540, 7005, 1305, kMaroon);
    text(w, 3, 480, 5705, 6630, 975, kMaroon);

    struct Box {
        const char* frame;
        const char* caption;
        int left, top, width, height;
        const char* button;
        int bleft, btop;
    };
    const Box boxes[] = {{"Frame1", "Hypergeometric sampling", 7365, 2115, 2985, 900, "Image2", 825, 360},
                         {"Frame2", "Percent sampling", 630, 3510, 2115, 945, "Image1", 450, 375},
                         {"Frame3", "Constant size sampling", 7530, 5640, 2730, 945, "Image5", 750, 345}};
    for (const Box& b : boxes) {
        Frame* f = place<Frame>(w->client(), QString::fromLatin1(b.frame), b.left, b.top, b.width, b.height);
        f->setTitle(QString::fromLatin1(b.caption));
        f->setBackColor(vbColor(kPeach));
        f->setFont(arial(11.25, true, true));
        QPalette pal = f->palette();
        pal.setColor(QPalette::WindowText, vbColor(0x00000080));
        f->setPalette(pal);
        wordButton(f, QString::fromLatin1(b.button), QStringLiteral("Graph"), b.bleft, b.btop, true);
    }
    onClick(w, QStringLiteral("Image1"), [this] { Image1_Click(); });
    onClick(w, QStringLiteral("Image2"), [this] { Image2_Click(); });
    onClick(w, QStringLiteral("Image5"), [this] { Image5_Click(); });
}

void Form2::pageLoad()
{
    handCursors({"Image1", "Image2", "Image5", "Image6", "Image4", "Image3", "Image7", "Image8", "Image11"});
    paragraphs(0, {QStringLiteral(
                      "The relations between the consignment size, the required detection level (RDL), the "
                      "confidence level and the sample size are easy to understand when they are analysed "
                      "in graphs.")});
    paragraphs(1, {QStringLiteral(
                      "With the box at the right you can draw a graph of the relation between the RDL and the "
                      "sample size for different confidence levels and consignment sizes. Try, for instance, "
                      "consignments of 10, 1000 and 10000 units and compare the curves.")});
    paragraphs(2, {QStringLiteral(
                      "It is worth comparing the sampling methods commonly used by the NPPOs, such as taking a "
                      "fixed percentage of the consignment. The graph of the left box sets the sample size "
                      "needed to detect a given RDL against the sample obtained by taking a percentage of "
                      "the consignment.")});
    paragraphs(3, {QStringLiteral(
                      "It is also worth comparing the methods that take a constant sample size (for example "
                      "100 units from every consignment) with the sample size needed to detect a given RDL. "
                      "Draw these graphs with the right box.")});
    setTitle(QStringLiteral("2. Graphical Relations "));
}

void Form2::Image2_Click() { go({"FGrafico1"}); }
void Form2::Image1_Click() { go({"FGrafico2"}); }
void Form2::Image5_Click() { go({"FGrafico3"}); }

// Topic 3 ---------------------------------------------------------------------

Form3::Form3() : LessonPage(QStringLiteral("Form3"), lesson("Concepts of simulation", "3. Concepts of simulation")) {}

void Form3::buildContent(FormWidget* w)
{
    text(w, 0, 105, 1875, 10965, 2310, kBlack);
    text(w, 1, 120, 4383, 11070, 2670, kBlack);
}

void Form3::pageLoad()
{
    handCursors({"Image6", "Image2", "Image1", "Image7", "Image8", "Image11"});
    paragraphs(0,
               {QStringLiteral("Simulation techniques are widely used to study how a system behaves under given "
                               "conditions. Stochastic simulation works with probabilities, and in the case of "
                               "inspection two probabilities matter most:"),
                QStringLiteral("1. the probability of a certain level of infestation (prevalence) in the consignment and"),
                QStringLiteral("2. the probability that the inspection system detects this prevalence"),
                QStringLiteral("These two probabilities are almost complementary. In a consignment of 1,000 units "
                               "that is 100% infested, a single sampled unit is enough to reveal the infestation; "
                               "if the same consignment has only one infested unit, almost all of its units must "
                               "be sampled to find it.")},
               kCRLFCR);
    paragraphs(1,
               {QStringLiteral("The inspection is simulated by a program that generates random numbers standing for "
                               "the prevalence of the pest in the consignment. These numbers must follow the "
                               "appropriate statistical distribution; this program uses a uniform distribution, in "
                               "which every value between the given minimum and maximum is equally likely."),
                QStringLiteral("The program also draws random numbers for the infested units and for the sampled "
                               "units. If an infested unit is sampled, the consignment is refused; if none is, the "
                               "consignment ingresses. The process is repeated many times and the averages of the "
                               "results are shown.")},
               kCRLFCR, kCRLFCR);
}

// Topic 5 ---------------------------------------------------------------------

Form5::Form5()
    : LessonPage(QStringLiteral("Form5"), lesson("Ingress and introduction", "5. Ingress and Introduction"))
{
}

void Form5::buildContent(FormWidget* w)
{
    text(w, 0, 105, 1770, 9930, 1005, kBlack);
    text(w, 1, 105, 2865, 9930, 1620, kBlack);
    text(w, 2, 75, 4605, 9930, 1140, kBlack);
    text(w, 3, 60, 5867, 9930, 1035, kBlack);
    wordButton(w->client(), QStringLiteral("Image1"), QStringLiteral("Simulate"), 5025, 7200, false);
    onClick(w, QStringLiteral("Image1"), [this] { Image1_Click(); });
}

void Form5::pageLoad()
{
    handCursors({"Image1", "Image6", "Image2", "Image5", "Image7", "Image8", "Image11"});
    setTitle(QStringLiteral("5. Ingress and Introduction"));
    paragraphs(0, {QStringLiteral(
                      "The pest risk could be lowered by requiring a stricter (lower) RDL and a higher confidence "
                      "level. The sample size then has to grow, and it often becomes so large that it can hardly "
                      "be applied in practice.")});
    paragraphs(1,
               {QStringLiteral("In such cases a higher detection level may be required instead, by assessing the "
                               "probability that a pest which ingresses will also establish. Quantitative pest risk "
                               "analyses give the information needed for that assessment."),
                QStringLiteral("This assessment usually takes the probability that the pest reaches a suitable host "
                               "(probability p1) and the probability that it finds favourable environmental "
                               "conditions (probability p2). Their product is the final probability that an "
                               "ingressing pest establishes.")},
               kLFCR);
    paragraphs(2, {QStringLiteral(
                      "The number of pests needed for one establishment is the reciprocal of that final "
                      "probability: with a probability of 0.001, 1000 individuals (1/0.001) must ingress for one "
                      "establishment. Knowing the volume of imports, the RDL can then be raised and the sample "
                      "size lowered while the risk stays below an adequate threshold.")});
    paragraphs(3, {QStringLiteral(
                      "Simulation is also useful to study how sample size, ingress and establishment are related. "
                      "To simulate inspection, ingress and establishment click on Simulate and enter the data, "
                      "including p1 (the pest reaches the host) and p2 (the pest finds favourable environmental "
                      "conditions).")});
}

// The input window comes last so that, always on top, it ends in front.
void Form5::Image1_Click() { go({"FResultSim", "FSimula1"}); }

// Topic 6 ---------------------------------------------------------------------

Form6::Form6()
    : LessonPage(QStringLiteral("Form6"), lesson("Inspection and establishment", "6. Inspection and establishment"))
{
}

void Form6::buildContent(FormWidget* w)
{
    text(w, 0, 225, 1605, 9705, 480, kMaroon);
    text(w, 1, 180, 2160, 9705, 870, kMaroon);
    auto* eq = place<ImageButton>(w->client(), QStringLiteral("Image1"), 3030, 3105, 4575, 1035);
    eq->setPicture(figures::establishmentEquation());
    eq->setStretch(true);
    eq->setBorderStyle(1);
    text(w, 2, 150, 4350, 9720, 1110, kMaroon);
    text(w, 3, 120, 5655, 9405, 885, kMaroon);
    wordButton(w->client(), QStringLiteral("Image2"), QStringLiteral("Graph"), 5025, 7200, true);
    onClick(w, QStringLiteral("Image1"), [this] { Image1_Click(); });
    onClick(w, QStringLiteral("Image2"), [this] { Image2_Click(); });
    onClick(w, QStringLiteral("Image9"), [this] { Image9_Click(); });
}

void Form6::pageLoad()
{
    handCursors({"Image2"});
    chartFace(0);
    tableOff();
    handCursors({"Image6", "Image12", "Image5", "Image7", "Image8", "Image9", "Image10", "Image11"});
    paragraphs(0, {QStringLiteral(
                      "From the foregoing, a certain number of pest individuals can ingress the country without "
                      "any establishment. This number is the reciprocal of the total probability of "
                      "establishment (p1*p2).")});
    paragraphs(1, {QStringLiteral(
                      "The product of the RDL and the consignment size is the largest number of pests in a "
                      "consignment that can escape detection and ingress. An inspection system can therefore be "
                      "planned with the following relation:")});
    paragraphs(2, {QStringLiteral(
                      "where p1 is the probability that the pest reaches the host, p2 the probability that it finds "
                      "favourable environmental conditions, RDL the required detection level and Population the "
                      "consignment size. If p1 and p2 are 1, every ingressing pest could establish and the "
                      "sampling must detect a single infested unit: the RDL is 1/consignment size, very low for "
                      "large consignments, which need a very large and unfeasible sample.")});
    paragraphs(3, {QStringLiteral(
                      "By rearranging the corresponding equations, the sample size needed to avoid the "
                      "establishment of a pest can be estimated from p1, p2 and the confidence level for "
                      "consignments of different sizes. Click on Graph to see it.")});
}

void Form6::Image1_Click() { go({"FSimula1"}); }

void Form6::Image2_Click()
{
    // The graph page fills a table: the table face becomes live first.
    IgnoreErrors e;
    e.step([&] { ctl<ImageButton>(QStringLiteral("Image10"))->setPicture(startPicture(2)); });
    e.step([&] { ctl(QStringLiteral("Image10"))->setEnabled(true); });
    go({"FGrafico4"});
}

void Form6::Image9_Click() { Image2_Click(); }

// Topic 7 ---------------------------------------------------------------------

Form7::Form7() : LessonPage(QStringLiteral("Form7"), lesson("Inspection risks", "7. Risk of the Inspection")) {}

void Form7::buildContent(FormWidget* w)
{
    text(w, 0, 240, 1605, 9705, 645, kMaroon);
    text(w, 1, 240, 2610, 9705, 1065, kMaroon);
    text(w, 2, 240, 3810, 9720, 540, kMaroon);
    wordButton(w->client(), QStringLiteral("Image2"), QStringLiteral("Graph"), 5025, 7201, true);
    onClick(w, QStringLiteral("Image2"), [this] { Image2_Click(); });
    onClick(w, QStringLiteral("Image9"), [this] { Image9_Click(); });
}

void Form7::pageLoad()
{
    handCursors({"Image2"});
    tableOff();
    chartFace(0);
    tableOff();
    handCursors({"Image6", "Image12", "Image5", "Image7", "Image8", "Image9", "Image10", "Image11"});
    paragraphs(0, {QStringLiteral(
                      "The confidence level is the probability that one inspection detects a consignment whose "
                      "prevalence is above the RDL. A CL of 0.95 means that 95 of 100 inspections will detect "
                      "such a prevalence and 5 will fail.")});
    paragraphs(1, {QStringLiteral(
                      "It is interesting to know how many safe inspections come with each one that fails. This "
                      "number is estimated by 1/(1-CL): with a CL of 0.95 about one inspection in 20 fails, and "
                      "with a CL of 0.999 only one in 1000.")});
    paragraphs(2, {QStringLiteral(
                      "It is also interesting to compute the sample needed for a given risk of failure, expressed "
                      "as the number of safe inspections of the previous paragraph. Click on Graph to see it.")});
}

void Form7::Image2_Click() { go({"FGrafico5"}); }
void Form7::Image9_Click() { Image2_Click(); }

// Topic 8 ---------------------------------------------------------------------

Form8::Form8() : LessonPage(QStringLiteral("Form8"), lesson("Acceptable level of risk")) {}

void Form8::buildContent(FormWidget* w)
{
    text(w, 0, 135, 1605, 9915, 645, kMaroon);
    text(w, 1, 135, 2415, 9915, 1065, kMaroon);
    text(w, 2, 135, 3480, 9915, 885, kMaroon);
    auto* eq = place<ImageButton>(w->client(), QStringLiteral("Image1"), 2760, 4635, 4830, 915);
    eq->setPicture(figures::thresholdEquation());
    eq->setBorderStyle(1);
    text(w, 3, 135, 5820, 9915, 1740, kMaroon);
    onClick(w, QStringLiteral("Image1"), [this] { Image1_Click(); });
}

void Form8::pageLoad()
{
    chartFace(1);
    tableOff();
    handCursors({"Image6", "Image12", "Image5", "Image7", "Image8", "Image11"});
    setTitle(QStringLiteral("8. Aceptable Level of Risk"));
    paragraphs(0, {QStringLiteral(
                      "The number of inspections without failure is the same notion as the Acceptable Level of "
                      "Risk: wanting 200.000 inspections without failure means accepting a level of risk of "
                      "1/200.000, that is 0.000005.")});
    paragraphs(1, {QStringLiteral(
                      "As the sample size depends on the probability of establishment (p1*p2), it can become very "
                      "large for low levels of risk and high probabilities of establishment. For a consignment of "
                      "1.000 units, a pest with p1*p2 = 0.25 and a failure risk of 0.000005, the required sample "
                      "is 953 units.")});
    paragraphs(2, {QStringLiteral(
                      "In such cases phytosanitary measures have to be applied, to lower either the prevalence in "
                      "the consignment or the probabilities of establishment. In theory the prevalence in the "
                      "consignment should be brought below the following threshold:")});
    paragraphs(3,
               {QStringLiteral("This is the equation of page 6 written in another form. The RDL computed with it "
                               "ensures that the pests which ingress are too few to establish."),
                QStringLiteral("As the sample needed to check for this RDL can be very large and unfeasible, the "
                               "inspection would then aim at a general assessment of the consignment rather than "
                               "at the detection of this particular pest.")},
               kLFLF);
}

void Form8::Image1_Click() { go({"FSimula1"}); }

// Topic 9 ---------------------------------------------------------------------

Form9::Form9() : LessonPage(QStringLiteral("Form9"), lesson("Appropriated level of protection")) {}

void Form9::buildContent(FormWidget* w)
{
    text(w, 0, 135, 1620, 9705, 645, kMaroon);
    text(w, 1, 135, 2385, 9705, 585, kMaroon);
    text(w, 2, 120, 3015, 9720, 900, kMaroon);
    auto* eq = place<ImageButton>(w->client(), QStringLiteral("Image1"), 2940, 3945, 5130, 975);
    eq->setPicture(figures::confidenceEquation());
    eq->setBorderStyle(1);
    text(w, 3, 90, 5040, 9915, 675, kMaroon);
    text(w, 4, 75, 5790, 9915, 615, kMaroon);
    wordButton(w->client(), QStringLiteral("Image2"), QStringLiteral("Graph"), 5025, 7200, true);
    onClick(w, QStringLiteral("Image1"), [this] { Image1_Click(); });
    onClick(w, QStringLiteral("Image2"), [this] { Image2_Click(); });
    onClick(w, QStringLiteral("Image9"), [this] { Image9_Click(); });
}

void Form9::pageLoad()
{
    handCursors({"Image2"});
    chartFace(0);
    handCursors({"Image9"});
    tableOff();
    handCursors({"Image6", "Image12", "Image5", "Image7", "Image8", "Image10", "Image11"});
    setTitle(QStringLiteral("9. Appropriated Level of Protection"));
    paragraphs(0, {QStringLiteral(
                      "The equation of the previous page holds for a single consignment. For a sequence of imports "
                      "made of many consignments it is worth bringing the confidence level back.")});
    paragraphs(1, {QStringLiteral(
                      "In that setting the CL stands for the percentage, or proportion, of consignments whose "
                      "prevalence lies below the established RDL.")});
    paragraphs(2, {QStringLiteral(
                      "The equation below makes this easy to see with the extreme values of the CL: with a CL of 1 "
                      "(100% confidence) the RDL in the consignments must be 0; with a CL of 0 (0% confidence) the "
                      "computed RDL is the one for a single consignment.")});
    paragraphs(3, {QStringLiteral(
                      "The CL can thus be an indirect measure of the Appropriated Level of Protection: a country "
                      "that holds a crop to be very important would choose a very high CL, and so a very low RDL.")});
    paragraphs(4, {QStringLiteral(
                      "With an estimate of the number of imports per year, the CL can be set so that the country is "
                      "sure of no establishment for 100, 500, 1000 or more years. Click on Graph to see it.")});
}

void Form9::Image1_Click() { go({"FSimula1"}); }
void Form9::Image2_Click() { go({"FGrafico6"}); }
void Form9::Image9_Click() { Image2_Click(); }

// Topic 10 --------------------------------------------------------------------

Form10::Form10()
    : LessonPage(QStringLiteral("Form10"), lesson("Phytosanitary measures: Holistic approach",
                                                  "10. Phytosanitary measures: Holistic approach", 0x00FFFFFF))
{
}

void Form10::buildContent(FormWidget* w)
{
    text(w, 0, 300, 1455, 9930, 1215, kWindowText);
    auto* diagram = place<ImageButton>(w->client(), QStringLiteral("Image3"), 480, 2790, 9480, 2955);
    diagram->setPicture(figures::pathwayDiagram());
    diagram->setBorderStyle(1);
    text(w, 1, 300, 5895, 9930, 1740, kBlack);
}

void Form10::pageLoad()
{
    handCursors({"Image6", "Image2", "Image1", "Image7", "Image8", "Image11"});
    paragraphs(0,
               {QStringLiteral("The previous pages discussed how much the inspection method matters for a safe trade "
                               "of plant products, and that in some cases the sample size needed to reach a given "
                               "RDL cannot be taken in practice."),
                QStringLiteral("The figure below shows the events from the crop field in the exporting country to a "
                               "possible establishment in the importing country. It helps to pick out the factors "
                               "that could be changed to avoid establishment.")},
               kLFLF);
    paragraphs(1,
               {QStringLiteral("The field prevalence and p2 (environmental conditions favourable to the pest) can "
                               "hardly be changed, but reducing the consignment size or the number of imports per "
                               "year also reduces the probability of establishment."),
                QStringLiteral("Likewise, the efficacy of the phytosanitary measures applied (treatments, for "
                               "example) or the confidence level of the inspection system can be raised, and p1 "
                               "(the pest reaches the production area) can be lowered by timing the imports to the "
                               "season or by specifying a port of entry.")},
               kLFLF);
}

// Topic 11 --------------------------------------------------------------------

// The background is the system's title-bar text colour.
Form10a::Form10a()
    : LessonPage(QStringLiteral("Form10a"), lesson("Phytosanitary measures: Effect",
                                                   "11. Phytosanitary measures: Effect", 0x80000009, 0))
{
}

void Form10a::buildContent(FormWidget* w)
{
    text(w, 0, 345, 1545, 11100, 1650, kWindowText, 11.25);
    text(w, 1, 345, 3390, 11100, 540, kBlue, 11.25, true, true);
    text(w, 2, 345, 4080, 11100, 540, kBlack, 11.25); // two whole lines
    text(w, 3, 330, 4830, 11100, 2835, kBlack, 11.25);
}

void Form10a::pageLoad()
{
    chartFace(1);
    tableOff();
    handCursors({"Image6", "Image2", "Image1", "Image7", "Image8", "Image11"});
    paragraphs(0,
               {QStringLiteral("The next page simulates the prevalence of a pest along the simplified events of an "
                               "export and import chain. It shows the effect of changing the field prevalence "
                               "and/or its variability, the consignment size and the efficacy of the "
                               "phytosanitary measures."),
                QStringLiteral("For systems approaches, this efficacy is the final efficacy of the whole group of "
                               "measures applied, computed with the following formula:")},
               kLFLF);
    paragraphs(1, {QStringLiteral(
                      "      TotalEfficay = 1 - {(1 - efficay1) x (1 - efficacy2) x ... x (1 - efficacyN)}")});
    paragraphs(2, {QStringLiteral(
                      "where efficacy1, efficacy2 to efficacyN are the efficacies of the single measures of the "
                      "systems approach, each expressed against a 100% removal of the pest.")});
    paragraphs(3,
               {QStringLiteral("You can raise the efficacy of the measures (treatments, for example) or the "
                               "confidence level of the inspection system, lower p1 (the pest reaches the "
                               "production area) by timing the imports to the season or specifying a port of "
                               "entry, and, as in the earlier simulation, change the consignment size."),
                QStringLiteral("Clicking the Table button shows the time lag between probable establishments and "
                               "the expected percentage of refused consignments."),
                QStringLiteral("A slider changes the Appropriated Level of Protection, expressed as the time lag "
                               "between establishments, and gives the value of any of the variables (efficacy, "
                               "sample size and the others) needed to reach that ALP.")},
               kLFLF);
}

// Topic 13 --------------------------------------------------------------------

Form12::Form12()
    : LessonPage(QStringLiteral("Form12"),
                 lesson("Inspection and establishment", "13. Phytosanitary measures: Efficacy and ALP"))
{
}

void Form12::buildContent(FormWidget* w)
{
    text(w, 0, 225, 1995, 10485, 480, kMaroon);
    // The equation box has a thin single-line border.
    auto* box = place<BorderedPictureBox>(w->client(), QStringLiteral("Picture1"), 90, 2535, 11115, 1305);
    box->setBackColor(vbColor(kWindow));
    box->setPicture(figures::protectionEquation());
    text(w, 1, 225, 4335, 10485, 870, kMaroon);
    text(w, 2, 225, 5325, 10485, 1110, kMaroon);
    text(w, 3, 165, 6105, 10605, 615, kMaroon);
    text(w, 4, 165, 6840, 10485, 750, kMaroon);
    wordButton(w->client(), QStringLiteral("Image2"), QStringLiteral("Graph"), 5025, 7200, true);
    onClick(w, QStringLiteral("Image2"), [this] { Image2_Click(); });
    onClick(w, QStringLiteral("Image9"), [this] { Image9_Click(); });
}

void Form12::pageLoad()
{
    chartFace(0);
    tableOff();
    handCursors({"Image2", "Image6", "Image12", "Image5", "Image7", "Image8", "Image9", "Image10", "Image11"});
    paragraphs(0, {QStringLiteral(
                      "All the concepts of the previous pages can be put together, in mathematical terms, in the "
                      "equation below.")});
    paragraphs(1, {QStringLiteral(
                      "The equation expresses the Appropriated Level of Protection (ALP) as the time lag between "
                      "two possible introductions, an introduction being (ingress + establishment). The field "
                      "prevalence multiplied by (1 - efficacy) is the actual prevalence, as a proportion, of the "
                      "consignment that arrives in the importing country.")});
    paragraphs(2, {QStringLiteral(
                      "P1 and P2 should be widened to take in every mortality factor, such as those of the "
                      "transport environment.")});
    paragraphs(3, {QStringLiteral(
                      "The detection efficacy is the confidence level of the sampling system, which enters the "
                      "equation through the term that holds the sample size.")});
    paragraphs(4, {QStringLiteral(
                      "The next page draws the graph of this equation. Changing the value of each variable and "
                      "watching its effect leads to interesting conclusions.")});
}

void Form12::Image2_Click() { go({"FGrafico12"}); }
void Form12::Image9_Click() { go({"FGrafico12"}); }

} // namespace tav
