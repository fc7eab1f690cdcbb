#include "TCellXlsxWriter.h"

#include "TCellOutputFile.h"
#include "TCellOutputSet.h"

#include <QFile>
#include <QtEndian>
#include <cerrno>
#include <cmath>
#include <xlsxwriter.h>

namespace {

// The workbook is read on Windows machines, where the Noto faces are seldom
// installed; their usual counterparts stand in.
QByteArray WorkbookFontName(const QFont& AFont) {
    const QString Family = AFont.family();
    if (Family.startsWith(QStringLiteral("Noto Serif CJK")))
        return QStringLiteral("宋体").toUtf8();
    if (Family.startsWith(QStringLiteral("Noto Sans CJK")))
        return QStringLiteral("黑体").toUtf8();
    return Family.toUtf8();
}

uint8_t WorkbookPaper(QPageSize::PageSizeId APaper) {
    switch (APaper) {
    case QPageSize::A3:
        return 8;
    case QPageSize::B5:
        return 13;
    case QPageSize::Letter:
        return 1;
    default:
        return 9;
    }
}

// The library does not report every failed write (a full disk while it
// closes its files). A zip archive ends with a record that says where its
// directory lies, so a file cut short anywhere fails this check. The
// workbook carries no archive comment, so the record is the last 22 bytes.
bool IsCompleteZip(const QString& AFileName) {
    constexpr qint64 EndRecordSize = 22;
    QFile File(AFileName);
    if (!File.open(QIODevice::ReadOnly) || File.size() < EndRecordSize ||
        !File.seek(File.size() - EndRecordSize))
        return false;
    const QByteArray End = File.read(EndRecordSize);
    if (End.size() != EndRecordSize || !End.startsWith("PK\x05\x06"))
        return false;
    const quint64 DirectorySize = qFromLittleEndian<quint32>(End.constData() + 12);
    const quint64 DirectoryOffset = qFromLittleEndian<quint32>(End.constData() + 16);
    return DirectoryOffset + DirectorySize == static_cast<quint64>(File.size() - EndRecordSize);
}

uint8_t BorderStyle(int ALine) {
    return ALine == 2 ? LXW_BORDER_MEDIUM : (ALine == 1 ? LXW_BORDER_THIN : LXW_BORDER_NONE);
}

} // namespace

TCellXlsxWriter::TCellXlsxWriter(const TCellSheet& ASheet, int ARowLimit)
    : FSheet(ASheet)
    , FRowLimit(ARowLimit) {}

TCellXlsxWriter::TResult TCellXlsxWriter::Write(const QString& AFileName) {
    FError.clear();
    FFormats.clear();
    // A worksheet ends at its last row; a table longer than that would lose
    // its end without a word.
    const int TableRows = FSheet.RowCount() - 1;
    if (TableRows > FRowLimit) {
        FError = QStringLiteral("表格有 %1 行，超过 Excel 工作表 %2 行的上限，未写出工作簿 %3"
                                "（PDF 不受此限）")
                     .arg(TableRows)
                     .arg(FRowLimit)
                     .arg(AFileName);
        return Rejected;
    }
    auto Output = std::make_unique<TCellOutputFile>(AFileName);
    if (!Output->Open()) {
        FError = Output->Error();
        return CannotCreate;
    }
    const QByteArray PartName = QFile::encodeName(Output->TemporaryName());
    // Rows go out one after another straight to disk: quick, and memory
    // stays flat however long the table is.
    lxw_workbook_options Options{};
    Options.constant_memory = LXW_TRUE;
    FBook = workbook_new_opt(PartName.constData(), &Options);
    if (FBook == nullptr) {
        FError = QStringLiteral("无法创建工作簿");
        return CannotCreate;
    }
    const bool Written = WriteSheet(FBook);
    errno = 0;
    const lxw_error Closed = workbook_close(FBook);
    const int SystemError = errno;
    FBook = nullptr;
    if (!Written)
        return Rejected;
    if (Closed != LXW_NO_ERROR || !IsCompleteZip(Output->TemporaryName())) {
        const bool DiskFull = SystemError == ENOSPC || SystemError == EDQUOT;
        const QString Reason = DiskFull ? TCellOutputFile::SystemReason(SystemError)
                               : Closed != LXW_NO_ERROR
                                   ? QString::fromUtf8(lxw_strerror(Closed))
                                   : QStringLiteral("文件不完整，磁盘可能已满");
        FError = QStringLiteral("写入 %1 失败：%2").arg(AFileName, Reason);
        return WriteFailed;
    }
    switch (FOutputSet ? FOutputSet->Hold(Output) : Output->Commit()) {
    case TCellOutputFile::Committed:
        return Ok;
    case TCellOutputFile::SyncFailed:
        FError = Output->Error();
        return WriteFailed;
    case TCellOutputFile::MoveFailed:
    case TCellOutputFile::NameTaken:
        break;
    }
    FError = Output->Error();
    return CannotMove;
}

