#pragma once

#include "TOptionSource.h"

#include <QString>

class QCommandLineParser;

// What every program standing in for the host is told to make the host
// context: the connection, the budget year, the logged-in unit, the
// indicator type and the template folder. The reference host and the batch
// tool take these options alike, on the command line or in the [host]
// section of the file --config names.
struct THostContextOptions {
    QString ConnectionString;
    int DataYear = 0;
    QString UnitCode;
    int UnitClass = 1;
    QString DeptModeFlag;
    int DefBTypeIndex = 1;
    QString TemplateFolder;
};

// The options above and --config.
const TOptionSpec* HostContextOptionSpecs(int& ACount);
void AddHostContextOptions(QCommandLineParser& AParser);
// Reads and checks them; false with the reason otherwise. Defaults: this
// year, unit 101001 of class 1 in department mode, 预算数, the templates
// beside the program.
bool ReadHostContextOptions(const TOptionSource& ASource, THostContextOptions& AOptions,
                            QString& AError);
