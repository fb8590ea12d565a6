#pragma once
#include <QPageSize>
#include <QString>
#include <QStringList>
#include <vector>

// A sheet or roll of labels as a label maker sells it: the paper, the label's
// size and the grid the labels sit in. Lengths are in points (1/72 in).
struct LabelProduct {
    QString brand, part, description;
    // The paper's id and name ("US-Letter", "US Letter"). Paper of no standard
    // size (the id "Other": a roll, or a sheet cut to the product) is named
    // kOwnPaper; paperTitle() gives its size instead.
    QString paperId, paperName;
    double paperWidth = 0, paperHeight = 0;
    bool ownPaper = false;
    double labelWidth = 0, labelHeight = 0; // the label's bounding box
    QString shape; // "rectangle", "round", "ellipse", "cd"
    int columns = 0, rows = 0;
    double left = 0, top = 0; // the first label's top-left corner on the paper
    double pitchX = 0, pitchY = 0; // from one label to the next

    static inline const QString kOwnPaper = QStringLiteral("Paper of its own size");
    QString name() const { return brand + ' ' + part; }
    // "2.625 x 1 in, 3 x 10 on US Letter" (or mm, for a product measured in mm).
    QString summary() const;
    // The paper's name, or for paper of its own size that size: "32 × 57 mm".
    QString paperTitle() const;
    // The paper as the printer is given it (a roll: one label).
    QPageSize paper() const;
};

// The print dialog's numbers that put a product's labels where the product has
// them, in the dialog's unit: the designer's width and height become the
// label's, the label margins the gaps, the page margins the first label's
// corner and what leaves no room for one more column or row.
struct LabelProductFill {
    double width = 0, height = 0; // designer's Width and Height
    double labelLeft = 0, labelRight = 0, labelTop = 0, labelBottom = 0;
    double pageLeft = 0, pageRight = 0, pageTop = 0, pageBottom = 0;
};

// The label products that a folder of template files describes (the format of
// the glabels-data package: *-templates.xml with paper-sizes.xml beside them).
class LabelProducts {
public:
    static QString defaultFolder(); // where Debian's glabels-data puts them
    // Every rectangular or bounding-box product with one regular grid, sorted by
    // name; empty when the folder holds none (error says why).
    static std::vector<LabelProduct> load(const QString &folder, QString *error = nullptr);
    // Products whose name or description holds every word of the query
    // (case-insensitive), on the given paper id or on any when empty.
    static std::vector<const LabelProduct *> search(const std::vector<LabelProduct> &products,
                                                    const QString &query, const QString &paperId = {});
    // twipsPerUnit: 1440 for inches, 567 for centimetres. Every number has at
    // most two decimals, as the designer shows its size and the run reads it,
    // and none is below 0; the run then finds the product's columns and rows
    // on its paper, each label as near its place as two decimals allow.
    static LabelProductFill fill(const LabelProduct &product, double twipsPerUnit);
};
