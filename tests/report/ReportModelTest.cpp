// The queries of both tables on a generated province, held row by row
// against the tables worked out straight from the adjustments.
#include "ReportModel.h"
#include "ReportFixture.h"
#include "db/SharedLookups.h"
#include "db/TARQuery.h"
#include "report/DetailQuery.h"
#include "report/ReportLookups.h"
#include "report/SummaryQuery.h"

#include <gtest/gtest.h>

namespace {

struct TCase {
    const char* Prefix;
    const char* BType;
    int SubType;
    int Year;
    int DeptClass = 1;
};

class ReportModelTest : public ::testing::TestWithParam<TCase> {
protected:
    static void SetUpTestSuite() {
        Dir = new TempDir;
        File = MakeDemoDb(*Dir, TDemoOptions{300, 30000});
        All = new std::vector<TAdjustment>(ReadAdjustments(File));
    }
    static void TearDownTestSuite() {
        delete All;
        delete Dir;
    }
    TReportFilter Filter() const {
        TReportFilter F;
        F.Year = GetParam().Year;
        F.DeptClass = GetParam().DeptClass;
        F.BTypeIndex = GetParam().BType;
        F.SubTypeIndex = GetParam().SubType;
        F.UnitPrefix = GetParam().Prefix;
        F.UnitName = "选定单位";
        return F;
    }
    // Runs ASql and compares each row's texts and amounts with the model.
    void Compare(const QString& ASql, const QStringList& ATexts, const QStringList& ASums,
                 const std::vector<TModelRow>& AExpected, const char* AWhat) {
        IARQueryPtr Query;
        ASSERT_TRUE(OpenDefQuery(ASql, Query)) << AWhat;
        TARQuery& Rows = *Query->GetQuery();
        ASSERT_EQ(Rows.RecordCount(), int(AExpected.size())) << AWhat;
        size_t I = 0;
        for (Rows.First(); !Rows.Eof(); Rows.Next(), ++I) {
            for (int T = 0; T < ATexts.size(); ++T)
                ASSERT_EQ(Rows.FieldByName(ATexts[T]).AsString().toStdString(),
                          AExpected[I].Texts[T].toStdString())
                    << AWhat << " row " << I << " " << ATexts[T].toStdString();
            for (int S = 0; S < ASums.size(); ++S)
                ASSERT_NEAR(Rows.FieldByName(ASums[S]).AsFloat(), AExpected[I].Sums[size_t(S)],
                            1e-6)
                    << AWhat << " row " << I << " " << ASums[S].toStdString();
        }
    }

    static TempDir* Dir;
    static QString File;
    static std::vector<TAdjustment>* All;
};

TempDir* ReportModelTest::Dir = nullptr;
QString ReportModelTest::File;
std::vector<TAdjustment>* ReportModelTest::All = nullptr;

TEST_P(ReportModelTest, SummaryRows) {
    TReportScope Scope(File, "101001");
    const TReportFilter F = Filter();
    const auto Expected = SummaryModel(*All, F);
    EXPECT_GT(Expected.size(), 1u);
    Compare(BuildSummarySql(F, DefDialect()), {"mid", "mname", "lei", "kuan", "xiang", "bname"},
            {"summ", "jbsb", "xmsb", "jbzj", "jbsq", "xmzj", "xmsq", "gyqtzj", "gyqtsq"}, Expected,
            "summary");
}

TEST_P(ReportModelTest, DetailRowsOfEveryFundNature) {
    TReportScope Scope(File, "101001");
    const TReportFilter F = Filter();
    const TLevelRange Levels = DetailLevelRange(F.UnitPrefix);
    for (const char* Fund : {"11", "12", "21", "31"}) {
        for (bool Grand : {true, false}) {
            const auto Expected = DetailModel(*All, F, Fund, Grand, Levels.First, Levels.Last);
            Compare(
                BuildDetailSql(F, {Fund, Grand, Levels}, DefDialect()),
                {"eid", "ename", "lei", "kuan", "xiang", "bname", "iid", "iname"},
                {"summ", "jbsb", "xmsb", "jbzj", "jbsq", "xmzj", "xmsq", "gyzb", "gyfy", "gyqt"},
                Expected, Fund);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Filters, ReportModelTest,
                         ::testing::Values(TCase{"101", "1", 0, 2024}, TCase{"1", "0", 0, 2023},
                                           TCase{"101001", "2", 1, 2024},
                                           TCase{"101002", "1", 2, 2022},
                                           TCase{"106", "1", 1, 2024, 2}));

} // namespace
