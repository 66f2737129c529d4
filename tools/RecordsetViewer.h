#pragma once

#include <QMainWindow>

#include <memory>

class QTableView;

namespace quarix::search {
class ResultGridModel;
}
namespace quarix::engine {
class ResultSet;
}

namespace quarix::tools {

// A read-only window over every record of a table or query, read lazily as
// the view scrolls; the result keeps the database's cache open while the
// window shows.
class RecordsetViewer : public QMainWindow {
    Q_OBJECT
public:
    // A saved query's SQL, when given, shows above its rows, so that the
    // user sees what ran.
    RecordsetViewer(std::shared_ptr<engine::ResultSet> rows, const QString& databasePath,
                    const QString& source, const QString& querySql = {}, QWidget* parent = nullptr);
    ~RecordsetViewer() override;

    QTableView* grid() const { return grid_; }
    const search::ResultGridModel& model() const { return *model_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void placeOverParent();
    bool placed_ = false;

    QTableView* grid_ = nullptr;
    search::ResultGridModel* model_ = nullptr;
};

} // namespace quarix::tools
