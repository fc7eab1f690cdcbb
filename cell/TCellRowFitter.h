#pragma once

#include "TCellSheet.h"

#include <QHash>
#include <QTextOption>
#include <memory>
#include <vector>

// Works out how tall a row must be for its texts, wrapped in their cells'
// (merged) widths. Most texts fit on one line, and a line's width is far
// cheaper to find than a wrapped layout, so each text is first checked on one
// line, using per-character advances for a quick answer; only texts that do
// not fit are laid out wrapped, exactly as the cell paints them (at word
// boundaries, or anywhere inside a word too long for the cell). Wrapped
// heights are cached by text, font and width, since subject and unit names
// repeat throughout a report. A code or a number is never wrapped (IsCode):
// it keeps one line, drawn smaller when its cell is too narrow.
class TCellRowFitter {
public:
    static constexpr int PaddingX = 3; // on each side of a cell's text
    static constexpr int PaddingY = 2;

    explicit TCellRowFitter(const TCellSheet& ASheet);
    ~TCellRowFitter();

    int FitRowHeight(int ARow);
    // Height of a text laid out in AWidth pixels, without padding.
    int TextHeight(const QString& AText, const QFont& AFont, int AWidth);
    // The height and the width of a text on one line; the width is negative
    // for a text that cannot be measured character by character.
    int LineHeight(const QFont& AFont);
    double LineWidth(const QString& AText, const QFont& AFont);
    // Drops what was measured (fonts change when a template is loaded).
    void Reset();

    // How a cell lays out its text, for measuring and painting alike.
    static QTextOption TextOption(Qt::Alignment AAlignment);
    // The text as laid out: line breaks become line separators.
    static QString LayoutText(const QString& AText);
    // A code or a number: ASCII letters and digits and the signs codes and
    // amounts use (. , - _ / + % * # ( )), a digit among them, no blank.
    // Broken over two lines it would read as two codes, so a cell keeps it
    // on one line.
    static bool IsCode(const QString& AText);

private:
    struct TFontMeasure;
    struct TKey {
        QString Text;
        int Font;
        int Width;
        bool operator==(const TKey& AOther) const {
            return Font == AOther.Font && Width == AOther.Width && Text == AOther.Text;
        }
    };
    friend size_t qHash(const TKey& AKey, size_t ASeed) {
        return qHashMulti(ASeed, AKey.Text, AKey.Font, AKey.Width);
    }

    int CellHeight(int ACol, int ARow);
    int Height(const QString& AText, int AMeasure, int AWidth);
    int CellMeasure(const TCell& ACell);
    void MeasureLines(TFontMeasure& AMeasure);
    int MeasureIndex(const QFont& AFont);

    const TCellSheet& FSheet;
    std::vector<std::unique_ptr<TFontMeasure>> FMeasures;
    std::vector<int> FCellMeasures; // font index * 2 + bold -> measure, -1 unknown
    QHash<TKey, int> FCache;
    struct TLayoutDevice;
    std::unique_ptr<TLayoutDevice> FDevice; // made on first wrapped text
};
