#include "DetailLayout.h"

#include "DetailQuery.h"
#include "ReportCodes.h"
#include "ReportLookups.h"
#include "TAmountCells.h"
#include "TReportContext.h"
#include "TReportProgress.h"
#include "TSpecialAccounts.h"
#include "cell/TCellDocument.h"
#include "db/SharedLookups.h"
#include "db/TARQuery.h"

namespace {

const QString StateCapital = QStringLiteral("31");

class TDetailFill {
public:
    TDetailFill(TCellDocument& AGrid, const TReportContext& AContext, const QString& AFundCode,
                bool ANumbersAsValues)
        : G(AGrid)
        , C(AContext)
        , FFundCode(AFundCode)
        , FAmounts(AGrid, ANumbersAsValues) {}

    void Heading();
    void Row(const TDetailRowText& AText, const TDetailRowAmounts& AAmounts);
    void Close();

private:
    int LastRow() const { return G.GetRowCount(0) - 1; }
    int AppendRow() {
        G.SetRowCount(G.GetRowCount(0) + 1, 0);
        return LastRow();
    }
    void UnitCells(int ARow, const TDetailRowText& AText);
    void SubjectCells(int ARow, const TDetailRowText& AText);
    void ChannelCells(int ARow, const TDetailRowAmounts& AAmounts);
    int FormerChannelRows(int ARow, const TDetailRowText& AText, const TDetailRowAmounts& AAmounts);
    void StateCapitalCells(int ARow, const TDetailRowText& AText,
                           const TDetailRowAmounts& AAmounts);
    void Note(int ACol, int ARow);
    void CloseRow(int ARow, int AColumns, int AStyle);

