#pragma once

#include <QString>
#include <cstdint>

// One cell of the report grid: empty, a text or a number, with its look.
//
// Alignment codes add a horizontal and a vertical part: 1 left, 2 right,
// 4 centre; 8 top, 16 bottom, 32 vertical centre. 0 means the default: texts
// left, numbers right, both vertically centred.
//
// Style codes: 0 ordinary, 1 heading (bold), 2 total row (bold on a light
// grey shade). Unknown codes look ordinary.
//
// Edges: 0 left, 1 top, 2 right, 3 bottom. Line 0 removes an edge, 1 draws a
// thin line, 2 a medium line.
struct TCell {
    enum class TKind : std::uint8_t { Empty, Text, Number };

    enum : int { AlignLeft = 1, AlignRight = 2, AlignCentre = 4 };
    enum : int { AlignTop = 8, AlignBottom = 16, AlignMiddle = 32 };
    enum : int { StyleOrdinary = 0, StyleHeading = 1, StyleTotal = 2 };
    enum : int { EdgeLeft = 0, EdgeTop = 1, EdgeRight = 2, EdgeBottom = 3 };

    QString Text;
    double Number = 0.0;
    TKind Kind = TKind::Empty;
    std::uint8_t Align = 0;
    std::uint8_t Style = StyleOrdinary;
    std::uint8_t Borders = 0; // two bits per edge, edge 0 in the lowest bits
    std::int16_t Font = 0;    // index into the sheet's font table

    bool IsEmpty() const { return Kind == TKind::Empty; }
    int Edge(int AEdge) const { return (Borders >> (AEdge * 2)) & 3; }
    void SetEdge(int AEdge, int ALine);
    bool HasAnyBorder() const { return Borders != 0; }
    bool IsBold() const { return Style == StyleHeading || Style == StyleTotal; }
    bool IsShaded() const { return Style == StyleTotal; }

    // What the grid shows: the text, or the number as #,##0.00.
    QString DisplayText() const;
    static QString FormatNumber(double ANumber);

    // The horizontal and vertical part of Align with the defaults filled in.
    int HorizontalAlign() const;
    int VerticalAlign() const;
};
