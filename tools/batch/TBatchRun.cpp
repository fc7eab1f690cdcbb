#include "TBatchRun.h"

#include "TBatchProgress.h"
#include "cell/TCellDocument.h"
#include "db/SharedLookups.h"
#include "db/SqlLiteral.h"
#include "db/TARQuery.h"
#include "platform/Exception.h"
#include "platform/data/TADOQuery.h"
#include "platform/data/TAdoConn.h"
#include "report/tables/DetailLayout.h"
#include "report/tables/ReportFileNames.h"
#include "report/tables/ReportFill.h"
#include "report/tables/ReportHost.h"
#include "report/tables/ReportLookups.h"
#include "report/tables/ReportPdfInfo.h"
#include "report/tables/SummaryLayout.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

namespace {

const QStringList BTypeTexts = {QStringLiteral("控制数"), QStringLiteral("预算数"),
                                QStringLiteral("临时指标")};

// Runs ASql on the "Def" connection and raises the database's own error,
// where the report's lookups would quietly count a failure as empty.
void ProbeDatabase(const QString& ASql) {
    TADOQuery Probe;
    Probe.SetConnection(GetDefConnection());
    Probe.SetSQLText(ASql);
    Probe.Open();
}

} // namespace

TBatchRun::TBatchRun(const TBatchOptions& AOptions, std::FILE* AOut, std::FILE* AErr)
    : FOptions(AOptions)
    , FOut(AOut)
    , FErr(AErr) {}

void TBatchRun::Say(const QString& ALine) {
    std::fprintf(FOut, "%s\n", ALine.toLocal8Bit().constData());
    std::fflush(FOut);
}

bool TBatchRun::Fail(const QString& AMessage) {
    std::fprintf(FErr, "varnholt-batch: %s\n", AMessage.toLocal8Bit().constData());
    return false;
}

bool TBatchRun::CheckDatabase() {
    try {
        GetDefConnection()->Open();
        ProbeDatabase(QStringLiteral("select count(*) from pubmoneykind"));
        ProbeDatabase(QStringLiteral("select count(*) from pubdept"));
        ProbeDatabase(QStringLiteral("select count(*) from vwbudgetadj"));
        return true;
    } catch (const Exception& E) {
        return Fail(QStringLiteral("数据库不可用：%1").arg(E.Message()));
    }
}

bool TBatchRun::CheckTemplates() {
    const QString Folder = FOptions.TemplateFolder;
    for (const char* File : {SummaryTemplateFile, DetailTemplateFile, StateCapitalTemplateFile}) {
        const QString Path = Folder + QString::fromUtf8(File);
        TCellDocument Probe;
        if (!QFileInfo(Path).isFile() || Probe.LoadTemplate(Path, QString()) != 0)
            return Fail(QStringLiteral("报表模板不可用：%1%2")
                            .arg(Path, Probe.LastError().isEmpty()
                                           ? QString()
                                           : QStringLiteral("（%1）").arg(Probe.LastError())));
    }
    return true;
}

bool TBatchRun::PrepareOutputFolder() {
    const QString Folder = FOptions.OutputFolder;
    if (!QDir().mkpath(Folder) || !QFileInfo(Folder).isDir())
        return Fail(QStringLiteral("无法建立输出文件夹 %1").arg(Folder));
    // Permission bits do not tell everything (a read-only mount, or root):
    // a file made and removed there does.
    QTemporaryFile Probe(QDir(Folder).filePath(QStringLiteral(".varnholt-batch-XXXXXX")));
    if (!Probe.open())
        return Fail(QStringLiteral("输出文件夹 %1 不可写：%2").arg(Folder, Probe.errorString()));
    return true;
}

