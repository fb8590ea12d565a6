#include "LabelProducts.h"
#include "Numbers.h"

#include <QSizeF>

#include <QDir>
#include <QFile>
#include <QHash>
#include <QXmlStreamReader>
#include <algorithm>
#include <cmath>

namespace {

// A length as the template files write it: a number with in, mm, cm, pt or pc,
// or a bare number of points.
double points(QStringView text)
{
    static const struct {
        const char *unit;
        double points;
    } units[] = {{"in", 72.0}, {"mm", 72.0 / 25.4}, {"cm", 72.0 / 2.54}, {"pc", 12.0}, {"pt", 1.0}};
    for (const auto &u : units)
        if (text.endsWith(QLatin1String(u.unit)))
            return text.chopped(2).trimmed().toDouble() * u.points;
    return text.trimmed().toDouble();
}

double attr(const QXmlStreamReader &xml, const char *name)
{
    return points(xml.attributes().value(QLatin1String(name)));
}

struct Paper {
    QString name;
    double width, height;
};

QHash<QString, Paper> readPapers(const QString &path)
{
    QHash<QString, Paper> papers;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return papers;
    QXmlStreamReader xml(&file);
    while (xml.readNextStartElement() || !xml.atEnd()) {
        if (xml.isStartElement() && xml.name() == QLatin1String("Paper-size"))
            papers.insert(
                xml.attributes().value("id").toString(),
                {xml.attributes().value("_name").toString(), attr(xml, "width"), attr(xml, "height")});
        else if (!xml.isStartElement())
            xml.readNext();
    }
    return papers;
}

struct Alias {
    QString brand, part, equiv;
};

// One file's templates. A template with more than one layout (labels that are
// not one regular grid) is left out: the printing run lays out one grid.
void readTemplates(const QString &path, const QHash<QString, Paper> &papers, std::vector<LabelProduct> &out,
                   std::vector<Alias> &aliases)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    QXmlStreamReader xml(&file);
    LabelProduct p;
    int layouts = 0;
    bool inTemplate = false;
    while (!xml.atEnd()) {
        xml.readNext();
        const auto name = xml.name();
        if (xml.isStartElement() && name == QLatin1String("Template")) {
            const auto a = xml.attributes();
            if (a.hasAttribute("equiv")) {
                aliases.push_back(
                    {a.value("brand").toString(), a.value("part").toString(), a.value("equiv").toString()});
                continue;
            }
            p = LabelProduct{};
            p.brand = a.value("brand").toString();
            p.part = a.value("part").toString();
            p.description = a.hasAttribute("_description") ? a.value("_description").toString()
                                                           : a.value("description").toString();
            p.paperId = a.value("size").toString();
            const auto paper = papers.find(p.paperId);
            if (paper != papers.end()) {
                p.paperName = paper->name;
                p.paperWidth = paper->width;
                p.paperHeight = paper->height;
            } else {
                p.paperName = LabelProduct::kOwnPaper;
                p.ownPaper = true;
                p.paperWidth = attr(xml, "width");
                p.paperHeight = attr(xml, "height");
            }
            layouts = 0;
            inTemplate = true;
        } else if (inTemplate && xml.isStartElement() && name.startsWith(QLatin1String("Label-"))) {
            p.shape = name.mid(6).toString();
            if (p.shape == QLatin1String("round") || p.shape == QLatin1String("cd")) {
                p.labelWidth = p.labelHeight = 2 * attr(xml, "radius");
                if (xml.attributes().hasAttribute("width")) // a cd cut to a card
                    p.labelWidth = attr(xml, "width"), p.labelHeight = attr(xml, "height");
            } else {
                p.labelWidth = attr(xml, "width");
                p.labelHeight = attr(xml, "height");
            }
        } else if (inTemplate && xml.isStartElement() && name == QLatin1String("Layout")) {
            ++layouts;
            const auto a = xml.attributes();
            p.columns = a.value("nx").toInt();
            p.rows = a.value("ny").toInt();
            p.left = attr(xml, "x0");
            p.top = attr(xml, "y0");
            // A single column or row may give no pitch: one label's length is the pitch.
            p.pitchX = p.columns > 1 ? attr(xml, "dx") : std::max(attr(xml, "dx"), p.labelWidth);
            p.pitchY = p.rows > 1 ? attr(xml, "dy") : std::max(attr(xml, "dy"), p.labelHeight);
        } else if (inTemplate && xml.isEndElement() && name == QLatin1String("Template")) {
            inTemplate = false;
            if (layouts == 1 && p.columns > 0 && p.rows > 0 && p.labelWidth > 0 && p.labelHeight > 0
                && p.paperWidth > 0 && p.paperHeight > 0 && p.pitchX >= p.labelWidth
                && p.pitchY >= p.labelHeight)
                out.push_back(p);
        }
    }
}

} // namespace

