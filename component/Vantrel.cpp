// Placeholder that keeps the members; the encoder and renderer are being written.
#include "Vantrel.h"
#include "QuillError.h"

#include <cmath>

struct Vantrel::Impl {
    std::int16_t barType = 0;
    std::int32_t showText = 1;
    double orientation = 0;
    std::int16_t scaling = 0;
    QString title;
    std::int16_t alignment = 0;
    QString caption;
    VantrelFont font;
    float left = 0, top = 0, width = 0, height = 0;
};

void VantrelFont::setName(const QString &name) { m_name = name; }
void VantrelFont::setSize(double points) { m_sizeTenThousandths = std::llround(points * 10000.0); }
void VantrelFont::setSize(const QString &points) { setSize(points.toDouble()); }

Vantrel::Vantrel(QWidget *parent) : QWidget(parent), d(std::make_unique<Impl>()) {}
Vantrel::~Vantrel() = default;
void Vantrel::setOptionsStore(SettingsStore *) {}
std::int16_t Vantrel::BarType() const { return d->barType; }
void Vantrel::setBarType(std::int16_t code) { d->barType = code; }
std::int32_t Vantrel::ShowText() const { return d->showText; }
void Vantrel::setShowText(std::int32_t show) { d->showText = show; }
double Vantrel::Orientation() const { return d->orientation; }
void Vantrel::setOrientation(double o) { d->orientation = o; }
std::int16_t Vantrel::Scaling() const { return d->scaling; }
void Vantrel::setScaling(std::int16_t s) { d->scaling = s; }
QString Vantrel::Title() const { return d->title; }
void Vantrel::setTitle(const QString &t) { d->title = t; }
std::int16_t Vantrel::Alignment() const { return d->alignment; }
void Vantrel::setAlignment(std::int16_t a) { d->alignment = a; }
QString Vantrel::Caption() const { return d->caption; }
void Vantrel::setCaption(const QString &c) { d->caption = c; }
VantrelFont &Vantrel::Font() { return d->font; }
QImage Vantrel::Picture() const { throw QuillError(QStringLiteral("not yet")); }
void Vantrel::SavePng(const QString &, std::int32_t, std::int32_t) const { throw QuillError(QStringLiteral("not yet")); }
void Vantrel::DrawToDevice(std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t) const {}
void Vantrel::CopyToClipboard() const {}
QByteArray Vantrel::metafileBytes() const { return {}; }
void Vantrel::ShowFormatOptions() {}
void Vantrel::Refresh() { update(); }
float Vantrel::Left() const { return d->left; }
float Vantrel::Top() const { return d->top; }
float Vantrel::Width() const { return d->width; }
float Vantrel::Height() const { return d->height; }
void Vantrel::setWidth(float w) { d->width = w; resize(int(std::lround(w)), height()); }
void Vantrel::setHeight(float h) { d->height = h; resize(width(), int(std::lround(h))); }
void Vantrel::Move(float l, float t) { d->left = l; d->top = t; move(int(std::lround(l)), int(std::lround(t))); }
QString Vantrel::errorText() const { return {}; }
void Vantrel::paintEvent(QPaintEvent *) {}
