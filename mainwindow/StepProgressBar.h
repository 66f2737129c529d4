#pragma once

#include <QProgressBar>

// The window's progress bar. QProgressBar paints every visible change at
// once; a search sets several steps in one go after its answer arrives,
// and each immediate paint cost as much as a small search. Here a step is
// painted with the window's next paint.
class StepProgressBar : public QProgressBar {
public:
    using QProgressBar::QProgressBar;

    void setValue(int value) {
        setUpdatesEnabled(false);
        QProgressBar::setValue(value);
        setUpdatesEnabled(true);
    }
};
