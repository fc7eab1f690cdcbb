// Fills a detail table the way the report window does (one call per cell,
// a fitted height per row), then exports it and prints it to PDF. Each step
// is reported in rows per second and against a baseline measured in the same
// run: the bare library work the step cannot avoid.
//
//   cell_bench [--rows N] [--keep FOLDER]
//
// --keep leaves the PDF, the workbook and a screenshot of the grid in FOLDER.
//
// The preview is timed on a table of 100 pages: the time until its first
// page shows and until its last page shows after a jump there, each against
// the table's fill; and, for comparison, drawing every page.
#include "cell/TCellPrinter.h"
#include "cell/view/TCell5.h"
#include "cell/view/TCellPreviewDialog.h"
#include "cell/view/TCellPreviewView.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>
#include <sys/resource.h>
#include <xlsxwriter.h>

namespace {

using TRows = std::vector<std::array<QString, 14>>;

long PeakMemoryMb() {
    rusage Usage{};
    getrusage(RUSAGE_SELF, &Usage);
    return Usage.ru_maxrss / 1024;
}

TRows MakeRows(int ACount) {
    const QString Units[] = {QStringLiteral("市教育局"), QStringLiteral("市第一中学"),
                             QStringLiteral("市卫生健康委员会机关服务中心"),
                             QStringLiteral("*市财政局国库支付中心")};
    const QString Subjects[] = {QStringLiteral("行政运行"), QStringLiteral("一般行政管理事务"),
                                QStringLiteral("其他普通教育支出"), QStringLiteral("小学教育"),
                                QStringLiteral("其他教育管理事务支出（含寄宿制学校补助）")};
    TRows Rows(ACount);
    for (int Index = 0; Index < ACount; ++Index) {
        auto& Row = Rows[Index];
        Row[0] = QString::number(Index / 7 + 1);
        Row[1] = QStringLiteral("001%1").arg(Index / 7 % 1000, 3, 10, QLatin1Char('0'));
        Row[2] = Units[Index / 7 % 4];
        Row[3] = QStringLiteral("205");
        Row[4] = QStringLiteral("%1").arg(Index % 9 + 1, 2, 10, QLatin1Char('0'));
        Row[5] = QStringLiteral("%1").arg(Index % 5 + 1, 2, 10, QLatin1Char('0'));
        Row[6] = Subjects[Index % 5];
        Row[7] = QStringLiteral("ZB2024%1").arg(Index, 6, 10, QLatin1Char('0'));
        Row[8] = Subjects[(Index * 3) % 5] + QStringLiteral("项目");
        for (int Col = 9; Col < 14; ++Col)
            Row[Col] = TCell::FormatNumber((Index * 7919 + Col * 104729) % 1000000 / 100.0);
    }
    return Rows;
}

void Fill(TCell5& AGrid, const TRows& ARows) {
    for (const auto& Texts : ARows) {
        AGrid.SetRowCount(AGrid.GetRowCount(0) + 1, 0);
        const int Row = AGrid.GetRowCount(0) - 1;
        for (int Col = 1; Col <= 9; ++Col)
            AGrid.PutText(Col, Row, 0, Texts[Col - 1]);
        for (int Col = 10; Col <= 14; ++Col) {
            AGrid.PutAlign(Col, Row, 0, 34);
            AGrid.PutText(Col, Row, 0, Texts[Col - 1]);
        }
        for (int Col = 1; Col <= 14; ++Col)
            AGrid.PutStyle(Col, Row, 0, 0);
        AGrid.PutAlign(3, Row, 0, 32);
        AGrid.PutRowHeight(1, AGrid.FitRowHeight(Row), Row, 0);
    }
}

// Baseline of the fill: the same texts copied into a plain table.
void CopyRows(const TRows& ARows, std::vector<QString>& ATable) {
    ATable.clear();
    ATable.reserve(ARows.size() * 14);
    for (const auto& Texts : ARows)
        for (const QString& Text : Texts)
            ATable.push_back(Text);
}

// Baseline of the export: the texts written into a workbook without formats.
void BareWorkbook(const TRows& ARows, const QString& AFile) {
    lxw_workbook* Book = workbook_new(QFile::encodeName(AFile).constData());
    lxw_worksheet* Sheet = workbook_add_worksheet(Book, nullptr);
    for (size_t Row = 0; Row < ARows.size(); ++Row)
        for (int Col = 0; Col < 14; ++Col)
            worksheet_write_string(Sheet, Row, Col, ARows[Row][Col].toUtf8().constData(), nullptr);
    workbook_close(Book);
}

// Baseline of the PDF: the texts drawn in a plain grid of 24-pixel rows.
void BarePdf(const TRows& ARows, const QString& AFile) {
    QPdfWriter Writer(AFile);
    Writer.setResolution(600);
    Writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, {}));
    QPainter Painter(&Writer);
    Painter.setFont(TCellSheet::MakeFont(QStringLiteral("Noto Serif CJK SC"), 10, false));
    Painter.scale(600 / 96.0 * 0.85, 600 / 96.0 * 0.85);
    int Y = 0;
    for (const auto& Texts : ARows) {
        if (Y > 28 * 24) {
            Writer.newPage();
            Y = 0;
        }
        for (int Col = 0; Col < 14; ++Col)
            Painter.drawText(QRect(Col * 80, Y, 80, 24), Qt::AlignVCenter, Texts[Col]);
        Y += 24;
    }
}

