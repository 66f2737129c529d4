#include "settings/WindowPlacement.h"

#include <algorithm>

QRect placementOnScreens(qint64 left, qint64 top, qint64 width, qint64 height,
                         const QList<QRect>& screens) {
    if (screens.isEmpty())
        return {};
    // How much of the wanted rectangle a screen shows.
    const auto shown = [&](const QRect& s) {
        const qint64 w = std::min<qint64>(left + width, s.left() + qint64{s.width()}) -
                         std::max<qint64>(left, s.left());
        const qint64 h = std::min<qint64>(top + height, s.top() + qint64{s.height()}) -
                         std::max<qint64>(top, s.top());
        return w > 0 && h > 0 ? w * h : 0;
    };
    const QRect* screen = &screens.front();
    for (const QRect& s : screens)
        if (shown(s) > shown(*screen))
            screen = &s;
    const qint64 screenWidth = std::max(1, screen->width());
    const qint64 screenHeight = std::max(1, screen->height());
    const qint64 w = std::clamp<qint64>(width, 1, screenWidth);
    const qint64 h = std::clamp<qint64>(height, 1, screenHeight);
    const qint64 x = std::clamp<qint64>(left, screen->left(), screen->left() + screenWidth - w);
    const qint64 y = std::clamp<qint64>(top, screen->top(), screen->top() + screenHeight - h);
    return {static_cast<int>(x), static_cast<int>(y), static_cast<int>(w), static_cast<int>(h)};
}
