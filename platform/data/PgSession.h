#pragma once

#include <QString>

class QSqlDatabase;

// The libpq session behind a connection on Qt's PostgreSQL driver, for what
// Qt SQL does not offer. Each function takes a database opened with QPSQL;
// on any other it answers as for a session that is not there.

// The server's verdict on a text parsed, and not run, as the unnamed
// prepared statement (the extended query protocol): the server parses the
// text as it would run it and refuses more than one statement.
struct TPgParseVerdict {
    // One statement, parsed.
    bool Parsed = false;
    // Refused because the text holds more than one statement.
    bool Several = false;
    // The server's message when the text was not parsed.
    QString Error;
};
TPgParseVerdict PgParse(const QSqlDatabase& ADb, const QString& ASql);

// Whether the server has ended the session (a restart, an administrator's
// pg_terminate_backend) or the connection to it broke.
bool PgSessionLost(const QSqlDatabase& ADb);

// Whether the session's user is a superuser, as the server reported when
// the session began (no statement runs).
bool PgSessionIsSuperuser(const QSqlDatabase& ADb);
