#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// What the reference host is told on its command line or in its config file.
struct HostOptions {
    QString PlugInPath;
    QString ConnectionString;
    int DataYear = 0;
    QString UnitCode;
    int UnitClass = 0;
    QString DeptModeFlag;
    int DefBTypeIndex = 1;
    QString TemplateFolder;
    QString SettingsIni;
    QString SettingsRegistryKey;
    int StorageKind = 0;
    int RegRoot = 0;
    unsigned PlugInId = 1;
    bool OpenAtStart = false;
    QString ScreenshotPath;
    int QuitAfterMs = 0;
};

// Parses the arguments (and the config file they name). Returns an error
// text instead when they are not usable.
struct HostOptionsResult {
    HostOptions Options;
    QString Error;
    bool HelpShown = false;
};

HostOptionsResult ParseHostOptions(const QStringList& AArguments);
