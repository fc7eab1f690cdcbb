#pragma once

class TCellDocument;

// An amount as a cell of a drawn table prints it: what a clerk reads on
// paper, from a grid of either kind (numbers for export, "#,###0.00" texts
// on screen).
class TPrintedCell {
public:
    // The amount the cell prints: a number cell its value, a text cell the
    // amount its text reads ("1,234.57", "-0.16"); 0 for an empty cell, a
    // text that is no amount and a cell hidden under another's merge.
    static double Amount(const TCellDocument& AGrid, int ACol, int ARow);
    // Whether the cell prints the former-channel note instead of an amount,
    // or nothing at all because a merge covers it.
    static bool Covered(const TCellDocument& AGrid, int ACol, int ARow);
    // What a cell into which AAmount is written prints: the amount to six
    // decimals as a number, to the cent of its text otherwise.
    static double Shown(double AAmount, bool ANumbersAsValues);
};
