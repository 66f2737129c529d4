#include "search/ResultGridModel.h"

#include <QAbstractItemModelTester>

#include <gtest/gtest.h>

using namespace quarix::search;

namespace {

// A source of "r<row>c<col>" cells that counts how many rows were read.
class CountingSource : public RowSource {
public:
    explicit CountingSource(long rows, long* read) : rows_(rows), read_(read) {}
    QStringList headers() const override { return {QStringLiteral("A"), QStringLiteral("B")}; }
    long rowCount() const override { return rows_; }
    std::vector<QStringList> rows(long first, long count) override {
        *read_ += count;
        std::vector<QStringList> out;
        for (long r = first; r < first + count; ++r)
            out.push_back({QStringLiteral("r%1c0").arg(r), QStringLiteral("r%1c1").arg(r)});
        return out;
    }

private:
    long rows_;
    long* read_;
};

TEST(ResultGridModel, HeldPageAndGridShapes) {
    ResultGridModel m;
    QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::Warning);
    EXPECT_EQ(m.Rows(), 1);
    EXPECT_EQ(m.Cols(), 0);
    m.setRows({QStringLiteral("Name"), QStringLiteral("City")},
              {{QStringLiteral("Ann")}, {QStringLiteral("Bo"), QStringLiteral("Oslo")}});
    EXPECT_EQ(m.Rows(), 3);
    EXPECT_EQ(m.Cols(), 2);
    EXPECT_EQ(m.TextMatrix(0, 1), QStringLiteral("City"));
    EXPECT_EQ(m.TextMatrix(1, 1), QString());
    EXPECT_EQ(m.TextMatrix(2, 1), QStringLiteral("Oslo"));
    EXPECT_EQ(m.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Name"));
    m.resetGrid();
    EXPECT_EQ(m.Rows(), 2);
    EXPECT_EQ(m.Cols(), 2);
    m.clearResults();
    EXPECT_EQ(m.rowCount(), 0);
}

TEST(ResultGridModel, ReadsOnlyTheBlocksThatAreShownAndKeepsFewInMemory) {
    ResultGridModel m;
    long read = 0;
    m.setSource(std::make_unique<CountingSource>(1000000, &read));
    EXPECT_EQ(m.Rows(), 1000001);
    EXPECT_EQ(read, 0);
    EXPECT_EQ(m.data(m.index(999999, 1)).toString(), QStringLiteral("r999999c1"));
    EXPECT_EQ(m.TextMatrix(1, 0), QStringLiteral("r0c0"));
    EXPECT_EQ(read, ResultGridModel::kBlockRows +
                        1000000 % ResultGridModel::kBlockRows); // first and last block
    for (long r = 0; r < 100 * ResultGridModel::kBlockRows; r += ResultGridModel::kBlockRows)
        m.TextMatrix(r + 1, 0);
    const long afterScan = read;
    EXPECT_EQ(m.TextMatrix(99 * ResultGridModel::kBlockRows + 1, 0),
              QStringLiteral("r%1c0").arg(99 * ResultGridModel::kBlockRows));
    EXPECT_EQ(read, afterScan); // still cached
    EXPECT_EQ(m.TextMatrix(1, 0), QStringLiteral("r0c0"));
    EXPECT_GT(read, afterScan); // evicted long ago, read again
}

} // namespace