bool TCellXlsxWriter::WriteSheet(lxw_workbook* ABook) {
    lxw_worksheet* Sheet = workbook_add_worksheet(ABook, nullptr);
    if (Sheet == nullptr) {
        FError = QStringLiteral("无法创建工作表");
        return false;
    }
    WriteLayout(Sheet);
    WritePrintSetup(Sheet);
    return WriteRows(Sheet);
}

void TCellXlsxWriter::WriteLayout(lxw_worksheet* ASheet) {
    for (int Col = 1; Col <= FSheet.ColCount(); ++Col)
        worksheet_set_column_pixels(ASheet, Col - 1, Col - 1, FSheet.ColWidth(Col), nullptr);
}

void TCellXlsxWriter::WritePrintSetup(lxw_worksheet* ASheet) {
    const TCellPageSetup& Setup = FSheet.Page();
    if (Setup.Orientation == QPageLayout::Landscape)
        worksheet_set_landscape(ASheet);
    else
        worksheet_set_portrait(ASheet);
    worksheet_set_paper(ASheet, WorkbookPaper(Setup.Paper));
    const double Inch = 25.4;
    worksheet_set_margins(ASheet, Setup.Margins.left() / Inch, Setup.Margins.right() / Inch,
                          Setup.Margins.top() / Inch, Setup.Margins.bottom() / Inch);
    if (Setup.FitToWidth)
        worksheet_fit_to_pages(ASheet, 1, 0);
    if (Setup.HasRepeatedRows())
        worksheet_repeat_rows(ASheet, Setup.RepeatFirstRow - 1, Setup.RepeatLastRow - 1);
    worksheet_center_horizontally(ASheet);
    if (Setup.HasFooter())
        worksheet_set_footer(ASheet, FooterCodes(Setup).toUtf8().constData());
}

bool TCellXlsxWriter::WriteRows(lxw_worksheet* ASheet) {
    // Rows must be written in order, so each merge is declared on its last
    // row, after the cells it covers have been written with its format; the
    // declaration's own writes into earlier rows are then refused by the
    // library, and on a one-row merge the first cell is written again.
    std::multimap<int, const TCellRange*> MergesByLastRow;
    for (const TCellRange& Merge : FSheet.Merges())
        MergesByLastRow.emplace(Merge.LastRow, &Merge);
    for (int Row = 1; Row < FSheet.RowCount(); ++Row) {
        worksheet_set_row_pixels(ASheet, Row - 1, FSheet.RowHeight(Row), nullptr);
        for (int Col = 1; Col <= FSheet.ColCount(); ++Col)
            if (!WriteCell(ASheet, Col, Row, *FSheet.Cell(Col, Row)))
                return false;
        const auto [First, Last] = MergesByLastRow.equal_range(Row);
        for (auto It = First; It != Last; ++It)
            if (!WriteMerge(ASheet, *It->second))
                return false;
    }
    return true;
}

bool TCellXlsxWriter::WriteMerge(lxw_worksheet* ASheet, const TCellRange& AMerge) {
    const TCell& Anchor = *FSheet.Cell(AMerge.FirstCol, AMerge.FirstRow);
    const lxw_error Error =
        worksheet_merge_range(ASheet, AMerge.FirstRow - 1, AMerge.FirstCol - 1, AMerge.LastRow - 1,
                              AMerge.LastCol - 1, "", Format(Anchor, &AMerge));
    if (!Check(Error, AMerge.FirstCol, AMerge.FirstRow))
        return false;
    return AMerge.RowSpan() > 1 || WriteCell(ASheet, AMerge.FirstCol, AMerge.FirstRow, Anchor);
}

bool TCellXlsxWriter::WriteCell(lxw_worksheet* ASheet, int ACol, int ARow, const TCell& ACell) {
    const TCellRange* Merge = FSheet.MergeAt(ACol, ARow);
    const bool Covered = Merge != nullptr && (Merge->FirstCol != ACol || Merge->FirstRow != ARow);
    const bool Plain = ACell.Style == TCell::StyleOrdinary && ACell.Borders == 0 && ACell.Font == 0;
    if (ACell.IsEmpty() && Plain && Merge == nullptr)
        return true;
    // A covered cell is a blank in the merge's format, as its first cell.
    const TCell& Shown = Covered ? *FSheet.Cell(Merge->FirstCol, Merge->FirstRow) : ACell;
    lxw_format* CellFormat = Format(Shown, Merge);
    lxw_error Error = LXW_NO_ERROR;
    if (Covered || ACell.IsEmpty())
        Error = worksheet_write_blank(ASheet, ARow - 1, ACol - 1, CellFormat);
    else if (ACell.Kind == TCell::TKind::Text)
        Error = worksheet_write_string(ASheet, ARow - 1, ACol - 1, ACell.Text.toUtf8().constData(),
                                       CellFormat);
    else if (!std::isfinite(ACell.Number))
        return NotFinite(ACol, ARow);
    else
        Error = worksheet_write_number(ASheet, ARow - 1, ACol - 1, ACell.Number, CellFormat);
    return Check(Error, ACol, ARow);
}

