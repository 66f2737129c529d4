#pragma once

#include <optional>

#include <QtGlobal>

// Shows the colour dialog offering Quarix's custom colour table (set afresh
// at every call, so colours the user adds are not kept). The chosen colour
// as a settings number, or nothing when the user cancels.
std::optional<qint32> ChooseGridColor();
