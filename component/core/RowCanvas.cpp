#include "RowCanvas.h"

#include "QuillError.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

RowCanvas::RowCanvas(int width, int height, QImage::Format format, int rows, int margin)
    : m_width(width)
    , m_height(height)
    , m_margin(margin)
    , m_format(format)
    , m_bytesPerLine(QImage(width, 1, format).bytesPerLine())
{
    const qsizetype size = m_bytesPerLine * (qsizetype(rows) + 2 * qsizetype(margin));
    try {
        m_window = QByteArray(size, Qt::Uninitialized);
    } catch (const std::bad_alloc &) {
    }
    if (m_bytesPerLine <= 0 || m_window.size() != size)
        throw QuillError(
            QStringLiteral("Not enough memory for a picture of %1 x %2 pixels.").arg(width).arg(height));
}

QImage &RowCanvas::band(int top, int count, const QColor &colour)
{
    // Row y of the picture lies (y - top + margin) rows into the window; the
    // address of row 0 may lie outside it, and is never used.
    const auto window = reinterpret_cast<std::uintptr_t>(m_window.data());
    const auto rowZero = window + std::uintptr_t(qsizetype(m_margin - top) * m_bytesPerLine);
    m_image = QImage(reinterpret_cast<uchar *>(rowZero), m_width, m_height, m_bytesPerLine, m_format);

    QImage pixel(1, 1, m_format);
    pixel.fill(colour);
    const int bytes = pixel.depth() / 8;
    quint32 value = 0;
    std::memcpy(&value, pixel.constBits(), size_t(bytes));
    for (int y = top; y < top + count; ++y) {
        uchar *row = reinterpret_cast<uchar *>(rowZero + std::uintptr_t(qsizetype(y) * m_bytesPerLine));
        if (bytes == 1)
            std::memset(row, int(value), size_t(m_width));
        else if (bytes == 4)
            std::fill_n(reinterpret_cast<quint32 *>(row), m_width, value);
        else
            for (int x = 0; x < m_width; ++x)
                std::memcpy(row + qsizetype(x) * bytes, &value, size_t(bytes));
    }
    return m_image;
}
