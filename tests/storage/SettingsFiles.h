#pragma once

#include "support/TempDir.h"

#include <QByteArray>
#include <QString>

// Points the per-user configuration folder at a temporary folder for the
// life of the object, so registry tests never touch the real home.
class TempConfigHome {
public:
    TempConfigHome();
    ~TempConfigHome();
    QString Path() const { return FDir.Path(); }

private:
    TempDir FDir;
    QByteArray FOld;
    bool FHadOld;
};
