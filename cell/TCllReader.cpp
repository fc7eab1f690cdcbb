#include "TCllReader.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

namespace {

// Templates are small; anything far larger is not one and is not read whole.
constexpr qint64 MaxTemplateBytes = 16 * 1024 * 1024;

const QString FormatTag = QStringLiteral("varnholt-cll");

enum : int { BorderLeft = 1, BorderTop = 2, BorderRight = 4, BorderBottom = 8 };

bool IsWhole(const QJsonValue& AValue, int AMin, int AMax) {
    if (!AValue.isDouble())
        return false;
    const double Value = AValue.toDouble();
    return Value == static_cast<int>(Value) && Value >= AMin && Value <= AMax;
}

} // namespace

TCllReader::TResult TCllReader::Read(const QString& AFileName, TCellSheet& ASheet) {
    FError.clear();
    QFile File(AFileName);
    if (!QFileInfo::exists(AFileName)) {
        FError = QStringLiteral("模板文件不存在：%1").arg(AFileName);
        return FileMissing;
    }
    if (!File.open(QIODevice::ReadOnly) || File.size() > MaxTemplateBytes) {
        FError = QStringLiteral("无法读取模板文件：%1").arg(AFileName);
        return FileUnreadable;
    }
    const TResult Result = ReadBytes(File.readAll(), ASheet);
    if (Result != Ok)
        FError = QStringLiteral("%1：%2").arg(QFileInfo(AFileName).fileName(), FError);
    return Result;
}

