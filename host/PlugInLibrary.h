#pragma once

#include "hostcontext/PlugInHostSdk.h"

#include <QLibrary>
#include <QString>

// The loaded plug-in module and its one entry.
class PlugInLibrary {
public:
    explicit PlugInLibrary(const QString& APath);
    ~PlugInLibrary();

    // Loads the module; on failure ErrorText says why.
    bool Load();
    bool IsLoaded() const { return FEntry != nullptr; }
    QString ErrorText() const { return FError; }
    QString Path() const { return FLibrary.fileName(); }

    std::int32_t ShowPlugInWindow(const QString& AClassName, TPlugInHostRecord* AHost) const;

private:
    QLibrary FLibrary;
    TShowPlugInWindow FEntry = nullptr;
    QString FError;
};
