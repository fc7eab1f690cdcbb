#pragma once

class QSqlQuery;

// Whether the statement prepared in AQuery (on Qt's SQLite driver) would
// change any database: SQLite's own verdict on the compiled statement.
bool SqliteStatementWrites(const QSqlQuery& AQuery);
