#pragma once
#include "Design.h"
#include "DesignValues.h"
#include "Module1.h"
#include "SymbolDesign.h"

#include <functional>

class LabelPrinter;

// A design's save or print run without a window: the component set up as the
// designer's start-up sets it, values from the data source the design names,
// and the same runs the window's commands start. What the command line runs.
class DesignJob {
public:
    // QuillError when the design names no symbology the component draws.
    // With standardInput the import data is the process's standard input,
    // read once, in place of the design's import file.
    explicit DesignJob(const Design &design, bool standardInput = false);
    DesignJob(const DesignJob &) = delete;
    DesignJob &operator=(const DesignJob &) = delete;

    // One picture per value, named after the file; returns the status line
    // ("120 pictures in /home/user"). QuillError as the save command shows it.
    QString save(const QString &file);
    // The label sheet on the printer, from label firstLabel of the first page,
    // each value on so many labels in a row; returns the status line ("120
    // labels on 3 pages to Zebra"). QuillError with the message the "Printing
    // error!" box shows.
    QString print(LabelPrinter &printer, int firstLabel = 1, int copies = 1);

    SymbolDesign &symbol() { return m_symbol; }
    // Told, after a save or print, of a module too small for scanners (the
    // last value's): the command line warns and does not fail.
    void setWarn(std::function<void(const QString &)> warn) { m_warn = std::move(warn); }

private:
    std::function<void(const QString &)> m_warn;
    class Source : public DataSourceControls {
    public:
        Source(const Design &design, const DesignValues &values, bool standardInput)
            : m_design(design)
            , m_source(values.source())
            , m_columns(values.columns)
            , m_standardInput(standardInput)
        {
        }
        bool textSelected() const override { return m_source == 1; }
        bool sequenceSelected() const override { return m_source == 2; }
        bool importSelected() const override { return m_source == 3; }
        QString fixedText() const override { return m_design.text(DesignKey::Caption); }
        QString sequenceStart() const override { return m_design.text(DesignKey::SequenceStart); }
        QString sequenceEnd() const override { return m_design.text(DesignKey::SequenceEnd); }
        QString importFileName() const override { return m_design.text(DesignKey::ImportFile); }
        QString prefix() const override { return m_design.text(DesignKey::Prefix); }
        QString suffix() const override { return m_design.text(DesignKey::Suffix); }
        ImportColumns importColumns() const override { return m_columns; }
        bool importFromStandardInput() const override { return m_standardInput; }

    private:
        const Design &m_design;
        int m_source;
        ImportColumns m_columns;
        bool m_standardInput;
    };

    double widthTwips() const;
    double heightTwips() const;

    const Design m_design;
    const DesignValues m_values;
    Source m_source;
    Module1 m_data;
    SymbolDesign m_symbol;
};
