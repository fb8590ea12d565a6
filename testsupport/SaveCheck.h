#pragma once
#include <QString>
#include <QStringList>
#include <functional>

// Reads the pictures of a save run back from outside our code: counts the
// files in the folder and has zxing-cpp read a sample of them (SVG drawings
// rasterised by rsvg-convert), each of which
// must read as a Code128 symbol whose value is a value of the run and appears
// in the file's name (the first file keeps the chosen name).
struct SaveCheckReport {
    qint64 files = 0;
    int checked = 0;
    int wrong = 0;
    QString format; // of the first file, by its signature: "png", "bmp", "svg" or "other"
    QStringList problems;

    bool ok() const { return checked > 0 && wrong == 0 && problems.isEmpty(); }
    QString summary() const;
};

class SaveCheck {
public:
    // valueOf(k) is the value of file k, counted from 1.
    SaveCheck(QString folder, QString chosenName, qint64 count, std::function<QString(qint64)> valueOf);
    SaveCheckReport check(int samples) const;

private:
    QString m_folder;
    QString m_chosenName;
    qint64 m_count;
    std::function<QString(qint64)> m_valueOf;
};
