#pragma once
#include <QWidget>

class QLabel;

// The status bar's texts: the last run's summary at the left, the design and
// the module of its pictures at the right. The summary keeps its room; in a
// narrow window the design's path is shortened in its middle and the module
// at its end, and only a summary longer than the whole line is shortened, in
// its middle too. The summary's and the design's tooltips hold their full
// texts.
class StatusLine : public QWidget {
public:
    explicit StatusLine(QWidget *parent = nullptr);

    void setSummary(const QString &text);
    void setDesign(const QString &text);
    // The module's own tooltip tells its size on the device.
    void setModule(const QString &text, const QString &toolTip);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void placeLabels();

    QLabel *m_summary;
    QLabel *m_design;
    QLabel *m_module;
    QString m_summaryText;
    QString m_designText;
    QString m_moduleText;
};
