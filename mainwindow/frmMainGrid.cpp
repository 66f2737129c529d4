// Column sizing of the result grid.
#include "mainwindow/ResultGridView.h"
#include "mainwindow/frmMain.h"
#include "search/ResultGridModel.h"

#include <QHeaderView>
#include <QMenu>

#include <cmath>

namespace {
// Auto-fit reads at most this many rows: enough to judge a column, and a
// million-row result is not read just to size its columns.
constexpr long kRowsMeasured = 2000;
} // namespace

void frmMain::sizeColumns() {
    if (settings.autoFitGridNumber() == 1)
        mnuautofit_Click();
    else
        mnuEvenwidth_Click();
}

void frmMain::mnuautofit_Click() {
    const QFontMetrics metrics(font());
    const double size = settings.gridFontSizeNumber() > 0 ? settings.gridFontSizeNumber() : 8.0;
    const long rows = std::min<long>(gridModel_->Rows(), kRowsMeasured + 1);
    for (int c = 0; c < gridModel_->Cols(); ++c) {
        QString longest;
        for (long r = 0; r < rows; ++r) {
            const QString text = gridModel_->TextMatrix(r, c).trimmed();
            if (text.size() > longest.size())
                longest = text;
        }
        const double width = std::floor(metrics.horizontalAdvance(longest)) * size / 6.5;
        const int padding = 2 * metrics.averageCharWidth();
        // A long memo would make a column many screens wide: one grid width is the most.
        const int widest = std::max(MSFlexGrid1->viewport()->width() - twips_.px(500), 8 * padding);
        MSFlexGrid1->setColumnWidth(c, std::min(static_cast<int>(std::nearbyint(width)) + padding, widest));
    }
    settings.AutoFitGrid = QStringLiteral("1");
    menus_.mnuautofit->setChecked(true);
    menus_.mnuEvenwidth->setChecked(false);
}

void frmMain::mnuEvenwidth_Click() {
    const int cols = gridModel_->Cols();
    if (cols > 0) {
        const int usable = MSFlexGrid1->viewport()->width() - twips_.px(500);
        const int width = static_cast<int>(std::nearbyint(static_cast<double>(usable) / cols));
        for (int c = 0; c < cols; ++c)
            MSFlexGrid1->setColumnWidth(c, std::max(width, twips_.px(300)));
    }
    settings.AutoFitGrid = QStringLiteral("0");
    menus_.mnuautofit->setChecked(false);
    menus_.mnuEvenwidth->setChecked(true);
}