TCllReader::TResult TCllReader::ReadBytes(const QByteArray& AData, TCellSheet& ASheet) {
    FError.clear();
    FFontNames.clear();
    ASheet.Clear();
    QJsonParseError ParseError;
    const QJsonDocument Document = QJsonDocument::fromJson(AData, &ParseError);
    if (ParseError.error != QJsonParseError::NoError || !Document.isObject()) {
        FError = QStringLiteral("不是有效的模板（JSON 第 %1 字节：%2）")
                     .arg(ParseError.offset)
                     .arg(ParseError.errorString());
        return NotJson;
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

bool TCllReader::ReadHeader(const QJsonObject& ARoot) {
    if (ARoot.value(QStringLiteral("format")).toString() != FormatTag)
        return Fail(QStringLiteral("缺少格式标记 \"format\": \"%1\"").arg(FormatTag));
    if (ARoot.value(QStringLiteral("version")).toInt() != 1)
        return Fail(QStringLiteral("不支持的模板版本"));
    return true;
}

bool TCllReader::ReadFonts(const QJsonObject& ARoot, TCellSheet& ASheet) {
    const QJsonObject Fonts = ARoot.value(QStringLiteral("fonts")).toObject();
    if (!Fonts.contains(QStringLiteral("body")))
        return Fail(QStringLiteral("fonts 中缺少正文字体 body"));
    for (auto It = Fonts.begin(); It != Fonts.end(); ++It) {
        const QJsonObject Spec = It.value().toObject();
        const QString Family = Spec.value(QStringLiteral("family")).toString();
        const double Size = Spec.value(QStringLiteral("size")).toDouble();
        if (Family.isEmpty() || Size < 4 || Size > 72)
            return Fail(QStringLiteral("字体 %1 的 family 或 size 无效").arg(It.key()));
        const QFont Font =
            TCellSheet::MakeFont(Family, Size, Spec.value(QStringLiteral("bold")).toBool());
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
    const QJsonArray Columns = ARoot.value(QStringLiteral("columns")).toArray();
    if (Columns.isEmpty() || Columns.size() > TCellSheet::MaxColumns)
        return Fail(QStringLiteral("columns 必须列出 1 到 %1 个列宽").arg(TCellSheet::MaxColumns));
    ASheet.SetColCount(static_cast<int>(Columns.size()));
    for (int Col = 1; Col <= ASheet.ColCount(); ++Col) {
        const QJsonValue Width = Columns.at(Col - 1);
        if (!IsWhole(Width, 0, 2000))
            return Fail(QStringLiteral("第 %1 列的列宽无效").arg(Col));
        ASheet.SetColWidth(Col, Width.toInt());
    }
    return true;
}

bool TCllReader::ReadRows(const QJsonObject& ARoot, TCellSheet& ASheet) {
    const QJsonValue Default = ARoot.value(QStringLiteral("rowHeight"));
    if (!Default.isUndefined()) {
        if (!IsWhole(Default, 1, 2000))
            return Fail(QStringLiteral("rowHeight 无效"));
        ASheet.SetDefaultRowHeight(Default.toInt());
    }
    const QJsonArray Rows = ARoot.value(QStringLiteral("rows")).toArray();
    if (Rows.size() > 10000)
        return Fail(QStringLiteral("rows 过多"));
    ASheet.SetRowCount(static_cast<int>(Rows.size()) + 1);
    for (int Row = 1; Row < ASheet.RowCount(); ++Row) {
        const QJsonValue Height = Rows.at(Row - 1);
        if (!IsWhole(Height, 0, 2000))
            return Fail(QStringLiteral("第 %1 行的行高无效").arg(Row));
        ASheet.SetRowHeight(Row, Height.toInt());
    }
    return true;
}

bool TCllReader::ReadCells(const QJsonObject& ARoot, TCellSheet& ASheet) {
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

bool TCllReader::ReadCell(const QJsonObject& AEntry, const QString& AWhere, TCellSheet& ASheet) {
    const QString RangeText = AEntry.value(QStringLiteral("range")).toString();
    const auto Range = TCellRange::Parse(RangeText);
    if (!Range || Range->LastCol > ASheet.ColCount() || Range->LastRow >= ASheet.RowCount())
        return Fail(QStringLiteral("%1 的区域 \"%2\" 无效或超出表格").arg(AWhere, RangeText));

    const QString FontName = AEntry.value(QStringLiteral("font")).toString(QStringLiteral("body"));
    if (!FFontNames.contains(FontName))
        return Fail(QStringLiteral("%1 使用了未定义的字体 %2").arg(AWhere, FontName));
    const QJsonValue Align = AEntry.value(QStringLiteral("align"));
    const QJsonValue Style = AEntry.value(QStringLiteral("style"));
    const QJsonValue Line = AEntry.value(QStringLiteral("line"));
    if ((!Align.isUndefined() && !IsWhole(Align, 0, 63)) ||
        (!Style.isUndefined() && !IsWhole(Style, 0, 2)) ||
        (!Line.isUndefined() && !IsWhole(Line, 0, 2)))
        return Fail(AWhere + QStringLiteral(" 的 align、style 或 line 无效"));
    int Mask = 0;
    const QJsonValue BorderValue = AEntry.value(QStringLiteral("border"));
    const bool Outline = BorderValue.toString() == QStringLiteral("outline");
    if (!Outline && !ReadBorders(BorderValue, AWhere, Mask))
        return false;

    const bool Merge = AEntry.value(QStringLiteral("merge")).toBool(!Range->IsSingle());
    if (Merge && !Range->IsSingle())
        ASheet.Join(*Range);
    const int LineStyle = Line.toInt(1);
    for (int Row = Range->FirstRow; Row <= Range->LastRow; ++Row) {
        for (int Col = Range->FirstCol; Col <= Range->LastCol; ++Col) {
            TCell* Cell = ASheet.WritableCell(Col, Row);
            Cell->Font = static_cast<std::int16_t>(FFontNames.value(FontName));
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
    } else if (AEntry.value(QStringLiteral("number")).isDouble()) {
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
    if (AValue.isUndefined() || AValue.toString() == QStringLiteral("none"))
        return true;
    if (AValue.toString() == QStringLiteral("all")) {
        AMask = BorderLeft | BorderTop | BorderRight | BorderBottom;
        return true;
    }
    if (!AValue.isArray())
        return Fail(AWhere + QStringLiteral(" 的 border 无效"));
    for (const QJsonValue Edge : AValue.toArray()) {
        if (!Names.contains(Edge.toString()))
            return Fail(AWhere + QStringLiteral(" 的 border 含未知边 ") + Edge.toString());
        AMask |= Names.value(Edge.toString());
    }
    return true;
}

bool TCllReader::ReadPage(const QJsonObject& ARoot, TCellSheet& ASheet) {
    const QJsonObject Page = ARoot.value(QStringLiteral("page")).toObject();
    TCellPageSetup& Setup = ASheet.Page();
    const QString Paper = Page.value(QStringLiteral("paper")).toString(QStringLiteral("A4"));
    static const QHash<QString, QPageSize::PageSizeId> Papers{
        {QStringLiteral("A4"), QPageSize::A4},
        {QStringLiteral("A3"), QPageSize::A3},
        {QStringLiteral("B5"), QPageSize::B5},
        {QStringLiteral("Letter"), QPageSize::Letter}};
    if (!Papers.contains(Paper))
        return Fail(QStringLiteral("不支持的纸张 %1").arg(Paper));
    Setup.Paper = Papers.value(Paper);
    const QString Orientation = Page.value(QStringLiteral("orientation")).toString();
    Setup.Orientation =
        Orientation == QStringLiteral("portrait") ? QPageLayout::Portrait : QPageLayout::Landscape;
    const QJsonArray Margins = Page.value(QStringLiteral("margins")).toArray();
    if (!Margins.isEmpty()) {
        if (Margins.size() != 4)
            return Fail(QStringLiteral("margins 需要左、上、右、下四个毫米数"));
        Setup.Margins = QMarginsF(Margins[0].toDouble(), Margins[1].toDouble(),
                                  Margins[2].toDouble(), Margins[3].toDouble());
    }
    Setup.FitToWidth = Page.value(QStringLiteral("fitToWidth")).toBool(true);
    const QString Repeat = Page.value(QStringLiteral("repeatRows")).toString();
    if (!Repeat.isEmpty()) {
        const QStringList Ends = Repeat.split(QLatin1Char(':'));
        const int First = Ends.value(0).toInt();
        const int Last = Ends.value(Ends.size() - 1).toInt();
        if (First < 1 || Last < First || Last >= ASheet.RowCount())
            return Fail(QStringLiteral("repeatRows \"%1\" 无效").arg(Repeat));
        Setup.RepeatFirstRow = First;
        Setup.RepeatLastRow = Last;
    }
    const QJsonArray Footer = Page.value(QStringLiteral("footer")).toArray();
    Setup.FooterLeft = Footer.at(0).toString();
    Setup.FooterCentre = Footer.at(1).toString();
    Setup.FooterRight = Footer.at(2).toString();
    return true;
}