namespace {
// Inches for US paper and for labels measured in sixteenths of an inch.
bool metric(const LabelProduct &p)
{
    return !p.paperId.startsWith(QLatin1String("US-")) && std::fmod(p.labelWidth / 72.0 * 16, 1.0) != 0.0;
}
} // namespace

QString LabelProduct::summary() const
{
    const bool mm = metric(*this);
    const auto length
        = [mm](double pt) { return Numbers::amountText(mm ? pt * 25.4 / 72.0 : pt / 72.0, mm ? 1 : 3); };
    const QString paper = ownPaper ? kOwnPaper.toLower() : paperName;
    return QStringLiteral("%1 x %2 %3, %4 x %5 on %6")
        .arg(length(labelWidth), length(labelHeight), mm ? QStringLiteral("mm") : QStringLiteral("in"))
        .arg(columns)
        .arg(rows)
        .arg(paper);
}

QPageSize LabelProduct::paper() const
{
    return QPageSize(QSizeF(paperWidth, paperHeight), QPageSize::Point, paperTitle());
}

QString LabelProduct::paperTitle() const
{
    if (!ownPaper)
        return paperName;
    if (metric(*this))
        return Numbers::sizeText(paperWidth * 25.4 / 72.0, paperHeight * 25.4 / 72.0, QStringLiteral("mm"));
    return Numbers::sizeText(paperWidth / 72.0, paperHeight / 72.0, QStringLiteral("in"));
}

QString LabelProducts::defaultFolder() { return QStringLiteral("/usr/share/libglabels-3.0/templates"); }

