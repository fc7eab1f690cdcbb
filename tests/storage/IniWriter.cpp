// A second process for the settings tests: writes ACount values into one
// section of an INI file, each through its own store object, as separate
// programs sharing a settings file do.
//
//   ini_writer <file> <key prefix> <count>

#include "platform/settings/TIniFile.h"

#include <QString>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 4)
        return 2;
    const QString File = QString::fromLocal8Bit(argv[1]);
    const QString Prefix = QString::fromLocal8Bit(argv[2]);
    const int Count = std::atoi(argv[3]);
    try {
        for (int Index = 0; Index < Count; ++Index)
            TIniFile(File).WriteString(QStringLiteral("shared"), Prefix + QString::number(Index),
                                       QString::number(Index));
    } catch (const Exception& E) {
        std::fprintf(stderr, "ini_writer: %s\n", E.what());
        return 1;
    }
    return 0;
}
