#include "TCllReader.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QPageSize>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Templates are small; anything far larger is not one and is not read whole.
constexpr qint64 MaxTemplateBytes = 16 * 1024 * 1024;
// A cell's font index is 16 bits wide; far fewer fonts make sense.
constexpr int MaxFonts = 1000;
constexpr int MaxTemplateRows = 10000;
// The cells entries together may cover this many cells (every entry counts
// its rectangle), about four times the largest template grid: loading time
// stays bounded whatever the file holds.
constexpr qint64 MaxCoveredCells = 10'000'000;
// Paper left for the table once the margins are taken, in millimetres.
constexpr double MinPrintableMm = 50;

const QString FormatTag = QStringLiteral("varnholt-cll");

enum : int { BorderLeft = 1, BorderTop = 2, BorderRight = 4, BorderBottom = 8 };

// A whole number in [AMin, AMax]; the range is checked on the double before
// any conversion, so a huge value cannot overflow an int.
bool IsWhole(const QJsonValue& AValue, int AMin, int AMax) {
    if (!AValue.isDouble())
        return false;
    const double Value = AValue.toDouble();
    return Value >= AMin && Value <= AMax && std::floor(Value) == Value;
}

QString Quoted(const QString& AText) {
    return QLatin1Char('"') + AText + QLatin1Char('"');
}

} // namespace

TCllReader::TResult TCllReader::Read(const QString& AFileName, TCellSheet& ASheet) {
    FError.clear();
    QByteArray Data;
    const TResult Loaded = ReadFile(AFileName, Data);
    if (Loaded != Ok)
        return Loaded;
    const TResult Result = ReadBytes(Data, ASheet);
    if (Result != Ok)
        FError = QStringLiteral("%1：%2").arg(QFileInfo(AFileName).fileName(), FError);
    return Result;
}