std::vector<LabelProduct> LabelProducts::load(const QString &folder, QString *error)
{
    std::vector<LabelProduct> products;
    std::vector<Alias> aliases;
    const QDir dir(folder);
    const auto papers = readPapers(dir.filePath(QStringLiteral("paper-sizes.xml")));
    for (const QString &name : dir.entryList({QStringLiteral("*-templates.xml")}, QDir::Files, QDir::Name))
        readTemplates(dir.filePath(name), papers, products, aliases);
    // Another part number for the same product: a copy under its own name.
    QHash<QString, qsizetype> byName;
    for (qsizetype i = 0; i < qsizetype(products.size()); ++i)
        byName.insert(products[i].brand + '\n' + products[i].part, i);
    for (const Alias &a : aliases) {
        const auto found = byName.find(a.brand + '\n' + a.equiv);
        if (found == byName.end())
            continue;
        LabelProduct copy = products[*found];
        copy.part = a.part;
        products.push_back(copy);
    }
    std::sort(products.begin(), products.end(), [](const LabelProduct &a, const LabelProduct &b) {
        const int c = QString::compare(a.brand, b.brand, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : QString::compare(a.part, b.part, Qt::CaseInsensitive) < 0;
    });
    if (products.empty() && error)
        *error = QStringLiteral("No label products were found in %1. They come with the glabels-data "
                                "package: sudo apt-get install glabels-data")
                     .arg(folder);
    return products;
}

std::vector<const LabelProduct *> LabelProducts::search(const std::vector<LabelProduct> &products,
                                                        const QString &query, const QString &paperId)
{
    const QStringList words = query.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    std::vector<const LabelProduct *> found;
    for (const LabelProduct &p : products) {
        if (!paperId.isEmpty() && p.paperId != paperId)
            continue;
        const QString text = p.name() + ' ' + p.description;
        if (std::all_of(words.begin(), words.end(),
                        [&](const QString &w) { return text.contains(w, Qt::CaseInsensitive); }))
            found.push_back(&p);
    }
    // The product named exactly comes first, then names that start with the query.
    auto rank = [&](const LabelProduct *p) {
        const QString name = p->name();
        return name.compare(query.trimmed(), Qt::CaseInsensitive) == 0 ? 0
            : name.startsWith(query.trimmed(), Qt::CaseInsensitive)    ? 1
                                                                       : 2;
    };
    std::stable_sort(found.begin(), found.end(), [&](auto *a, auto *b) { return rank(a) < rank(b); });
    return found;
}

namespace {

// One direction of a product's grid in the dialog's numbers, each a whole
// number of hundredths of the unit (the two decimals the fields show).
struct Axis {
    long long symbol = 0, gap = 0, start = 0, end = 0;
};

// The count of cells the printing run finds, computed as it computes it.
long long runCount(const Axis &a, double f, double pageTwips)
{
    const double cell = f * (a.symbol / 100.0) + f * (0.0 + a.gap / 100.0);
    return (long long)std::floor((pageTwips - f * (a.start / 100.0 + a.end / 100.0)) / cell);
}

// count labels of length `length`, the first at `first`, one every `pitch`
// (all points) on a page `pageTwips` long. The cell (symbol and gap) and the
// start are chosen among the two-decimal numbers so that no label lies
// further from the product's place than it must; the end leaves room for
// half a cell more where the page has it, so that the count is the product's
// with room to spare, and is checked with the run's own arithmetic.
Axis axis(int count, double length, double first, double pitch, double pageTwips, double f)
{
    const double perHundredth = f / 100.0 / 20.0; // points in a hundredth of the unit
    const double pitchH = pitch / perHundredth;
    const double firstH = first / perHundredth;
    const long long fullSymbol = (long long)std::floor(length / perHundredth + 1e-6);
    Axis best{.symbol = fullSymbol};
    double bestError = -1;
    // A label as wide as the printer's page (A4 is 595.28 points, a printer's
    // 595) gets a symbol a hundredth or two shorter, and its cells with it.
    for (long long symbol = fullSymbol; symbol > 0 && symbol > fullSymbol - 5 && bestError < 0; --symbol) {
        for (long long cell = symbol; cell <= (long long)std::ceil(pitchH); ++cell) {
            for (long long start = 0; start <= (long long)std::ceil(firstH) + 1; ++start) {
                const double error = std::max(std::abs(start - firstH),
                                              std::abs(start + (count - 1) * (cell - pitchH) - firstH));
                if (bestError >= 0 && error >= bestError)
                    continue;
                Axis a{.symbol = symbol, .gap = cell - symbol, .start = start};
                const double spare = pageTwips / f * 100.0 - start - (count + 0.5) * cell;
                a.end = std::max(0LL, (long long)std::floor(spare));
                if (runCount(a, f, pageTwips) != count)
                    continue;
                best = a;
                bestError = error;
            }
        }
    }
    return best;
}

} // namespace

LabelProductFill LabelProducts::fill(const LabelProduct &p, double twipsPerUnit)
{
    const QSize page = (p.paper().size(QPageSize::Point) * 20.0).toSize(); // twips, as the printer has them
    const Axis across = axis(p.columns, p.labelWidth, p.left, p.pitchX, page.width(), twipsPerUnit);
    const Axis down = axis(p.rows, p.labelHeight, p.top, p.pitchY, page.height(), twipsPerUnit);
    LabelProductFill f;
    f.width = across.symbol / 100.0;
    f.height = down.symbol / 100.0;
    f.labelRight = across.gap / 100.0;
    f.labelBottom = down.gap / 100.0;
    f.pageLeft = across.start / 100.0;
    f.pageTop = down.start / 100.0;
    f.pageRight = across.end / 100.0;
    f.pageBottom = down.end / 100.0;
    return f;
}
