#pragma once

// The screen's twips per pixel, from its logical resolution (15 at 96 dpi).
// Tests may fix the resolution so that layouts do not depend on the machine.
class ScreenMetrics {
public:
    static float twipsPerPixelX();
    static float twipsPerPixelY();
    static double dpiX();
    static double dpiY();
    // Fix the logical resolution (dots per inch); 0 returns to the real screen.
    static void overrideDpi(double dpiX, double dpiY);
};
