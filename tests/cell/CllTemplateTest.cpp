#include "support/CellFixture.h"

#include "cell/TCllReader.h"
#include "support/TempDir.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

struct TTemplateCase {
    QString File;
    int Columns;
    // Header cells the report window writes into or relies on.
    QString AmountCaption; // the merged caption of the amount column
    int AmountCol;
};

QString WriteFile(const TempDir& ADir, const QByteArray& AContent) {
    const QString Name = ADir.File(QStringLiteral("t.cll"));
    QFile File(Name);
    File.open(QIODevice::WriteOnly);
    File.write(AContent);
    return Name;
}

} // namespace

TEST(CllTemplate, ReportTemplatesLoadWithTheirHeading) {
    const TTemplateCase Cases[] = {{SummaryTemplate(), 12, QStringLiteral("预算数"), 6},
                                   {DetailTemplate(), 14, QStringLiteral("预算数"), 10},
                                   {StateCapitalTemplate(), 16, QStringLiteral("预算数"), 10}};
    for (const TTemplateCase& Case : Cases) {
        SCOPED_TRACE(Case.File.toStdString());
        TCell5 Grid;
        ASSERT_EQ(Grid.LoadTemplate(Case.File, QString()), 0) << Grid.LastError().toStdString();
        const TCellSheet& Sheet = Grid.Sheet();
        EXPECT_EQ(Grid.GetRowCount(0), 8);
        EXPECT_EQ(Sheet.ColCount(), Case.Columns);
        // Title across the whole width, heading rows repeated on every page.
        ASSERT_NE(Sheet.MergeAt(1, 1), nullptr);
        EXPECT_EQ(*Sheet.MergeAt(1, 1), (TCellRange{1, 1, Case.Columns, 1}));
        EXPECT_EQ(Sheet.Page().RepeatFirstRow, 1);
        EXPECT_EQ(Sheet.Page().RepeatLastRow, 7);
        EXPECT_EQ(Sheet.Page().Orientation, QPageLayout::Landscape);
        EXPECT_TRUE(Sheet.Page().FitToWidth);
        // The amount caption that the window overwrites in row 4 is the
        // top-left cell of its merge, so the new text shows.
        const TCellRange* Amount = Sheet.MergeAt(Case.AmountCol, 4);
        ASSERT_NE(Amount, nullptr);
        EXPECT_EQ(Amount->FirstRow, 4);
        EXPECT_EQ(Amount->LastRow, 7);
        EXPECT_EQ(Grid.CellText(Case.AmountCol, 4), Case.AmountCaption);
        // Every caption cell of rows 3 to 7 is framed.
        for (int Col = 1; Col <= Case.Columns; ++Col)
            EXPECT_EQ(Sheet.RangeEdge({Col, 3, Col, 3}, TCell::EdgeTop), 1) << Col;
        EXPECT_GT(Sheet.Font(Sheet.Cell(1, 1)->Font).pixelSize(), Sheet.Font(0).pixelSize());
    }
}

TEST(CllTemplate, WindowCellsOfTheHeadingAreMergeAnchors) {
    // The window writes (1,2), (6,2), (2,3) into the summary heading and
    // (4,2), (4,3) into the detail headings; hidden cells would swallow them.
    const std::pair<QString, std::vector<std::pair<int, int>>> Cases[] = {
        {SummaryTemplate(), {{1, 2}, {6, 2}, {2, 3}}},
        {DetailTemplate(), {{4, 2}, {4, 3}}},
        {StateCapitalTemplate(), {{4, 2}, {4, 3}}}};
    for (const auto& [File, Cells] : Cases) {
        TCell5 Grid;
        ASSERT_EQ(Grid.LoadTemplate(File, QString()), 0);
        for (const auto& [Col, Row] : Cells) {
            const TCellRange* Merge = Grid.Sheet().MergeAt(Col, Row);
            ASSERT_NE(Merge, nullptr) << Col << "," << Row;
            EXPECT_EQ(Merge->FirstCol, Col);
            EXPECT_EQ(Merge->FirstRow, Row);
        }
    }
}

