#include "TCellFonts.h"

#include "TCellSheet.h"

TCellFonts::TCellFonts(const TCellSheet& ASheet) {
    for (int Index = 0; Index < ASheet.FontCount(); ++Index) {
        // Setting a property detaches the copy from the sheet's font.
        QFont Plain = ASheet.Font(Index);
        Plain.setBold(Plain.bold());
        QFont Bold = ASheet.Font(Index);
        Bold.setBold(true);
        FPlain.push_back(Plain);
        FBold.push_back(Bold);
    }
}

const QFont& TCellFonts::Font(int AIndex) const {
    return AIndex >= 0 && AIndex < int(FPlain.size()) ? FPlain[size_t(AIndex)] : FPlain.front();
}

const QFont& TCellFonts::CellFont(const TCell& ACell) const {
    const int Index = ACell.Font >= 0 && ACell.Font < int(FPlain.size()) ? ACell.Font : 0;
    return ACell.IsBold() ? FBold[size_t(Index)] : FPlain[size_t(Index)];
}
