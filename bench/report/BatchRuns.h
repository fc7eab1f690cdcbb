#pragma once

#include <QString>

// The batch tool as offices run it, against the cost of its queries: the
// whole batch of the province's largest department, and --each-unit of the
// same department. Each run records its statements (VARNHOLT_SQL_LOG); they
// are then run again one by one, alone, and their times summed: the
// baseline the run's wall time is held against. Needs the host context set.
void BenchBatchRuns(const QString& AConnection, const QString& AOutFolder);
