#pragma once

#include <cmath>

// Window lengths are designed in twips (1/1440 inch). One scale turns them
// into the logical pixels of the screen, enlarged where the desktop's fonts
// need more room than the design gave them.
class Twips {
public:
    Twips() = default;
    Twips(double logicalDpi, double roomForFonts)
        : pixelsPerTwip_(logicalDpi / 1440.0 * roomForFonts) {}

    int px(double twips) const { return static_cast<int>(std::lround(twips * pixelsPerTwip_)); }
    double twips(int pixels) const { return pixels / pixelsPerTwip_; }

private:
    double pixelsPerTwip_ = 96.0 / 1440.0;
};
