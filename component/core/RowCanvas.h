#pragma once
#include <QByteArray>
#include <QColor>
#include <QImage>

// An image as large as a whole picture of which only a window of rows has
// memory. The picture is painted a band of rows at a time, each band in the
// coordinates and at the place it has in the whole picture, so that it gets
// exactly the pixels of the picture painted at once; the band's rows, and
// `margin` rows on either side of it, fall in the window. So a picture of
// any size takes the memory of a band.
class RowCanvas {
public:
    // rows: the most rows of a band; raises QuillError when the memory for
    // them is not there.
    RowCanvas(int width, int height, QImage::Format format, int rows, int margin);

    // The whole picture, with the rows [top - margin, top + rows + margin) in
    // the window and the band's rows [top, top + count) set to colour, as
    // QImage::fill would. Painting anywhere else is not allowed; the image is
    // valid until the next call.
    QImage &band(int top, int count, const QColor &colour);

private:
    int m_width, m_height, m_margin;
    QImage::Format m_format;
    qsizetype m_bytesPerLine;
    QByteArray m_window;
    QImage m_image;
};
