#pragma once
#include "FormatOptions.h"
#include "Symbology.h"

#include <QByteArray>
#include <QImage>
#include <QPointF>
#include <QSize>
#include <QString>
#include <cstdint>
#include <memory>

class QPainter;
class QRect;
class SettingsStore;
class SymbolDesign;

// The component's font object. Changing it does not redraw: the change shows
// the next time a member of the component itself is set (ShowText, Caption...).
class VantrelFont {
public:
    QString Name() const { return m_name; }
    void setName(const QString &name);
    // Points at the screen's resolution, kept as a fixed-point number with four
    // decimals (14.123456 reads back 14.1235).
    double Size() const { return double(m_sizeTenThousandths) / 10000.0; }
    void setSize(double points);
    // Text form: a number in the user's format or with "."; QuillError when none.
    void setSize(const QString &points);

private:
    friend class SymbolDesign;
    QString m_name = QStringLiteral("Arial");
    std::int64_t m_sizeTenThousandths = 80000; // 8 pt
};

// The barcode component without its window: its members, and the symbol they
// make drawn into pictures, metafiles, the clipboard and onto any device.
// Members keep the last value set. The window (Vantrel) shows the preview and
// is told of every change.
class SymbolDesign {
public:
    SymbolDesign();
    virtual ~SymbolDesign();
    SymbolDesign(const SymbolDesign &) = delete;
    SymbolDesign &operator=(const SymbolDesign &) = delete;

    // Where the format options are kept; loaded at once.
    void setOptionsStore(SettingsStore *store);
    const FormatOptions &formatOptions() const;
    void setFormatOptions(const FormatOptions &options); // stored when they differ

    std::int16_t BarType() const;
    void setBarType(std::int16_t code); // a Symbology; anything else draws nothing
    std::int32_t ShowText() const;
    void setShowText(std::int32_t show); // always redraws, even unchanged
    double Orientation() const;
    void setOrientation(double tenthsOfDegree); // 0, 900, 1800, 2700
    std::int16_t Scaling() const;
    void setScaling(std::int16_t scaling);
    QString Title() const;
    void setTitle(const QString &title);
    std::int16_t Alignment() const;
    void setAlignment(std::int16_t alignment); // 0 left, 1 centre, 2 right
    QString Caption() const;
    void setCaption(const QString &data);
    VantrelFont &Font();

    // Output members. Each raises QuillError (with a description a user can
    // read) when the data cannot be encoded, instead of a label without bars,
    // and SymbolFitError, writing and drawing nothing, when the symbol with its
    // quiet zones would get less than one whole pixel a module.
    QImage Picture() const; // at the component's pixel size
    void SavePng(const QString &file, std::int32_t width, std::int32_t height) const;
    // Picture() as a Windows bitmap file, drawn and written a band of rows at
    // a time: the memory of a band, not of the picture.
    void saveBitmap(const QString &file) const;
    // Saved pictures' resolution in dots per inch (0: the screen's, as ever).
    // Their text is then as large as printed, their headers record it and
    // the fit message counts in its pixels; the preview, Picture() and the
    // clipboard keep the screen's.
    void setPictureDpi(int dpi);
    int pictureDpi() const;
    // A bitmap file of that size, at the pictures' resolution.
    void saveBitmap(const QString &file, int width, int height) const;
    // A drawing of width x height pixels at the pictures' resolution (the
    // screen's when 0): bars as rectangles, text as text in the font (PDF
    // embeds it), the page the picture's size.
    enum class Drawing { Svg, Eps, Pdf };
    void saveDrawing(const QString &file, Drawing kind, int width, int height) const;
    // draw() on the surface the device handle names (see DeviceRegistry).
    void DrawToDevice(std::int32_t hdc, std::int32_t x, std::int32_t y, std::int32_t width,
                      std::int32_t height) const;
    // The symbol filling area (the painter's device pixels) as a printer takes
    // it: at the device's resolution, on its white unless the background is coloured.
    void draw(QPainter &painter, const QRect &area) const;
    void CopyToClipboard() const; // metafile and PNG
    QByteArray metafileBytes() const; // the metafile CopyToClipboard puts
    // A saved metafile of width x height units at pictureDpi(), its units an inch.
    QByteArray metafileBytes(int width, int height) const;
    // The module, in the surface's pixels, of the symbol drawn in area (pixels)
    // on a surface of dpi: whole pixels unless "Scale barcode" or exact asks for
    // the length shared out exactly. 0 when the symbol would not be drawn.
    double moduleOn(const QSize &area, QPointF dpi, bool exact = false) const;
    void Refresh(); // the preview redrawn at once

    // Placement inside the parent, in single-precision pixels; the exact values
    // set are kept, the pixel size is their nearest whole numbers.
    float Left() const;
    float Top() const;
    float Width() const;
    float Height() const;
    void setWidth(float width);
    void setHeight(float height);
    void Move(float left, float top);
    int pixelWidth() const;
    int pixelHeight() const;

    // The preview: the symbol as the font stood at the last member set, or why
    // it cannot be drawn. Returns the note shown when pictures of this size
    // could not hold the symbol (the preview then shows it reduced); empty
    // when they can.
    QString drawPreview(QPainter &painter, const QRect &area) const;

protected:
    // A member changed: the preview is out of date (now: at once).
    virtual void changed(bool now) { (void)now; }
    // The placement changed.
    virtual void placed() { }

private:
    void memberChanged(bool now = false);
    struct Impl;
    std::unique_ptr<Impl> d;
};
