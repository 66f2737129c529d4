#pragma once

#include <QMainWindow>

class QTextBrowser;

namespace quarix::tools {

// The user manual, compiled into the program, in a window of its own.
class HelpWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);
    QTextBrowser* browser() const { return browser_; }

private:
    QTextBrowser* browser_ = nullptr;
};

// The manual's Markdown text; empty if the resource is missing.
QString manualText();

// Help > Quarix Help (F1): shows the manual, raising the window when open.
void mnuQuarixHelp_Click(QWidget* parent);

} // namespace quarix::tools