// What the window selects: the indicator type and sub-type, and the unit
// tree's node; the top node unless a unit code is asked for.
bool TBatchRun::Select() {
    FFilter.BTypeIndex = QString::number(FOptions.DefBTypeIndex);
    FFilter.SubTypeIndex = FOptions.SubTypeIndex;
    FBTypeText = BTypeTexts[FOptions.DefBTypeIndex];
    const QString Login = HostUnitCode();
    const QString Root = Login.left(std::max<qsizetype>(0, Login.size() - 3));
    if (FOptions.NodeCode.isEmpty()) {
        FFilter.UnitPrefix = Login.left(3);
        FFilter.UnitName = TopNodeName(FFilter.UnitPrefix);
    } else {
        // The tree holds the units in use under the root; the root itself is
        // its top node, not one of its units.
        QString Name;
        const bool InTree =
            (Root.isEmpty() || FOptions.NodeCode != Root) &&
            LookupValue(QStringLiteral("pubdept"), QStringLiteral("ename"),
                        QStringLiteral("replaceflag='0' and useflag='0' and eid=") +
                            QuotedSqlString(FOptions.NodeCode) + QStringLiteral(" and eid like ") +
                            DefDialect().LikePrefix(Root),
                        Name);
        if (!InTree)
            return Fail(QStringLiteral("单位树中没有单位 %1（登录单位 %2 之下）")
                            .arg(FOptions.NodeCode, Login));
        FFilter.UnitPrefix = FOptions.NodeCode;
        FFilter.UnitName = Name;
    }
    FFilter.Year = HostYear();
    FFilter.DeptClass = HostDeptClass();
    FFunds = FundNaturesWithData(FFilter.WindowFilter(DefDialect()));
    return true;
}

bool TBatchRun::WriteTable(int AIndex, const QString& AFundText) {
    const QString FundCode = LookupMoneyKindId(AFundText);
    const TReportContext Context = MakeReportContext(FFilter, FBTypeText, FundCode);
    TCellDocument Grid;
    TBatchProgress Progress;
    // One fill serves both files: the workbook gets the export grid, numbers
    // as values; the printed table adds the amount header and page line.
    FillReport(Grid, Context, FundCode, true, &Progress);
    const QString Workbook =
        ContinuousExportPath(FOptions.OutputFolder, FFilter.Year, FBTypeText, AFundText);
    QStringList Written;
    if (FOptions.WriteXlsx) {
        if (Grid.ExportExcel(Workbook) != 0)
            return Fail(QStringLiteral("%1 导出失败：%2").arg(AFundText, Grid.LastError()));
        Written << QFileInfo(Workbook).fileName();
    }
    if (FOptions.WritePdf) {
        const QString Pdf = Workbook.chopped(5) + QStringLiteral(".pdf");
        WriteAmountHeader(Grid, FundCode, FBTypeText);
        Grid.SetPageText(QString(), QStringLiteral("共&S页第&P页"), QString());
        Grid.SetPdfInfo(ReportPdfInfo(Grid.CellText(1, 1), FFilter, FBTypeText, AFundText));
        if (Grid.PrintToPdf(Pdf) != 0)
            return Fail(QStringLiteral("%1 打印失败：%2").arg(AFundText, Grid.LastError()));
        Written << QFileInfo(Pdf).fileName();
    }
    FRowsWritten += Progress.Rows();
    ++FTablesWritten;
    Say(QStringLiteral("[%1/%2] %3：%4 行 -> %5")
            .arg(AIndex + 1)
            .arg(FFunds.size())
            .arg(AFundText)
            .arg(Progress.Rows())
            .arg(Written.join(QStringLiteral(", "))));
    return true;
}

int TBatchRun::Run() {
    if (!CheckTemplates() || !CheckDatabase() || !PrepareOutputFolder() || !Select())
        return 1;
    if (FFunds.isEmpty()) {
        Say(QStringLiteral("%1 %2年%3：没有任何资金性质有数据，未写出报表。")
                .arg(FFilter.UnitName)
                .arg(FFilter.Year)
                .arg(FBTypeText));
        return 0;
    }
    Say(QStringLiteral("%1 %2年%3：%4 张表 -> %5")
            .arg(FFilter.UnitName)
            .arg(FFilter.Year)
            .arg(FBTypeText)
            .arg(FFunds.size())
            .arg(QDir(FOptions.OutputFolder).absolutePath()));
    for (int I = 0; I < FFunds.size(); ++I) {
        if (!WriteTable(I, FFunds[I]))
            return 1;
    }
    return 0;
}
