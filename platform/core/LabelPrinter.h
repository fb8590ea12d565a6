#pragma once
#include <QString>
#include <cstdint>

class QPainter;

// A printer as the printing run draws on it. beginJob() opens a job and its
// first page (while none is open); painter() draws on the open page, in
// device pixels (the printer's dots); newPage() closes the page and opens the
// next; endJob() sends the job, abortJob() throws it away. Sizes are in
// twips. Any operation may raise QuillError.
class LabelPrinter {
public:
    virtual ~LabelPrinter() = default;

    virtual QString deviceName() const = 0;
    virtual void beginJob() = 0;
    virtual QPainter &painter() = 0; // the open job's page
    virtual std::int32_t pageWidthTwips() const = 0; // whole page
    virtual std::int32_t pageHeightTwips() const = 0;
    virtual float twipsPerPixelX() const = 0;
    virtual float twipsPerPixelY() const = 0;
    virtual void newPage() = 0;
    virtual void endJob() = 0;
    virtual void abortJob() = 0; // cancels an open job; no-op otherwise
};
