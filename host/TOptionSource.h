#pragma once

#include <QHash>
#include <QString>
#include <optional>

class QCommandLineParser;

// One option as a program offers it: its name (also its key in the [host]
// section of a config file), what it is for and the name of its value.
struct TOptionSpec {
    const char* Name;
    const char* Description;
    const char* ValueName;
};

// The value of an option: the command line first, then the [host] section
// of the config file, then the default.
//
// The config file is read once, here, as the settings store reads INI files
// (platform/settings/TIniFile.h): only a regular file of up to 16 MB, a
// value is the rest of its line less surrounding blanks and one pair of
// matching quotes, so "connection=Provider=SQLite;Data Source=a.db" keeps
// everything after the first "=", and names match without regard to letter
// case.
class TOptionSource {
public:
    TOptionSource(const QCommandLineParser& AParser, const QString& AConfigFile);

    // Why the config file could not be read, or empty text; the file's
    // values count as absent then.
    const QString& ConfigError() const { return FConfigError; }

    QString Text(const char* AName, const QString& ADefault = QString()) const;
    // A whole number from AMin to AMax into AValue (ADefault when not
    // given); false, with the reason naming the option, otherwise.
    bool Number(const char* AName, int ADefault, int AMin, int AMax, int& AValue,
                QString& AError) const;

private:
    const QCommandLineParser& FParser;
    // The [host] section by case-folded name.
    QHash<QString, QString> FConfig;
    QString FConfigError;
};

// Parses the arguments: false when they cannot be used (AError says why) or
// help was asked for (AHelpShown, and AError holds the help text).
bool ParseArguments(QCommandLineParser& AParser, const QStringList& AArguments, QString& AError,
                    bool& AHelpShown);

// Adds the options to the parser.
void AddOptions(QCommandLineParser& AParser, const TOptionSpec* ASpecs, int ACount);

// The options for a help text, one a line: "  --name <value>" and what the
// option is for, the descriptions lined up in one column (a Chinese
// character counts two columns, as a terminal shows it).
QString OptionHelpLines(const TOptionSpec* ASpecs, int ACount);

// Why a config file cannot be read, or empty text: it must be a regular
// file of up to 16 MB (anything larger is no config file, and reading it
// whole could exhaust the memory).
QString CheckConfigFile(const QString& AFileName);
