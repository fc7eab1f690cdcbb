#pragma once

class QSqlDatabase;
class QSqlQuery;

// Whether the statement prepared in AQuery (on Qt's SQLite driver) would
// change any database: SQLite's own verdict on the compiled statement.
bool SqliteStatementWrites(const QSqlQuery& AQuery);

// Makes SQLite refuse, while it compiles a statement on ADb (opened with
// Qt's SQLite driver), what would change the connection for the statements
// after it: a PRAGMA given a value or an argument (SQLite applies many
// settings as it compiles them; a PRAGMA's table form is refused alike),
// attaching or detaching a database, beginning or ending a transaction or
// a savepoint. A PRAGMA read without one (PRAGMA user_version) stays
// allowed. False when ADb has no SQLite connection behind it.
bool SqliteRefuseConnectionChanges(const QSqlDatabase& ADb);
