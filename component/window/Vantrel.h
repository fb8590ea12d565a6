#pragma once
#include "SymbolDesign.h"

#include <QWidget>

class DialogProvider;

// The barcode component on the designer's window: the symbol's preview at the
// component's placement, and its format options dialog. It holds the design
// it shows; its members are the design's, as the program sets and reads them.
class Vantrel : public QWidget {
    Q_OBJECT
public:
    explicit Vantrel(QWidget *parent = nullptr);

    SymbolDesign &design() { return m_design; }
    const SymbolDesign &design() const { return m_design; }

    std::int16_t BarType() const { return m_design.BarType(); }
    void setBarType(std::int16_t code) { m_design.setBarType(code); }
    std::int32_t ShowText() const { return m_design.ShowText(); }
    void setShowText(std::int32_t show) { m_design.setShowText(show); }
    double Orientation() const { return m_design.Orientation(); }
    void setOrientation(double tenthsOfDegree) { m_design.setOrientation(tenthsOfDegree); }
    std::int16_t Scaling() const { return m_design.Scaling(); }
    void setScaling(std::int16_t scaling) { m_design.setScaling(scaling); }
    QString Title() const { return m_design.Title(); }
    void setTitle(const QString &title) { m_design.setTitle(title); }
    std::int16_t Alignment() const { return m_design.Alignment(); }
    void setAlignment(std::int16_t alignment) { m_design.setAlignment(alignment); }
    QString Caption() const { return m_design.Caption(); }
    void setCaption(const QString &caption) { m_design.setCaption(caption); }
    VantrelFont &Font() { return m_design.Font(); }

    QImage Picture() const { return m_design.Picture(); }
    void SavePng(const QString &file, std::int32_t width, std::int32_t height) const
    {
        m_design.SavePng(file, width, height);
    }
    void DrawToDevice(std::int32_t hdc, std::int32_t x, std::int32_t y, std::int32_t width,
                      std::int32_t height) const
    {
        m_design.DrawToDevice(hdc, x, y, width, height);
    }
    void CopyToClipboard() const { m_design.CopyToClipboard(); }
    void ShowFormatOptions(DialogProvider &dialogs); // the options dialog, shown through dialogs
    void Refresh() { m_design.Refresh(); }

    float Left() const { return m_design.Left(); }
    float Top() const { return m_design.Top(); }
    float Width() const { return m_design.Width(); }
    float Height() const { return m_design.Height(); }
    void setWidth(float width) { m_design.setWidth(width); }
    void setHeight(float height) { m_design.setHeight(height); }
    void Move(float left, float top) { m_design.Move(left, top); }

signals:
    // A member changed, before the preview is drawn again: what is told of
    // the symbol (its module, say) is out of date.
    void symbolChanged();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // The design, telling this window of every change and new placement.
    class Shown : public SymbolDesign {
    public:
        explicit Shown(Vantrel &window)
            : m_window(window)
        {
        }

    protected:
        void changed(bool now) override;
        void placed() override;

    private:
        Vantrel &m_window;
    };

    Shown m_design{*this};
};