// A template of AMerges two-by-two merges spread over the largest grid (256
// columns, 10,000 rows): loading it must grow with the file, not with the
// merges already made.
QByteArray ManyMergesTemplate(int AMerges) {
    QByteArray Data = R"({"format":"varnholt-cll","version":1,"fonts":{"body":)"
                      R"({"family":"Noto Serif CJK SC","size":10}},"columns":[)";
    Data += QByteArray("20,").repeated(255) + "20],\"rows\":[" + QByteArray("20,").repeated(9999) +
            "20],\"cells\":[";
    for (int Index = 0; Index < AMerges; ++Index) {
        const int Col = Index % 128 * 2 + 1;
        const int Row = Index / 128 % 5000 * 2 + 1;
        const QString Range = TCellRange::ColumnName(Col) + QString::number(Row) +
                              QLatin1Char(':') + TCellRange::ColumnName(Col + 1) +
                              QString::number(Row + 1);
        Data += (Index > 0 ? ",{\"range\":\"" : "{\"range\":\"") + Range.toLatin1() + "\"}";
    }
    return Data + "]}";
}

template <typename F> double Seconds(F&& AWork) {
    QElapsedTimer Timer;
    Timer.start();
    AWork();
    return Timer.nsecsElapsed() / 1e9;
}

void Report(const char* AStep, int ARows, double ASeconds, double ABaseline) {
    std::printf("%-8s %9.0f rows/s  %7.3f s  baseline %9.0f rows/s  ratio %5.2f  peak %ld MB\n",
                AStep, ARows / ASeconds, ASeconds, ARows / ABaseline, ASeconds / ABaseline,
                PeakMemoryMb());
}

// Fills a fresh grid with the first ACount rows as the window does.
double FillNew(TCell5& AGrid, const QString& ATemplate, const TRows& ARows, int ACount) {
    AGrid.LoadTemplate(ATemplate, QString());
    AGrid.PutText(1, 1, 0, QStringLiteral("2024年市本级公共财政预算资金范围划分明细建议表"));
    AGrid.SetPageText(QString(), QStringLiteral("共&S页第&P页"), QString());
    const TRows Part(ARows.begin(), ARows.begin() + std::min<size_t>(ACount, ARows.size()));
    return Seconds([&] {
        Fill(AGrid, Part);
        AGrid.FinishTable(7, 1, 0);
    });
}

