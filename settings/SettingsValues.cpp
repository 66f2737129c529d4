#include "settings/SettingsValues.h"

#include "settings/SettingsText.h"

#include <cmath>

namespace {

int wholePart(const QString& text) {
    const double v = std::floor(settings_text::leadingNumber(text));
    if (v > 2147483647.0 || v < -2147483648.0)
        return 0;
    return static_cast<int>(v);
}

} // namespace

int SettingsValues::maxResultsWhole() const {
    return wholePart(MaxResults);
}
int SettingsValues::valueListMaxWhole() const {
    return wholePart(ValueListMax);
}
int SettingsValues::autoFitGridNumber() const {
    return wholePart(AutoFitGrid);
}
double SettingsValues::gridFontSizeNumber() const {
    return settings_text::leadingNumber(GridFontSize);
}
