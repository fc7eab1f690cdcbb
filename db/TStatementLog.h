#pragma once

#include <QString>

// A diagnostic record of the statements the report runs: with the
// environment variable VARNHOLT_SQL_LOG naming a file, every statement the
// shared query operation opens is appended to it, one line each: the time
// it took to open and read in milliseconds, a tab, the statement. The
// benchmark replays them to weigh a run against the cost of its queries.
// Without the variable nothing is recorded.
class TStatementLog {
public:
    static void Record(const QString& ASql, double AMilliseconds);
};