    TCellDocument& G;
    const TReportContext& C;
    const QString FFundCode;
    TAmountCells FAmounts;
    int FRunningNumber = 1;
    QString FLastEid;
    bool FBasicSeen = false;
    bool FProjectSeen = false;
    const TSpecialAccounts FSpecialAccounts;
};

void TDetailFill::Heading() {
    G.LoadTemplate(C.TemplateFolder + DetailTemplateFor(FFundCode), QString());
    G.PutText(1, 1, 0, C.Titles.Detail);
    G.PutText(4, 2, 0, C.Titles.Basis);
    G.PutText(4, 3, 0, QString::number(C.Filter.Year) + QStringLiteral("年预算构成"));
}

// Number, code and name stand on a unit's first row only; a total row
// always gets its (empty) code and its label.
void TDetailFill::UnitCells(int ARow, const TDetailRowText& AText) {
    if (AText.eid == FLastEid && !AText.eid.isEmpty())
        return;
    FLastEid = AText.eid;
    QString Mark;
    if (!AText.eid.isEmpty()) {
        G.PutText(1, ARow, 0, QString::number(FRunningNumber++));
        if (FSpecialAccounts.Contains(AText.eid))
            Mark = QStringLiteral("*");
    }
    G.PutText(2, ARow, 0, AText.eid);
    G.PutText(3, ARow, 0, Mark + AText.ename);
}

void TDetailFill::SubjectCells(int ARow, const TDetailRowText& AText) {
    G.PutText(4, ARow, 0, AText.lei);
    G.PutText(5, ARow, 0, AText.kuan);
    G.PutText(6, ARow, 0, AText.xiang);
    G.PutText(7, ARow, 0, AText.bname);
}

void TDetailFill::ChannelCells(int ARow, const TDetailRowAmounts& AAmounts) {
    const double Amounts[] = {AAmounts.jbzj, AAmounts.jbsq, AAmounts.xmzj, AAmounts.xmsq};
    for (int K = 0; K < 4; ++K)
        FAmounts.WriteIfPresent(11 + K, ARow, Amounts[K]);
}

void TDetailFill::Note(int ACol, int ARow) {
    G.JoinCells(ACol, ARow, ACol + 1, ARow);
    G.PutAlign(ACol, ARow, 0, AlignCentred);
    G.PutText(ACol, ARow, 0, QString::fromUtf8(FormerChannelNote));
}

void TDetailFill::CloseRow(int ARow, int AColumns, int AStyle) {
    for (int Col = 1; Col <= AColumns; ++Col)
        G.PutStyle(Col, ARow, 0, AStyle);
    G.PutRowHeight(1, G.FitRowHeight(ARow), ARow, 0);
}

// A department's row with amounts that keep their former channel: a grid
// row for the basic part, one for the project part, and one for what goes
// through the treasury channels, each that is present, so that no amount
// of the row is left out of the table. Returns the last of them.
int TDetailFill::FormerChannelRows(int ARow, const TDetailRowText& AText,
                                   const TDetailRowAmounts& AAmounts) {
    int Row = ARow;
    if (TAmountCells::Present(AAmounts.jbsb)) {
        FBasicSeen = true;
        FAmounts.Write(10, Row, AAmounts.jbsb);
        Note(11, Row);
        if (TAmountCells::Present(AAmounts.xmsb)) {
            CloseRow(Row, 12, StyleOrdinary);
            Row = AppendRow();
            SubjectCells(Row, AText);
        }
    }
    if (TAmountCells::Present(AAmounts.xmsb)) {
        FProjectSeen = true;
        FAmounts.Write(10, Row, AAmounts.xmsb);
        Note(13, Row);
    }
    if (TAmountCells::Present(AAmounts.jbzj) || TAmountCells::Present(AAmounts.jbsq) ||
        TAmountCells::Present(AAmounts.xmzj) || TAmountCells::Present(AAmounts.xmsq)) {
        CloseRow(Row, 12, StyleOrdinary);
        Row = AppendRow();
        SubjectCells(Row, AText);
        G.PutAlign(10, Row, 0, AlignAmount);
        FAmounts.Write(10, Row, AAmounts.summ - AAmounts.jbsb - AAmounts.xmsb);
        ChannelCells(Row, AAmounts);
    }
    return Row;
}

void TDetailFill::StateCapitalCells(int ARow, const TDetailRowText& AText,
                                    const TDetailRowAmounts& AAmounts) {
    const double Amounts[] = {AAmounts.gyzb, AAmounts.gyfy, AAmounts.gyqt};
    for (int K = 0; K < 3; ++K)
        FAmounts.WriteIfPresent(11 + 2 * K, ARow, Amounts[K]);
    for (int Col = 1; Col <= 16; ++Col)
        G.PutStyle(Col, ARow, 0, AText.eid.isEmpty() ? StyleTotal : StyleOrdinary);
}

void TDetailFill::Row(const TDetailRowText& AText, const TDetailRowAmounts& AAmounts) {
    int Row = AppendRow();
    UnitCells(Row, AText);
    SubjectCells(Row, AText);
    G.PutText(8, Row, 0, AText.iid);
    G.PutText(9, Row, 0, AText.iname);
    G.PutAlign(10, Row, 0, AlignAmount);
    FAmounts.Write(10, Row, AAmounts.summ);
    if (FFundCode != StateCapital) {
        const bool Plain =
            !C.DepartmentUser || Row <= FirstTableRow ||
            (!TAmountCells::Present(AAmounts.jbsb) && !TAmountCells::Present(AAmounts.xmsb));
        if (Plain)
            ChannelCells(Row, AAmounts);
        else
            Row = FormerChannelRows(Row, AText, AAmounts);
    } else {
        StateCapitalCells(Row, AText, AAmounts);
    }
    const bool TotalRow = AText.eid.isEmpty();
    for (int Col = 1; Col <= 14; ++Col)
        G.PutStyle(Col, Row, 0, TotalRow ? StyleTotal : StyleOrdinary);
    G.PutAlign(3, Row, 0, TotalRow ? AlignCentred : AlignName);
    G.PutRowHeight(1, G.FitRowHeight(Row), Row, 0);
}

void TDetailFill::Close() {
    // Special-account funds carry the note on the two top rows for every
    // kind of former channel amount the table had.
    if (FFundCode == QLatin1String("21")) {
        if (FBasicSeen) {
            Note(11, FirstTableRow);
            Note(11, FirstTableRow + 1);
        }
        if (FProjectSeen) {
            Note(13, FirstTableRow);
            Note(13, FirstTableRow + 1);
        }
    }
    G.FinishTable(7, 1, 0);
}

} // namespace

QString DetailTemplateFor(const QString& AFundCode) {
    return QString::fromUtf8(AFundCode == StateCapital ? StateCapitalTemplateFile
                                                       : DetailTemplateFile);
}

void FillDetailTable(TCellDocument& AGrid, const TReportContext& AContext, const QString& AFundCode,
                     bool ANumbersAsValues, TReportProgress* AProgress) {
    TDetailFill Fill(AGrid, AContext, AFundCode, ANumbersAsValues);
    Fill.Heading();
    TDetailQueryParts Parts;
    Parts.FundCode = AFundCode;
    Parts.WithGrandTotal = !AContext.ParentHasFewUnits;
    Parts.Levels = DetailLevelRange(AContext.Filter.UnitPrefix);
    IARQueryPtr Query;
    if (!OpenDefQuery(BuildDetailSql(AContext.Filter, Parts, DefDialect()), Query))
        return;
    TARQuery& Rows = *Query->GetQuery();
    if (Rows.RecordCount() <= 1)
        return;
    TProgressScope Progress(AProgress, Rows.RecordCount());
    const TDetailRowReader Reader(Rows);
    TDetailRowText Text;
    TDetailRowAmounts Amounts;
    for (Rows.First(); !Rows.Eof(); Rows.Next()) {
        Progress.Step();
        Reader.Read(Text, Amounts);
        Fill.Row(Text, Amounts);
    }
    Fill.Close();
}
