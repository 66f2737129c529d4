#pragma once

#include "history/SearchWindowPort.h"

namespace quarix::history {

// A replayed search shows the operator and value it was built from in
// their boxes, when its criterion is one the boxes build; otherwise they
// stay as they are.
void showCriterionParts(const SearchWindowPort& window, const QString& field,
                        const QString& criterion);

} // namespace quarix::history
