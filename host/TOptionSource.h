#pragma once

#include <QSettings>
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
class TOptionSource {
public:
    TOptionSource(const QCommandLineParser& AParser, const QString& AConfigFile);

    QString Text(const char* AName, const QString& ADefault = QString()) const;
    // A whole number from AMin to AMax into AValue (ADefault when not
    // given); false, with the reason naming the option, otherwise.
    bool Number(const char* AName, int ADefault, int AMin, int AMax, int& AValue,
                QString& AError) const;

private:
    const QCommandLineParser& FParser;
    std::optional<QSettings> FConfig;
};

// Parses the arguments: false when they cannot be used (AError says why) or
// help was asked for (AHelpShown, and AError holds the help text).
bool ParseArguments(QCommandLineParser& AParser, const QStringList& AArguments, QString& AError,
                    bool& AHelpShown);

// Adds the options to the parser.
void AddOptions(QCommandLineParser& AParser, const TOptionSpec* ASpecs, int ACount);

// Why a config file cannot be read, or empty text: it must be a regular
// file (QSettings reads a folder as empty without a word and would block on
// a FIFO).
QString CheckConfigFile(const QString& AFileName);
