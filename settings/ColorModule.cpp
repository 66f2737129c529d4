#include "settings/ColorModule.h"

#include "settings/ColourValue.h"

#include <QColorDialog>

#include <array>

namespace {

constexpr std::array<std::array<int, 3>, 8> customColours = {{
    {139, 155, 184},
    {188, 213, 254},
    {115, 172, 183},
    {200, 249, 198},
    {189, 194, 253},
    {200, 249, 255},
    {108, 213, 210},
    {236, 164, 236},
}};

} // namespace

std::optional<qint32> ChooseGridColor() {
    for (int i = 0; i < QColorDialog::customCount(); ++i) {
        const auto rgb = i < int(customColours.size()) ? customColours[std::size_t(i)]
                                                       : std::array<int, 3>{160, 160, 160};
        QColorDialog::setCustomColor(i, QColor(rgb[0], rgb[1], rgb[2]));
    }
    // Qt's own dialog: the desktop's native one ignores the custom colours.
    const QColor chosen =
        QColorDialog::getColor(Qt::black, nullptr, QString(), QColorDialog::DontUseNativeDialog);
    if (!chosen.isValid())
        return std::nullopt;
    return colourValue(chosen);
}
