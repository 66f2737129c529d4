#pragma once

#include <QString>

namespace quarix::history {

// One item of a menu whose entries are the list they show: the caption is
// the stored text, the window copies the rest onto its menu action.
struct MenuItem {
    QString caption;
    bool visible = false;
    bool enabled = true;
    bool checked = false;
};

} // namespace quarix::history
