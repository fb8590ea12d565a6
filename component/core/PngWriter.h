#pragma once
#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QString>
#include <vector>
#include <zlib.h>

// The PNG files of the save run: two-colour (1 bit per pixel, palette) PNGs
// built directly, because Qt's general PNG writer costs many times the label's
// whole drawing. Rows come in bands, top first, and the file's bytes come out
// as they are made, so that no picture is ever held whole.
class PngWriter {
public:
    // The file's bytes are added to out, which the caller may empty between
    // calls; the signature and headers are there at once.
    PngWriter(int width, int height, const QColor &back, const QColor &bar, double dpiX, double dpiY,
              QByteArray &out);
    ~PngWriter();
    PngWriter(const PngWriter &) = delete;
    PngWriter &operator=(const PngWriter &) = delete;

    // The next `count` rows of the picture, the rows of ink from `top` on: an
    // 8-bit grayscale image drawn black on white; dark pixels become `bar`, the
    // rest `back`, with a hard threshold (no dithering).
    void addRows(const QImage &ink, int top, int count);
    // After the last row: the rest of the file.
    void finish();

    // A whole picture at once.
    static QByteArray twoColour(const QImage &ink, const QColor &back, const QColor &bar, double dpiX,
                                double dpiY);

private:
    void deflateRow(int flush);

    QByteArray &m_out;
    const int m_width;
    z_stream m_stream{};
    std::vector<Bytef> m_row; // the row packed, its filter byte first
    std::vector<uchar> m_lastInk; // the row before, as drawn
    std::vector<Bytef> m_packed; // deflate's output, one IDAT chunk when full
    bool m_haveRow = false;
};