TEST(CllTemplate, BrokenTemplatesFailWithAReasonAndLeaveABlankGrid) {
    struct TCase {
        const char* Name;
        QByteArray Content; // empty: no file at all
        int Code;
        const char* Reason;
        QString Path = {}; // read instead of a file with the content
    };
    const QByteArray Valid = R"({"format":"varnholt-cll","version":1,
        "fonts":{"body":{"family":"Noto Serif CJK SC","size":10}},
        "columns":[80,80],"rows":[24],"cells":[%CELLS%]%MORE%})";
    auto With = [&](const char* ACells, const QByteArray& AMore = {}) {
        return QByteArray(Valid).replace("%CELLS%", ACells).replace("%MORE%", AMore);
    };
    auto WithPage = [&](const char* APage) {
        return With("", QByteArray(R"(,"page":{)") + APage + "}");
    };
    QByteArray ManyFonts = R"({"format":"varnholt-cll","version":1,"columns":[80],"fonts":{)";
    for (int Index = 0; Index < 1001; ++Index)
        ManyFonts += "\"f" + QByteArray::number(Index) + R"(":{"family":"x","size":10},)";
    ManyFonts += R"("body":{"family":"x","size":10}}})";
    // Entries that together cover more than ten million cells: loading time
    // must follow the file's size.
    const QByteArray ManyCells =
        R"({"format":"varnholt-cll","version":1,"fonts":{"body":{"family":"Noto Serif CJK SC",)"
        R"("size":10}},"columns":[)" +
        QByteArray("8,").repeated(255) + "8],\"rows\":[" + QByteArray("20,").repeated(9999) +
        "20],\"cells\":[" + QByteArray(R"({"range":"A1:IV10000"},)").repeated(3) +
        R"({"range":"A1:IV10000"}]})";
    // Anything but a regular file is refused at once, without hanging or
    // reading without end.
    TempDir OddFiles;
    const QString Fifo = MakeFifo(OddFiles, "x.cll");
    // Every value is checked for its type and range, and the message names
    // the field; nothing is read as something else.
    const TCase Cases[] = {
        {"missing", {}, TCllReader::FileMissing, "不存在"},
        {"not json", "{\"format\": ", TCllReader::NotJson, "JSON"},
        {"binary", QByteArray("\x00\x01\x02", 3), TCllReader::NotJson, "JSON"},
        {"array at the top", "[]", TCllReader::BadContent, "JSON 对象"},
        {"other format", R"({"format":"cell5","version":1})", TCllReader::BadContent, "format"},
        {"version as text", With("").replace("\"version\":1", "\"version\":\"1\""),
         TCllReader::BadContent, "version"},
        {"rows as text", With("").replace("[24]", "\"7\""), TCllReader::BadContent,
         "rows 必须是数组"},
        {"huge width", With("").replace("[80,80]", "[80,1e300]"), TCllReader::BadContent,
         "columns[1]"},
        {"font size as text", With("").replace("\"size\":10", "\"size\":\"10\""),
         TCllReader::BadContent, "fonts.body.size"},
        {"too many fonts", ManyFonts, TCllReader::BadContent, "fonts 最多"},
        {"range outside", With(R"({"range":"A1:C1","text":"x"})"), TCllReader::BadContent, "A1:C1"},
        {"bad range", With(R"({"range":"1A","text":"x"})"), TCllReader::BadContent, "1A"},
        {"unknown font", With(R"({"range":"A1","font":"title"})"), TCllReader::BadContent, "title"},
        {"bad align", With(R"({"range":"A1","align":"centre"})"), TCllReader::BadContent, "align"},
        {"huge align", With(R"({"range":"A1","align":1e300})"), TCllReader::BadContent,
         "cells[0].align"},
        {"bad border", With(R"({"range":"A1","border":["middle"]})"), TCllReader::BadContent,
         "middle"},
        {"merge as text", With(R"({"range":"A1:B1","merge":"false"})"), TCllReader::BadContent,
         "cells[0].merge"},
        {"text as number", With(R"({"range":"A1","text":5})"), TCllReader::BadContent,
         "cells[0].text"},
        {"number as text", With(R"({"range":"A1","number":"5"})"), TCllReader::BadContent,
         "cells[0].number"},
        {"paper as number", WithPage(R"("paper":4)"), TCllReader::BadContent, "page.paper"},
        {"orientation unknown", WithPage(R"("orientation":"sideways")"), TCllReader::BadContent,
         "page.orientation"},
        {"fit as text", WithPage(R"("fitToWidth":"no")"), TCllReader::BadContent,
         "page.fitToWidth"},
        {"three repeat ends", WithPage(R"("repeatRows":"1:2:3")"), TCllReader::BadContent,
         "page.repeatRows"},
        {"repeat past the last row", WithPage(R"("repeatRows":"1:2")"), TCllReader::BadContent,
         "page.repeatRows"},
        {"margins wider than the page", WithPage(R"("margins":[150,10,150,10])"),
         TCllReader::BadContent, "page.margins"},
        {"margins taller than the page", WithPage(R"("margins":[10,120,10,120])"),
         TCllReader::BadContent, "page.margins"},
        {"negative margin", WithPage(R"("margins":[-5,10,10,10])"), TCllReader::BadContent,
         "page.margins[0]"},
        {"footer part as number", WithPage(R"("footer":["",1])"), TCllReader::BadContent,
         "page.footer[1]"},
        {"too many cells", ManyCells, TCllReader::BadContent, "cells[3]"},
        {"fifo", {}, TCllReader::FileUnreadable, "不是普通文件", Fifo},
        {"device", {}, TCllReader::FileUnreadable, "不是普通文件", "/dev/zero"},
        {"folder", {}, TCllReader::FileUnreadable, "不是普通文件", OddFiles.Path()},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        TempDir Dir;
        const QString File = !Case.Path.isEmpty()    ? Case.Path
                             : Case.Content.isNull() ? Dir.File(QStringLiteral("none.cll"))
                                                     : WriteFile(Dir, Case.Content);
        TCell5 Grid;
        ASSERT_EQ(Grid.LoadTemplate(SummaryTemplate(), QString()), 0);
        EXPECT_EQ(Grid.LoadTemplate(File, QString()), Case.Code);
        EXPECT_TRUE(Grid.LastError().contains(QString::fromUtf8(Case.Reason)))
            << Grid.LastError().toStdString();
        // Blank but usable: rows can be appended and written.
        EXPECT_EQ(Grid.GetRowCount(0), 1);
        EXPECT_TRUE(Grid.Sheet().Merges().empty());
        Grid.SetRowCount(Grid.GetRowCount(0) + 1, 0);
        Grid.PutText(1, 1, 0, QStringLiteral("仍可写入"));
        EXPECT_EQ(Grid.CellText(1, 1), QStringLiteral("仍可写入"));
    }
}

