#pragma once

#include "HostContextOptions.h"

#include <QString>
#include <QStringList>

// What the reference host is told on its command line or in its config file:
// the host context, and the host's own settings.
struct HostOptions : THostContextOptions {
    QString PlugInPath;
    QString SettingsIni;
    QString SettingsRegistryKey;
    int StorageKind = 0;
    int RegRoot = 0;
    unsigned PlugInId = 1;
    bool OpenAtStart = false;
    QString ScreenshotPath;
    int QuitAfterMs = 0;
};

// Parses the arguments (and the config file they name) and checks every
// value: numbers in their range, the config file a regular file. Returns an
// error text instead, naming the option, when they are not usable. Options
// are written --name value, --name=value or with a single dash.
struct HostOptionsResult {
    HostOptions Options;
    QString Error;
    bool HelpShown = false;
};

HostOptionsResult ParseHostOptions(const QStringList& AArguments);

// What --help shows: every option with what it is for, in Chinese.
QString HostHelpText();

// Takes the host's own options (with their values) out of the program's
// arguments before QApplication sees them, which would otherwise consume
// -plugin/--plugin as its own and load the default plug-in silently. What is
// left (Qt's options, anything unknown) stays in AArgv for QApplication; the
// taken arguments go to ParseHostOptions together with what Qt leaves over.
QStringList TakeHostArguments(int& AArgc, char** AArgv);
