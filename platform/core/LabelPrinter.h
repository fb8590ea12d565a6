#pragma once
#include <QString>
#include <cstdint>

// A printer as the printing run draws on it. A job opens on the first
// printEmptyLine() and is drawn on through the device handle (see
// DeviceRegistry); endDoc() sends it, abortDoc() throws it away. Sizes are in
// twips, device pixels are the printer's dots. Any operation may raise
// QuillError.
class LabelPrinter {
public:
    virtual ~LabelPrinter() = default;

    virtual QString deviceName() const = 0;
    virtual void setScaleMode(std::int16_t mode) = 0;
    virtual void printEmptyLine() = 0; // opens the job and its first page
    virtual std::int32_t pageWidthTwips() const = 0; // whole page
    virtual std::int32_t pageHeightTwips() const = 0;
    virtual float twipsPerPixelX() const = 0;
    virtual float twipsPerPixelY() const = 0;
    virtual std::int32_t hDC() const = 0; // handle of the open job's surface
    virtual void newPage() = 0;
    virtual void endDoc() = 0;
    virtual void abortDoc() = 0; // cancels an open job; no-op otherwise
};