// An overflowed sum or a text read as a number is no amount: a workbook
// must not carry INF or NAN as if it were one.
bool TCellXlsxWriter::NotFinite(int ACol, int ARow) {
    FError = QStringLiteral("单元格 %1 的数值不是有限数（溢出或不是数字），未写出工作簿")
                 .arg(TCellRange::ColumnName(ACol) + QString::number(ARow));
    return false;
}

bool TCellXlsxWriter::Check(int AError, int ACol, int ARow) {
    if (AError == LXW_NO_ERROR)
        return true;
    const QString Where = TCellRange::ColumnName(ACol) + QString::number(ARow);
    FError = QStringLiteral("单元格 %1 无法写入工作簿：%2")
                 .arg(Where, QString::fromUtf8(lxw_strerror(static_cast<lxw_error>(AError))));
    return false;
}

lxw_format* TCellXlsxWriter::Format(const TCell& ACell, const TCellRange* AMerge) {
    const TCellRange Range = AMerge != nullptr ? *AMerge : TCellRange{};
    int Borders = ACell.Borders;
    if (AMerge != nullptr) {
        Borders = 0;
        for (int Edge = 0; Edge < 4; ++Edge)
            Borders |= FSheet.RangeEdge(Range, Edge) << (Edge * 2);
    }
    const bool Number = ACell.Kind == TCell::TKind::Number;
    const std::uint64_t Key = static_cast<std::uint64_t>(ACell.Font) << 24 |
                              static_cast<std::uint64_t>(ACell.Align) << 16 |
                              static_cast<std::uint64_t>(Borders) << 8 |
                              static_cast<std::uint64_t>(ACell.Style) << 1 | (Number ? 1 : 0);
    const auto Found = FFormats.find(Key);
    if (Found != FFormats.end())
        return Found->second;

    lxw_format* Result = workbook_add_format(FBook);
    const QFont Font = FSheet.CellFont(ACell);
    format_set_font_name(Result, WorkbookFontName(Font).constData());
    format_set_font_size(Result, Font.pixelSize() * 72.0 / 96.0);
    if (Font.bold())
        format_set_bold(Result);
    const int Horizontal = ACell.HorizontalAlign();
    format_set_align(Result, Horizontal == TCell::AlignCentre  ? LXW_ALIGN_CENTER
                             : Horizontal == TCell::AlignRight ? LXW_ALIGN_RIGHT
                                                               : LXW_ALIGN_LEFT);
    const int Vertical = ACell.VerticalAlign();
    format_set_align(Result, Vertical == TCell::AlignTop      ? LXW_ALIGN_VERTICAL_TOP
                             : Vertical == TCell::AlignBottom ? LXW_ALIGN_VERTICAL_BOTTOM
                                                              : LXW_ALIGN_VERTICAL_CENTER);
    format_set_text_wrap(Result);
    if (Number)
        format_set_num_format(Result, "#,##0.00");
    if (ACell.IsShaded()) {
        format_set_pattern(Result, LXW_PATTERN_SOLID);
        format_set_bg_color(Result, 0xEEEEEE);
    }
    format_set_left(Result, BorderStyle((Borders >> 0) & 3));
    format_set_top(Result, BorderStyle((Borders >> 2) & 3));
    format_set_right(Result, BorderStyle((Borders >> 4) & 3));
    format_set_bottom(Result, BorderStyle((Borders >> 6) & 3));
    FFormats.emplace(Key, Result);
    return Result;
}

QString TCellXlsxWriter::FooterCodes(const TCellPageSetup& ASetup) {
    const auto Convert = [](const QString& AText) {
        QString Result;
        for (int Index = 0; Index < AText.size(); ++Index) {
            const QChar Next = Index + 1 < AText.size() ? AText[Index + 1].toUpper() : QChar();
            if (AText[Index] == QLatin1Char('&') &&
                (Next == QLatin1Char('P') || Next == QLatin1Char('S'))) {
                Result += Next == QLatin1Char('P') ? QStringLiteral("&P") : QStringLiteral("&N");
                ++Index;
            } else if (AText[Index] == QLatin1Char('&')) {
                Result += QStringLiteral("&&");
            } else {
                Result += AText[Index];
            }
        }
        return Result;
    };
    QString Result;
    if (!ASetup.FooterLeft.isEmpty())
        Result += QStringLiteral("&L") + Convert(ASetup.FooterLeft);
    if (!ASetup.FooterCentre.isEmpty())
        Result += QStringLiteral("&C") + Convert(ASetup.FooterCentre);
    if (!ASetup.FooterRight.isEmpty())
        Result += QStringLiteral("&R") + Convert(ASetup.FooterRight);
    return Result;
}
