#pragma once

#include "platform/data/TADOConnection.h"

#include <QString>
#include <QStringList>
#include <memory>

struct sqlite3;
class QTreeWidgetItem;
class TempDir;

// A SQLite file in ADir made by running AStatements on a writable
// connection of the test's own.
QString MakeSqliteFile(const TempDir& ADir, const QString& AName, const QStringList& AStatements);

// An open read-only connection to AFile, as the plug-in would have it.
std::unique_ptr<TADOConnection> OpenConnection(const QString& AFile);

// Records every statement the database engine runs on AConnection from now
// on: what a tree really issued, not what it meant to.
class TSqlTrace {
public:
    explicit TSqlTrace(const TADOConnection& AConnection);
    ~TSqlTrace();
    TSqlTrace(const TSqlTrace&) = delete;
    TSqlTrace& operator=(const TSqlTrace&) = delete;

    QStringList Statements;

private:
    sqlite3* FHandle = nullptr;
};

// Lets every worker query finish and free itself, processing the events
// that hand its rows over. False when they did not within ATimeoutMs.
bool WaitForQueryThreads(int ATimeoutMs = 60000);

// The subtree under ANode as "id{child,child}", placeholders as "【】".
QString Shape(QTreeWidgetItem* ANode);
