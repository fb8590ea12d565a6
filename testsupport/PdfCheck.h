#pragma once
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

// Reads a printed label sheet back from outside our code: pdfinfo counts the
// pages, pdftoppm rasterises them and zxing-cpp reads each label cell of the
// LabelSheet layout on its own, so a label in the wrong cell, a wrong value, a
// missing symbol and a symbol where none belongs all count as wrong.
struct PdfCheckReport {
    int pages = -1; // as pdfinfo counts them; -1 when it could not
    int pagesChecked = 0;
    qint64 labelsChecked = 0;
    qint64 labelsWrong = 0;
    QStringList problems; // the first few, for the report

    static PdfCheckReport pagesOnly(int pages)
    {
        PdfCheckReport report;
        report.pages = pages;
        return report;
    }
    bool ok() const { return pages > 0 && pagesChecked > 0 && labelsWrong == 0 && problems.isEmpty(); }
    QString summary() const;
};

class PdfCheck {
public:
    // valueOf(k) is the value of label k, counted from 1.
    PdfCheck(QString pdf, qint64 labelCount, std::function<QString(qint64)> valueOf);

    // Pages as poppler's pdfinfo counts them; -1 when it cannot read the file.
    static int pageCount(const QString &pdf);
    // Pages first..last (1-based; last -1: to the end) in grey by poppler's
    // pdftoppm, its files kept in a folder made under workFolder (empty: the
    // system's temporary folder) until they are read; empty when it failed.
    static QList<QImage> render(const QString &pdf, int dpi, int first = 1, int last = -1,
                                const QString &workFolder = QString());
    int expectedPages() const;
    // 1-based page numbers; all of them, or about `count` spread evenly with the first and last.
    QList<int> allPages() const;
    QList<int> samplePages(int count) const;

    PdfCheckReport check(const QList<int> &pages, const QString &workFolder) const;

private:
    void checkPage(int page, const QImage &image, PdfCheckReport &report) const;

    QString m_pdf;
    qint64 m_labelCount;
    std::function<QString(qint64)> m_valueOf;
};