void PreviewBench(const QString& ATemplate, const TRows& ARows) {
    constexpr int Wanted = 100;
    TCell5 Probe;
    const int ProbeRows = std::min<int>(2000, int(ARows.size()));
    FillNew(Probe, ATemplate, ARows, ProbeRows);
    const int ProbePages = std::max(1, TCellPrinter(Probe.Sheet()).PdfPageCount());
    const int Rows = ProbeRows * Wanted / ProbePages;
    TCell5 Grid;
    const double FillTime = FillNew(Grid, ATemplate, ARows, Rows);
    std::unique_ptr<TCellPreviewDialog> Dialog;
    const double First = Seconds([&] {
        Dialog = std::make_unique<TCellPreviewDialog>(Grid.Sheet(), Grid.Sheet().Page().Layout());
        Dialog->show();
        Dialog->grab();
    });
    const int Pages = Dialog->Pages().Count();
    const int DrawnFirst = Dialog->Pages().DrawnCount();
    const double Last = Seconds([&] {
        Dialog->View().GoToPage(Pages - 1);
        Dialog->grab();
    });
    TCellPreviewPages Every(Grid.Sheet(), Grid.Sheet().Page().Layout());
    const int Width = Dialog->View().viewport()->width();
    const double All = Seconds([&] {
        for (int Index = 0; Index < Pages; ++Index)
            Every.Page(Index, Width);
    });
    std::printf("preview  %d rows, %d pages; fill %.3f s\n", Rows, Pages, FillTime);
    std::printf("preview  first page %7.3f s  ratio to fill %5.2f  (%d page(s) drawn)\n", First,
                First / FillTime, DrawnFirst);
    std::printf(
        "preview  last page  %7.3f s  ratio to fill %5.2f  (%d page(s) drawn, page %d shown)\n",
        Last, Last / FillTime, Dialog->Pages().DrawnCount() - DrawnFirst,
        Dialog->View().CurrentPage() + 1);
    std::printf(
        "preview  all pages  %7.3f s  ratio to fill %5.2f  (what drawing every page costs)\n", All,
        All / FillTime);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication App(argc, argv);
    const QStringList Args = App.arguments();
    const int Count = Args.contains(QStringLiteral("--rows"))
                          ? Args.value(Args.indexOf(QStringLiteral("--rows")) + 1).toInt()
                          : 50000;
    QTemporaryDir Scratch;
    const QString Keep = Args.contains(QStringLiteral("--keep"))
                             ? Args.value(Args.indexOf(QStringLiteral("--keep")) + 1)
                             : Scratch.path();
    QDir().mkpath(Keep);
    const QDir Out(Keep);
    const QString Templates = QDir(App.applicationDirPath()).filePath(QStringLiteral("templates"));

    const TRows Rows = MakeRows(Count);
    std::vector<QString> Table;
    const double CopyTime = Seconds([&] { CopyRows(Rows, Table); });
    Table.clear();

    TCell5 Grid;
    const int Loaded = Grid.LoadTemplate(
        QDir(Templates).filePath(QStringLiteral("支付范围划分明细表_非国有资本cll5.cll")),
        QString());
    if (Loaded != 0) {
        std::fprintf(stderr, "%s\n", qPrintable(Grid.LastError()));
        return 1;
    }
    Grid.PutText(1, 1, 0, QStringLiteral("2024年市本级公共财政预算资金范围划分明细建议表"));
    Grid.PutText(4, 2, 0, QStringLiteral("（按部门预算数核定）"));
    Grid.PutText(4, 3, 0, QStringLiteral("2024年预算构成"));
    const double FillTime = Seconds([&] {
        Fill(Grid, Rows);
        Grid.FinishTable(7, 1, 0);
    });
    Grid.SetPageText(QString(), QStringLiteral("共&S页第&P页"), QString());
    std::printf("%d rows x 14 columns\n", Count);
    Report("fill", Count, FillTime, CopyTime);

    const double BareBookTime = Seconds([&] { BareWorkbook(Rows, Out.filePath("bare.xlsx")); });
    const double ExportTime = Seconds([&] { Grid.ExportExcel(Out.filePath("明细表.xlsx")); });
    Report("export", Count, ExportTime, BareBookTime);

    const double BarePdfTime = Seconds([&] { BarePdf(Rows, Out.filePath("bare.pdf")); });
    const double PdfTime = Seconds([&] { Grid.PrintToPdf(Out.filePath("明细表.pdf")); });
    Report("pdf", Count, PdfTime, BarePdfTime);

    const int Merges = 100000;
    const QByteArray Template = ManyMergesTemplate(Merges);
    QFile TemplateFile(Out.filePath("merges.cll"));
    TemplateFile.open(QIODevice::WriteOnly);
    TemplateFile.write(Template);
    TemplateFile.close();
    const double ParseTime = Seconds([&] { QJsonDocument::fromJson(Template); });
    TCellDocument MergedDocument;
    const double LoadTime =
        Seconds([&] { MergedDocument.LoadTemplate(TemplateFile.fileName(), QString()); });
    std::printf("template of %d merges, %lld bytes (rows below: merge entries)\n", Merges,
                static_cast<long long>(Template.size()));
    Report("template", Merges, LoadTime, ParseTime);
    TemplateFile.remove();

    PreviewBench(QDir(Templates).filePath(QStringLiteral("支付范围划分明细表_非国有资本cll5.cll")),
                 Rows);

    Grid.resize(1280, 720);
    Grid.show();
    Grid.grab().save(Out.filePath("grid.png"));
    QFile::remove(Out.filePath("bare.xlsx"));
    QFile::remove(Out.filePath("bare.pdf"));
    return Grid.LastError().isEmpty() ? 0 : 1;
}
