#include "WorkbookAlone.h"

#include "BenchSupport.h"
#include "cell/TCellSheet.h"

#include <QFile>
#include <map>
#include <tuple>
#include <unistd.h>
#include <vector>
#include <xlsxwriter.h>

namespace {

struct TPlainCell {
    int Row;
    int Col;
    TCell::TKind Kind;
    QByteArray Text;
    double Number;
    int Format;
};

// What tells two cells' formats apart in the export.
using TFormatKey = std::tuple<int, int, int, int, bool>;

lxw_format* MakeFormat(lxw_workbook* ABook, const TFormatKey& AKey) {
    const auto& [Font, Style, Align, Borders, Number] = AKey;
    lxw_format* Format = workbook_add_format(ABook);
    format_set_font_name(Format, "SimSun");
    format_set_font_size(Format, 9 + Font);
    if (Style != TCell::StyleOrdinary)
        format_set_bold(Format);
    format_set_align(Format, Align & TCell::AlignRight ? LXW_ALIGN_RIGHT : LXW_ALIGN_LEFT);
    format_set_align(Format, LXW_ALIGN_VERTICAL_CENTER);
    format_set_text_wrap(Format);
    if (Number)
        format_set_num_format(Format, "#,##0.00");
    if (Style == TCell::StyleTotal) {
        format_set_pattern(Format, LXW_PATTERN_SOLID);
        format_set_bg_color(Format, 0xEEEEEE);
    }
    format_set_left(Format, Borders & 3);
    format_set_top(Format, (Borders >> 2) & 3);
    format_set_right(Format, (Borders >> 4) & 3);
    format_set_bottom(Format, (Borders >> 6) & 3);
    return Format;
}

} // namespace

double SyncFile(const QString& AFile) {
    QFile File(AFile);
    if (!File.open(QIODevice::ReadWrite))
        return 0;
    return Seconds([&] { ::fsync(File.handle()); });
}

double WriteCellsAlone(const TCellSheet& ASheet, const QString& AFile) {
    std::map<TFormatKey, int> Keys;
    std::vector<TPlainCell> Cells;
    for (int Row = 1; Row < ASheet.RowCount(); ++Row) {
        for (int Col = 1; Col <= ASheet.ColCount(); ++Col) {
            const TCell& Cell = *ASheet.Cell(Col, Row);
            if (Cell.IsEmpty() && Cell.Borders == 0 && ASheet.MergeAt(Col, Row) == nullptr)
                continue;
            const TFormatKey Key{Cell.Font, Cell.Style, Cell.Align, Cell.Borders,
                                 Cell.Kind == TCell::TKind::Number};
            const int Format = Keys.emplace(Key, int(Keys.size())).first->second;
            Cells.push_back({Row - 1, Col - 1, Cell.Kind, Cell.Text.toUtf8(), Cell.Number, Format});
        }
    }
    const QByteArray Name = QFile::encodeName(AFile);
    return Seconds([&] {
        lxw_workbook_options Options{};
        Options.constant_memory = LXW_TRUE;
        lxw_workbook* Book = workbook_new_opt(Name.constData(), &Options);
        lxw_worksheet* Sheet = workbook_add_worksheet(Book, nullptr);
        std::vector<lxw_format*> Formats(Keys.size());
        for (const auto& [Key, Index] : Keys)
            Formats[size_t(Index)] = MakeFormat(Book, Key);
        for (int Col = 1; Col <= ASheet.ColCount(); ++Col)
            worksheet_set_column_pixels(Sheet, Col - 1, Col - 1, ASheet.ColWidth(Col), nullptr);
        int Row = -1;
        for (const TPlainCell& Cell : Cells) {
            if (Cell.Row != Row) {
                Row = Cell.Row;
                worksheet_set_row_pixels(Sheet, Row, ASheet.RowHeight(Row + 1), nullptr);
            }
            lxw_format* Format = Formats[size_t(Cell.Format)];
            if (Cell.Kind == TCell::TKind::Text)
                worksheet_write_string(Sheet, Row, lxw_col_t(Cell.Col), Cell.Text.constData(),
                                       Format);
            else if (Cell.Kind == TCell::TKind::Number)
                worksheet_write_number(Sheet, Row, lxw_col_t(Cell.Col), Cell.Number, Format);
            else
                worksheet_write_blank(Sheet, Row, lxw_col_t(Cell.Col), Format);
        }
        workbook_close(Book);
    });
}
