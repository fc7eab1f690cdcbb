#include "TMarkedUnits.h"

#include "ReportLookups.h"
#include "db/SharedLookups.h"
#include "db/TARQuery.h"
#include "platform/data/TSqlDialect.h"

TMarkedUnits::TMarkedUnits(TSqlKind AKind) {
    // SQLite (codes are NOCASE in the schema), SQL Server and Access match
    // codes without regard to letter case; PostgreSQL and Oracle do not.
    // SQL Server also ignores trailing blanks when it compares texts, so a
    // code of a fixed-width (CHAR/NCHAR) column, padded to its width, still
    // equals the code an adjustment holds.
    FCaseBlind = AKind != TSqlKind::PostgreSQL && AKind != TSqlKind::Oracle;
    FBlankBlind = AKind == TSqlKind::SqlServer;
}

TMarkedUnits::TMarkedUnits()
    : TMarkedUnits(DefDialect().Kind()) {
    IARQueryPtr Query;
    if (!OpenDefQuery(Sql(), Query))
        return;
    TARQuery& Rows = *Query->GetQuery();
    for (Rows.First(); !Rows.Eof(); Rows.Next())
        FUnits.insert(Key(Rows.Fields(0).AsString()));
}

QString TMarkedUnits::Sql() {
    return QStringLiteral("select eid from pubdept where specialaccount='是'");
}

TMarkedUnits::TMarkedUnits(const QStringList& ACodes, TSqlKind AKind)
    : TMarkedUnits(AKind) {
    for (const QString& Code : ACodes)
        FUnits.insert(Key(Code));
}

QString TMarkedUnits::Key(const QString& AEid) const {
    QString Folded = AEid;
    if (FBlankBlind) {
        while (Folded.endsWith(QLatin1Char(' ')))
            Folded.chop(1);
    }
    if (!FCaseBlind)
        return Folded;
    // Only ASCII letters fold, as in the databases' own case-blind matching.
    for (QChar& C : Folded) {
        if (C >= QLatin1Char('a') && C <= QLatin1Char('z'))
            C = QChar(C.unicode() - 'a' + 'A');
    }
    return Folded;
}

bool TMarkedUnits::Contains(const QString& AEid) const {
    return FUnits.contains(Key(AEid));
}
