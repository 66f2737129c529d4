#pragma once

#include <QString>

namespace quarix::test {

// "-2x" when screenshots are taken at double scaling, so that both sets of
// pictures can stand side by side.
inline QString screenshotSuffix() {
    return qEnvironmentVariable("QUARIX_SCREENSHOT_SCALE") == QStringLiteral("2")
               ? QStringLiteral("-2x")
               : QString();
}

} // namespace quarix::test
