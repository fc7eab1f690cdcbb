// Both tables on a generated province, on every engine: the query rows held
// against the tables worked out straight from the adjustments, and every
// table cell for cell against the same table drawn from SQLite.
#include "ReportModel.h"
#include "cell/TCell.h"
#include "cell/TCellDocument.h"
#include "db/SharedLookups.h"
#include "db/TARQuery.h"
#include "report/tables/CrossTableAudit.h"
#include "report/tables/DetailQuery.h"
#include "report/tables/ReportFill.h"
#include "report/tables/ReportHost.h"
#include "report/tables/ReportLookups.h"
#include "report/tables/SummaryQuery.h"
#include "support/EngineFixture.h"
#include "support/WorkbookCells.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

// Year, class, indicator type and sub-type, prefix, name.
const TReportFilter Filters[] = {{2024, 1, "1", 0, "101", "选定单位"},
                                 {2023, 1, "0", 0, "1", "选定单位"},
                                 {2024, 1, "2", 1, "101001", "选定单位"},
                                 {2022, 1, "1", 2, "101002", "选定单位"},
                                 {2024, 2, "1", 1, "106", "选定单位"}};

const QStringList BTypeTexts = {"控制数", "预算数", "临时指标"};

// The host as a clerk of the filter's year and class has it: the tables
// take both from the host, not from the filter.
void Aim(THostScope& AHost, const TReportFilter& AFilter) {
    AHost.Context.DataYear = AFilter.Year;
    AHost.Unit.Values[4] = AFilter.DeptClass;
}

// The first cell of the table that prints wrong, or empty: an amount of
// its rows (a number, or a text such as "1,234.56") not at the right of its
// cell, or a text in which a word of two or more Chinese characters stands
// twice in a row ("政府性政府性基金"): a label joined from a fixed word and
// a name that already begins with it.
QString Misprinted(const TCellDocument& AGrid) {
    static const QRegularExpression Amount("^-?\\d{1,3}(,\\d{3})*\\.\\d{2}$");
    static const QRegularExpression Doubled("(\\p{Han}{2,})\\1");
    const TCellSheet& Sheet = AGrid.Sheet();
    for (int Row = 1; Row < AGrid.GetRowCount(0); ++Row) {
        for (int Col = 1; Col <= Sheet.ColCount(); ++Col) {
            const TCell* Cell = Sheet.Cell(Col, Row);
            const bool IsAmount =
                Cell->Kind == TCell::TKind::Number ||
                (Cell->Kind == TCell::TKind::Text && Amount.match(Cell->Text).hasMatch());
            if ((Row >= 8 && IsAmount && Cell->HorizontalAlign() != TCell::AlignRight) ||
                Doubled.match(Cell->DisplayText()).hasMatch())
                return QString("%1 at column %2, row %3")
                    .arg(Cell->DisplayText())
                    .arg(Col)
                    .arg(Row);
        }
    }
    return QString();
}

