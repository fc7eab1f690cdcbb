#pragma once

class TSqlServerTexts;

// Every SQL Server text the report can send, built by the report's own
// query builders with the SQL Server dialect over the selections a clerk
// can reach: each indicator type and sub-type, units from the top of the
// tree to a unit without sub-units (codes that hold quotes or wildcards
// included), each fund nature with and without a code, summary and detail,
// every kind of level range (from 0, from 1, a unit's own level, three and
// more levels, the hundred-level cap), the grand total on and off,
// department mode on and off; the audit's and the worksheet check's
// counting queries; the lookups, the unit tree, the fund-nature lists, the
// special-account queries and the batch tool's probes.
void AddSqlServerTexts(TSqlServerTexts& ATexts);
