#pragma once

#include <QString>

// The document properties a printed PDF carries: its title (the table's as
// printed), what it shows (the selection it was made for) and the program
// that made it. Empty texts are left out.
struct TCellPdfInfo {
    QString Title;
    QString Subject;
    QString Creator;
};