class ReportOnEngines : public TEngineTest {
protected:
    TDemoOptions DemoOptions() const override { return {300, 30000}; }
    void SetUp() override {
        TEngineTest::SetUp();
        if (!IsSkipped() && !HasFailure())
            Host().SetUnit("101001", "1");
    }
    // Runs ASql on this engine and holds each row's texts and amounts
    // against the model.
    void Compare(const QString& ASql, const QStringList& ATexts, const QStringList& ASums,
                 const std::vector<TModelRow>& AExpected, const std::string& AWhat) {
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
    // The table of one fund-nature list entry on the host's connection;
    // its fill in AFilled when asked.
    static TWorkbookCells Table(const TReportFilter& AFilter, const QString& AFund, bool ANumbers,
                                TFillResult* AFilled = nullptr) {
        const QString Code = LookupMoneyKindId(AFund);
        TCellDocument Grid;
        const QString BType = BTypeTexts.value(AFilter.BTypeIndex.toInt());
        // Every table of the demo province adds up on every engine, as
        // printed, with its amounts at the right of their cells and labels
        // that read as words.
        const TFillResult Filled =
            FillReport(Grid, MakeReportContext(AFilter, BType, Code), Code, ANumbers);
        EXPECT_TRUE(Filled.Audit.Passed()) << Filled.Audit.Line().toStdString();
        EXPECT_EQ(Misprinted(Grid).toStdString(), "") << AFund.toStdString();
        if (AFilled)
            *AFilled = Filled;
        if (!ANumbers)
            WriteAmountHeader(Grid, Code, BType);
        return GridCells(Grid);
    }
};

TEST_P(ReportOnEngines, QueriesAgreeWithTheAdjustments) {
    const auto All = ToAdjustments(Reference().Rows(AdjustmentsSql));
    for (const TReportFilter& F : Filters) {
        const std::string Name = (F.UnitPrefix + "/" + F.BTypeIndex).toStdString();
        const auto Summary = SummaryModel(All, F);
        EXPECT_GT(Summary.size(), 1u) << Name;
        Compare(BuildSummarySql(F, DefDialect()), {"mid", "mname", "lei", "kuan", "xiang", "bname"},
                {"summ", "jbsb", "xmsb", "jbzj", "jbsq", "xmzj", "xmsq", "gyqtzj", "gyqtsq"},
                Summary, Name + " summary");
        const TLevelRange Levels = DetailLevelRange(F.UnitPrefix);
        for (const char* Fund : {"11", "12", "21", "31"}) {
            for (bool Grand : {true, false}) {
                Compare(BuildDetailSql(F, {Fund, Grand, Levels}, DefDialect()),
                        {"eid", "ename", "lei", "kuan", "xiang", "bname", "iid", "iname"},
                        {"summ", "jbsb", "xmsb", "jbzj", "jbsq", "xmzj", "xmsq", "gyzb", "gyfy",
                         "gyqt"},
                        DetailModel(All, F, Fund, Grand, Levels.First, Levels.Last),
                        Name + " detail " + Fund);
            }
        }
    }
}

TEST_P(ReportOnEngines, EveryTableEqualsTheOneFromSqlite) {
    int StateCapitalTables = 0;
    for (const TReportFilter& F : Filters) {
        Aim(Host(), F);
        const QStringList Funds = FundNaturesWithData(F.WindowFilter(DefDialect()));
        ASSERT_GE(Funds.size(), 2) << F.UnitPrefix.toStdString();
        std::vector<TWorkbookCells> Shown, Exported;
        std::vector<TFillResult> Fills(size_t(Funds.size()));
        for (int I = 0; I < Funds.size(); ++I) {
            Shown.push_back(Table(F, Funds[I], false));
            Exported.push_back(Table(F, Funds[I], true, &Fills[size_t(I)]));
        }
        // Each detail table agrees with the summary's block of its fund.
        StateCapitalTables += int(Funds.contains("国有资本经营预算资金"));
        for (size_t I = 1; I < Fills.size(); ++I) {
            CompareWithSummary(Fills[0], LookupMoneyKindId(Funds[int(I)]), Fills[I]);
            EXPECT_TRUE(Fills[I].Audit.Passed()) << Fills[I].Audit.Line().toStdString();
        }
        THostScope SqliteHost(Reference().ConnectionString());
        SqliteHost.SetUnit("101001", "1");
        Aim(SqliteHost, F);
        const QStringList SqliteFunds = FundNaturesWithData(F.WindowFilter(DefDialect()));
        EXPECT_EQ(QSet<QString>(Funds.begin(), Funds.end()),
                  QSet<QString>(SqliteFunds.begin(), SqliteFunds.end()));
        for (int I = 0; I < Funds.size(); ++I) {
            const std::string Name = (F.UnitPrefix + " " + Funds[I]).toStdString();
            EXPECT_EQ(FirstDifference(Shown[size_t(I)], Table(F, Funds[I], false)).toStdString(),
                      "")
                << Name;
            EXPECT_EQ(
                FirstDifference(Exported[size_t(I)], Table(F, Funds[I], true), 1e-9).toStdString(),
                "")
                << Name;
        }
    }
    EXPECT_GT(StateCapitalTables, 0);
}

VARNHOLT_INSTANTIATE_ON_ENGINES(ReportOnEngines);

} // namespace
