#include "TMarkedUnits.h"

#include "ReportLookups.h"
#include "db/SharedLookups.h"
#include "db/TARQuery.h"
#include "platform/data/TSqlDialect.h"

TMarkedUnits::TMarkedUnits() {
    // SQLite (codes are NOCASE in the schema), SQL Server and Access match
    // codes without regard to letter case; PostgreSQL and Oracle do not.
    const TSqlKind Kind = DefDialect().Kind();
    FCaseBlind = Kind != TSqlKind::PostgreSQL && Kind != TSqlKind::Oracle;
    IARQueryPtr Query;
    if (!OpenDefQuery(QStringLiteral("select eid from pubdept where specialaccount='是'"), Query))
        return;
    TARQuery& Rows = *Query->GetQuery();
    for (Rows.First(); !Rows.Eof(); Rows.Next())
        FUnits.insert(Key(Rows.Fields(0).AsString()));
}

QString TMarkedUnits::Key(const QString& AEid) const {
    if (!FCaseBlind)
        return AEid;
    // Only ASCII letters fold, as in the databases' own case-blind matching.
    QString Folded = AEid;
    for (QChar& C : Folded) {
        if (C >= QLatin1Char('a') && C <= QLatin1Char('z'))
            C = QChar(C.unicode() - 'a' + 'A');
    }
    return Folded;
}

bool TMarkedUnits::Contains(const QString& AEid) const {
    return FUnits.contains(Key(AEid));
}
