#include "ScreenMetrics.h"
#include "Numbers.h"

#include <QGuiApplication>
#include <QScreen>

namespace {
double g_dpiX = 0.0;
double g_dpiY = 0.0;

double screenDpi(bool horizontal)
{
    if (QGuiApplication::instance()) {
        if (QScreen *screen = QGuiApplication::primaryScreen())
            return horizontal ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY();
    }
    return 96.0;
}
} // namespace

double ScreenMetrics::dpiX() { return g_dpiX > 0 ? g_dpiX : screenDpi(true); }
double ScreenMetrics::dpiY() { return g_dpiY > 0 ? g_dpiY : screenDpi(false); }
float ScreenMetrics::twipsPerPixelX() { return float(Numbers::kTwipsPerInch / dpiX()); }
float ScreenMetrics::twipsPerPixelY() { return float(Numbers::kTwipsPerInch / dpiY()); }

void ScreenMetrics::overrideDpi(double dpiX, double dpiY)
{
    g_dpiX = dpiX;
    g_dpiY = dpiY;
}