// Opened without blocking and checked before reading: a FIFO, a device or a
// folder under a template's name is refused instead of hanging the window or
// reading without end.
TCllReader::TResult TCllReader::ReadFile(const QString& AFileName, QByteArray& AData) {
    const int Handle =
        ::open(QFile::encodeName(AFileName).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (Handle < 0) {
        const bool Missing = errno == ENOENT || errno == ENOTDIR;
        FError = Missing ? QStringLiteral("模板文件不存在：%1").arg(AFileName)
                         : QStringLiteral("无法读取模板文件 %1：%2")
                               .arg(AFileName, QString::fromLocal8Bit(std::strerror(errno)));
        return Missing ? FileMissing : FileUnreadable;
    }
    QFile File;
    File.open(Handle, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    struct stat Status {};
    if (::fstat(Handle, &Status) != 0 || !S_ISREG(Status.st_mode)) {
        FError = QStringLiteral("模板 %1 不是普通文件").arg(AFileName);
        return FileUnreadable;
    }
    AData = File.read(MaxTemplateBytes + 1);
    if (File.error() != QFileDevice::NoError || AData.size() > MaxTemplateBytes) {
        FError = AData.size() > MaxTemplateBytes
                     ? QStringLiteral("模板文件 %1 超过 16 MB").arg(AFileName)
                     : QStringLiteral("无法读取模板文件 %1：%2").arg(AFileName, File.errorString());
        return FileUnreadable;
    }
    return Ok;
}

TCllReader::TResult TCllReader::ReadBytes(const QByteArray& AData, TCellSheet& ASheet) {
    FError.clear();
    FFontNames.clear();
    FCoveredCells = 0;
    ASheet.Clear();
    QJsonParseError ParseError;
    const QJsonDocument Document = QJsonDocument::fromJson(AData, &ParseError);
    if (ParseError.error != QJsonParseError::NoError) {
        FError = QStringLiteral("不是有效的模板（JSON 第 %1 字节：%2）")
                     .arg(ParseError.offset)
                     .arg(ParseError.errorString());
        return NotJson;
    }
    if (!Document.isObject()) {
        FError = QStringLiteral("模板的内容必须是一个 JSON 对象");
        return BadContent;
    }
    const QJsonObject Root = Document.object();
    const bool Read = ReadHeader(Root) && ReadFonts(Root, ASheet) && ReadColumns(Root, ASheet) &&
                      ReadRows(Root, ASheet) && ReadCells(Root, ASheet) && ReadPage(Root, ASheet);
    if (!Read) {
        ASheet.Clear();
        return BadContent;
    }
    return Ok;
}

bool TCllReader::Fail(const QString& AMessage) {
    FError = AMessage;
    return false;
}

bool TCllReader::WholeField(const QJsonValue& AValue, const QString& AField, int AMin, int AMax) {
    if (IsWhole(AValue, AMin, AMax))
        return true;
    return Fail(QStringLiteral("%1 必须是 %2 到 %3 之间的整数").arg(AField).arg(AMin).arg(AMax));
}

bool TCllReader::OptionalType(const QJsonObject& AObject, const char* AKey, QJsonValue::Type AType,
                              const QString& AField) {
    const QJsonValue Value = AObject.value(QLatin1String(AKey));
    if (Value.isUndefined() || Value.type() == AType)
        return true;
    static const QHash<int, QString> Kinds{{QJsonValue::Bool, QStringLiteral("true 或 false")},
                                           {QJsonValue::Double, QStringLiteral("数字")},
                                           {QJsonValue::String, QStringLiteral("文本")},
                                           {QJsonValue::Array, QStringLiteral("数组")},
                                           {QJsonValue::Object, QStringLiteral("对象")}};
    return Fail(QStringLiteral("%1 必须是%2").arg(AField, Kinds.value(AType)));
}

bool TCllReader::ReadHeader(const QJsonObject& ARoot) {
    if (ARoot.value(QStringLiteral("format")) != QJsonValue(FormatTag))
        return Fail(QStringLiteral("缺少格式标记 \"format\": \"%1\"").arg(FormatTag));
    if (ARoot.value(QStringLiteral("version")) != QJsonValue(1))
        return Fail(QStringLiteral("不支持的模板版本：version 必须是 1"));
    return OptionalType(ARoot, "name", QJsonValue::String, QStringLiteral("name"));
}

bool TCllReader::ReadFonts(const QJsonObject& ARoot, TCellSheet& ASheet) {
    const QJsonValue FontsValue = ARoot.value(QStringLiteral("fonts"));
    if (!FontsValue.isObject())
        return Fail(QStringLiteral("fonts 必须是对象，列出有名字的字体"));
    const QJsonObject Fonts = FontsValue.toObject();
    if (!Fonts.contains(QStringLiteral("body")))
        return Fail(QStringLiteral("fonts 中缺少正文字体 body"));
    if (Fonts.size() > MaxFonts)
        return Fail(QStringLiteral("fonts 最多 %1 个").arg(MaxFonts));
    for (auto It = Fonts.begin(); It != Fonts.end(); ++It) {
        const QString Field = QStringLiteral("fonts.") + It.key();
        if (!It.value().isObject())
            return Fail(Field + QStringLiteral(" 必须是对象"));
        const QJsonObject Spec = It.value().toObject();
        const QJsonValue Family = Spec.value(QStringLiteral("family"));
        const QJsonValue Size = Spec.value(QStringLiteral("size"));
        if (!Family.isString() || Family.toString().trimmed().isEmpty())
            return Fail(Field + QStringLiteral(".family 必须是字体名称"));
        if (!Size.isDouble() || !(Size.toDouble() >= 4 && Size.toDouble() <= 72))
            return Fail(Field + QStringLiteral(".size 必须是 4 到 72 之间的磅值"));
        if (!OptionalType(Spec, "bold", QJsonValue::Bool, Field + QStringLiteral(".bold")))
            return false;
        const QFont Font = TCellSheet::MakeFont(Family.toString(), Size.toDouble(),
                                                Spec.value(QStringLiteral("bold")).toBool());
        // The body font is every cell's default, so it takes index 0.
        if (It.key() == QStringLiteral("body")) {
            ASheet.SetFont(0, Font);
            FFontNames.insert(It.key(), 0);
        } else {
            FFontNames.insert(It.key(), ASheet.AddFont(Font));
        }
    }
    return true;
}

bool TCllReader::ReadColumns(const QJsonObject& ARoot, TCellSheet& ASheet) {
    const QJsonValue ColumnsValue = ARoot.value(QStringLiteral("columns"));
    const QJsonArray Columns = ColumnsValue.toArray();
    if (!ColumnsValue.isArray() || Columns.isEmpty() || Columns.size() > TCellSheet::MaxColumns)
        return Fail(
            QStringLiteral("columns 必须是 1 到 %1 个列宽的数组").arg(TCellSheet::MaxColumns));
    ASheet.SetColCount(static_cast<int>(Columns.size()));
    for (int Col = 1; Col <= ASheet.ColCount(); ++Col) {
        const QJsonValue Width = Columns.at(Col - 1);
        if (!WholeField(Width, QStringLiteral("columns[%1]").arg(Col - 1), 0, 2000))
            return false;
        ASheet.SetColWidth(Col, Width.toInt());
    }
    return true;
}

bool TCllReader::ReadRows(const QJsonObject& ARoot, TCellSheet& ASheet) {
    const QJsonValue Default = ARoot.value(QStringLiteral("rowHeight"));
    if (!Default.isUndefined()) {
        if (!WholeField(Default, QStringLiteral("rowHeight"), 1, 2000))
            return false;
        ASheet.SetDefaultRowHeight(Default.toInt());
    }
    if (!OptionalType(ARoot, "rows", QJsonValue::Array, QStringLiteral("rows")))
        return false;
    const QJsonArray Rows = ARoot.value(QStringLiteral("rows")).toArray();
    if (Rows.size() > MaxTemplateRows)
        return Fail(QStringLiteral("rows 最多 %1 行").arg(MaxTemplateRows));
    ASheet.SetRowCount(static_cast<int>(Rows.size()) + 1);
    for (int Row = 1; Row < ASheet.RowCount(); ++Row) {
        const QJsonValue Height = Rows.at(Row - 1);
        if (!WholeField(Height, QStringLiteral("rows[%1]").arg(Row - 1), 0, 2000))
            return false;
        ASheet.SetRowHeight(Row, Height.toInt());
    }
    return true;
}

bool TCllReader::ReadCells(const QJsonObject& ARoot, TCellSheet& ASheet) {
    if (!OptionalType(ARoot, "cells", QJsonValue::Array, QStringLiteral("cells")))
        return false;
    const QJsonArray Cells = ARoot.value(QStringLiteral("cells")).toArray();
    for (int Index = 0; Index < Cells.size(); ++Index) {
        const QString Where = QStringLiteral("cells[%1]").arg(Index);
        if (!Cells.at(Index).isObject())
            return Fail(Where + QStringLiteral(" 不是对象"));
        if (!ReadCell(Cells.at(Index).toObject(), Where, ASheet))
            return false;
    }
    return true;
}

bool TCllReader::CheckCellTypes(const QJsonObject& AEntry, const QString& AWhere) {
    const std::pair<const char*, QJsonValue::Type> Types[] = {{"merge", QJsonValue::Bool},
                                                              {"text", QJsonValue::String},
                                                              {"number", QJsonValue::Double},
                                                              {"font", QJsonValue::String}};
    for (const auto& [Key, Type] : Types)
        if (!OptionalType(AEntry, Key, Type, AWhere + QLatin1Char('.') + QLatin1String(Key)))
            return false;
    const std::tuple<const char*, int> Codes[] = {{"align", 63}, {"style", 2}, {"line", 2}};
    for (const auto& [Key, Max] : Codes) {
        const QJsonValue Value = AEntry.value(QLatin1String(Key));
        if (!Value.isUndefined() &&
            !WholeField(Value, AWhere + QLatin1Char('.') + QLatin1String(Key), 0, Max))
            return false;
    }
    return true;
}

bool TCllReader::ReadCell(const QJsonObject& AEntry, const QString& AWhere, TCellSheet& ASheet) {
    const QString RangeText = AEntry.value(QStringLiteral("range")).toString();
    const auto Range = TCellRange::Parse(RangeText);
    if (!Range || Range->LastCol > ASheet.ColCount() || Range->LastRow >= ASheet.RowCount())
        return Fail(QStringLiteral("%1 的区域 \"%2\" 无效或超出表格").arg(AWhere, RangeText));
    if (!CheckCellTypes(AEntry, AWhere))
        return false;
    FCoveredCells += static_cast<qint64>(Range->ColSpan()) * Range->RowSpan();
    if (FCoveredCells > MaxCoveredCells)
        return Fail(QStringLiteral("%1：cells 的区域合计超过 %2 个单元格")
                        .arg(AWhere)
                        .arg(MaxCoveredCells));

    const QString FontName = AEntry.value(QStringLiteral("font")).toString(QStringLiteral("body"));
    if (!FFontNames.contains(FontName))
        return Fail(QStringLiteral("%1 使用了未定义的字体 %2").arg(AWhere, FontName));
    const QJsonValue Align = AEntry.value(QStringLiteral("align"));
    const QJsonValue Style = AEntry.value(QStringLiteral("style"));
    const QJsonValue Line = AEntry.value(QStringLiteral("line"));
    int Mask = 0;
    const QJsonValue BorderValue = AEntry.value(QStringLiteral("border"));
    const bool Outline = BorderValue == QJsonValue(QStringLiteral("outline"));
    if (!Outline && !ReadBorders(BorderValue, AWhere, Mask))
        return false;

    const bool Merge = AEntry.value(QStringLiteral("merge")).toBool(!Range->IsSingle());
    if (Merge && !Range->IsSingle())
        ASheet.Join(*Range);
    const int LineStyle = Line.toInt(1);
    const auto FontIndex = static_cast<std::int16_t>(FFontNames.value(FontName));
    for (int Row = Range->FirstRow; Row <= Range->LastRow; ++Row) {
        for (int Col = Range->FirstCol; Col <= Range->LastCol; ++Col) {
            TCell* Cell = ASheet.WritableCell(Col, Row);
            Cell->Font = FontIndex;
            Cell->Align = static_cast<std::uint8_t>(Align.toInt(Cell->Align));
            Cell->Style = static_cast<std::uint8_t>(Style.toInt(Cell->Style));
            const int CellMask = Outline ? (Col == Range->FirstCol ? BorderLeft : 0) |
                                               (Row == Range->FirstRow ? BorderTop : 0) |
                                               (Col == Range->LastCol ? BorderRight : 0) |
                                               (Row == Range->LastRow ? BorderBottom : 0)
                                         : Mask;
            for (int Edge = 0; Edge < 4; ++Edge)
                if (CellMask & (1 << Edge))
                    Cell->SetEdge(Edge, LineStyle);
        }
    }
    TCell* First = ASheet.WritableCell(Range->FirstCol, Range->FirstRow);
    if (AEntry.contains(QStringLiteral("text"))) {
        First->Kind = TCell::TKind::Text;
        First->Text = AEntry.value(QStringLiteral("text")).toString();
    } else if (AEntry.contains(QStringLiteral("number"))) {
        First->Kind = TCell::TKind::Number;
        First->Number = AEntry.value(QStringLiteral("number")).toDouble();
    }
    return true;
}

bool TCllReader::ReadBorders(const QJsonValue& AValue, const QString& AWhere, int& AMask) {
    static const QHash<QString, int> Names{{QStringLiteral("left"), BorderLeft},
                                           {QStringLiteral("top"), BorderTop},
                                           {QStringLiteral("right"), BorderRight},
                                           {QStringLiteral("bottom"), BorderBottom}};
    AMask = 0;
    if (AValue.isUndefined() || AValue == QJsonValue(QStringLiteral("none")))
        return true;
    if (AValue == QJsonValue(QStringLiteral("all"))) {
        AMask = BorderLeft | BorderTop | BorderRight | BorderBottom;
        return true;
    }
    if (!AValue.isArray())
        return Fail(AWhere +
                    QStringLiteral(".border 必须是 \"all\"、\"outline\"、\"none\" 或边的数组"));
    for (const QJsonValue Edge : AValue.toArray()) {
        if (!Edge.isString() || !Names.contains(Edge.toString()))
            return Fail(AWhere + QStringLiteral(".border 含未知边 ") +
                        (Edge.isString() ? Edge.toString() : QStringLiteral("（不是文本）")));
        AMask |= Names.value(Edge.toString());
    }
    return true;
}

bool TCllReader::ReadPage(const QJsonObject& ARoot, TCellSheet& ASheet) {
    if (!OptionalType(ARoot, "page", QJsonValue::Object, QStringLiteral("page")))
        return false;
    const QJsonObject Page = ARoot.value(QStringLiteral("page")).toObject();
    const std::pair<const char*, QJsonValue::Type> Types[] = {
        {"paper", QJsonValue::String},      {"orientation", QJsonValue::String},
        {"margins", QJsonValue::Array},     {"fitToWidth", QJsonValue::Bool},
        {"repeatRows", QJsonValue::String}, {"footer", QJsonValue::Array}};
    for (const auto& [Key, Type] : Types)
        if (!OptionalType(Page, Key, Type, QStringLiteral("page.") + QLatin1String(Key)))
            return false;
    TCellPageSetup& Setup = ASheet.Page();
    const QString Paper = Page.value(QStringLiteral("paper")).toString(QStringLiteral("A4"));
    static const QHash<QString, QPageSize::PageSizeId> Papers{
        {QStringLiteral("A4"), QPageSize::A4},
        {QStringLiteral("A3"), QPageSize::A3},
        {QStringLiteral("B5"), QPageSize::B5},
        {QStringLiteral("Letter"), QPageSize::Letter}};
    if (!Papers.contains(Paper))
        return Fail(QStringLiteral("page.paper：不支持的纸张 %1").arg(Paper));
    Setup.Paper = Papers.value(Paper);
    const QString Orientation =
        Page.value(QStringLiteral("orientation")).toString(QStringLiteral("landscape"));
    if (Orientation != QStringLiteral("landscape") && Orientation != QStringLiteral("portrait"))
        return Fail(QStringLiteral("page.orientation 必须是 \"landscape\" 或 \"portrait\""));
    Setup.Orientation =
        Orientation == QStringLiteral("portrait") ? QPageLayout::Portrait : QPageLayout::Landscape;
    Setup.FitToWidth = Page.value(QStringLiteral("fitToWidth")).toBool(true);
    return ReadMargins(Page, Setup) && ReadRepeatRows(Page, ASheet) && ReadFooter(Page, Setup);
}

// Margins that leave no paper would print the table upside down at the foot
// of the page or shrunk to nothing, and still report success.
bool TCllReader::ReadMargins(const QJsonObject& APage, TCellPageSetup& ASetup) {
    const QJsonArray Margins = APage.value(QStringLiteral("margins")).toArray();
    if (!APage.contains(QStringLiteral("margins")))
        return true;
    if (Margins.size() != 4)
        return Fail(QStringLiteral("page.margins 需要左、上、右、下四个毫米数"));
    for (int Index = 0; Index < 4; ++Index)
        if (!Margins[Index].isDouble() || !(Margins[Index].toDouble() >= 0))
            return Fail(QStringLiteral("page.margins[%1] 必须是不小于 0 的毫米数").arg(Index));
    const QMarginsF Wanted(Margins[0].toDouble(), Margins[1].toDouble(), Margins[2].toDouble(),
                           Margins[3].toDouble());
    QSizeF Paper = QPageSize(ASetup.Paper).size(QPageSize::Millimeter);
    if (ASetup.Orientation == QPageLayout::Landscape)
        Paper.transpose();
    if (Paper.width() - Wanted.left() - Wanted.right() < MinPrintableMm ||
        Paper.height() - Wanted.top() - Wanted.bottom() < MinPrintableMm)
        return Fail(QStringLiteral("page.margins 太大：纸张上至少要留出 %1 × %1 毫米给表格")
                        .arg(MinPrintableMm));
    ASetup.Margins = Wanted;
    return true;
}

bool TCllReader::ReadRepeatRows(const QJsonObject& APage, TCellSheet& ASheet) {
    const QString Repeat = APage.value(QStringLiteral("repeatRows")).toString();
    if (Repeat.isEmpty())
        return true;
    const QStringList Ends = Repeat.split(QLatin1Char(':'));
    bool FirstOk = false;
    bool LastOk = false;
    const int First = Ends.value(0).trimmed().toInt(&FirstOk);
    const int Last = Ends.value(1).trimmed().toInt(&LastOk);
    if (Ends.size() != 2 || !FirstOk || !LastOk || First < 1 || Last < First ||
        Last >= ASheet.RowCount())
        return Fail(QStringLiteral("page.repeatRows %1 无效：应为 \"首行:末行\"，且在模板的行内")
                        .arg(Quoted(Repeat)));
    ASheet.Page().RepeatFirstRow = First;
    ASheet.Page().RepeatLastRow = Last;
    return true;
}

bool TCllReader::ReadFooter(const QJsonObject& APage, TCellPageSetup& ASetup) {
    const QJsonArray Footer = APage.value(QStringLiteral("footer")).toArray();
    if (Footer.size() > 3)
        return Fail(QStringLiteral("page.footer 最多三段：左、中、右"));
    for (int Index = 0; Index < Footer.size(); ++Index)
        if (!Footer[Index].isString())
            return Fail(QStringLiteral("page.footer[%1] 必须是文本").arg(Index));
    ASetup.FooterLeft = Footer.at(0).toString();
    ASetup.FooterCentre = Footer.at(1).toString();
    ASetup.FooterRight = Footer.at(2).toString();
    return true;
}