TEST(CllTemplate, ValidTemplateAfterAFailureClearsTheReason) {
    TCell5 Grid;
    EXPECT_NE(Grid.LoadTemplate(QStringLiteral("/nonexistent/x.cll"), QString()), 0);
    EXPECT_FALSE(Grid.LastError().isEmpty());
    EXPECT_EQ(Grid.LoadTemplate(DetailTemplate(), QString()), 0);
    EXPECT_TRUE(Grid.LastError().isEmpty());
}

TEST(CllTemplate, RangesAndOutlinesApplyToEveryCellOfABlock) {
    TempDir Dir;
    const QString File = WriteFile(Dir, R"({"format":"varnholt-cll","version":1,
        "fonts":{"body":{"family":"Noto Serif CJK SC","size":10},
                 "big":{"family":"Noto Sans CJK SC","size":14,"bold":true}},
        "columns":[50,60,70],"rowHeight":30,"rows":[20,20,20],
        "cells":[{"range":"A1:C2","merge":false,"border":"outline","font":"big","style":2},
                 {"range":"B3","number":12.5,"align":34,"line":2,"border":["bottom"]}],
        "page":{"orientation":"portrait","repeatRows":"1:2","margins":[10,10,10,10]}})");
    TCell5 Grid;
    ASSERT_EQ(Grid.LoadTemplate(File, QString()), 0) << Grid.LastError().toStdString();
    const TCellSheet& Sheet = Grid.Sheet();
    EXPECT_TRUE(Sheet.Merges().empty());
    EXPECT_EQ(Sheet.Cell(1, 1)->Edge(TCell::EdgeLeft), 1);
    EXPECT_EQ(Sheet.Cell(1, 1)->Edge(TCell::EdgeRight), 0);
    EXPECT_EQ(Sheet.Cell(3, 2)->Edge(TCell::EdgeRight), 1);
    EXPECT_EQ(Sheet.Cell(3, 2)->Edge(TCell::EdgeBottom), 1);
    EXPECT_EQ(Sheet.Cell(2, 1)->Edge(TCell::EdgeBottom), 0);
    EXPECT_TRUE(Sheet.CellFont(*Sheet.Cell(2, 2)).bold());
    EXPECT_EQ(Sheet.Cell(2, 3)->Kind, TCell::TKind::Number);
    EXPECT_EQ(Sheet.Cell(2, 3)->Edge(TCell::EdgeBottom), 2);
    EXPECT_EQ(Sheet.DefaultRowHeight(), 30);
    EXPECT_EQ(Sheet.TotalWidth(), 180);
    EXPECT_EQ(Sheet.Page().Orientation, QPageLayout::Portrait);
}

// Merges are found through an index by row; random joins, single cells that
// dissolve merges and shrinking the sheet must keep it in step with what the
// merges cover.
TEST(CellMerges, IndexAgreesWithTheMergesAfterRandomJoins) {
    TCellSheet Sheet;
    Sheet.SetColCount(12);
    Sheet.SetRowCount(21);
    std::uint32_t Seed = 12345;
    const auto Next = [&Seed](int AMax) {
        Seed = Seed * 1664525u + 1013904223u;
        return static_cast<int>((Seed >> 8) % static_cast<std::uint32_t>(AMax)) + 1;
    };
    for (int Step = 0; Step < 3000; ++Step) {
        const int Col = Next(12), Row = Next(20);
        Sheet.Join(TCellRange::Normalised(Col, Row, std::min(12, Col + Next(3) - 1),
                                          std::min(20, Row + Next(4) - 1)));
        if (Step == 2000)
            Sheet.SetRowCount(15);
        if (Step % 100 != 0)
            continue;
        for (int R = 1; R < Sheet.RowCount(); ++R) {
            for (int C = 1; C <= 12; ++C) {
                const TCellRange* Expected = nullptr;
                for (const TCellRange& Merge : Sheet.Merges())
                    if (Merge.Contains(C, R)) {
                        ASSERT_EQ(Expected, nullptr) << "merges overlap at " << C << "," << R;
                        Expected = &Merge;
                    }
                ASSERT_EQ(Sheet.MergeAt(C, R), Expected) << Step << ": " << C << "," << R;
            }
        }
    }
}
