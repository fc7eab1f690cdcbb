#pragma once

#include "IARQuery.h"

#include <QString>

class TAdoConn;
class TARQuery;

// Creates a query on AConn, opens it on ASql (which must return rows) and
// hands it out through AQuery, which then holds the only reference. AQuery
// is cleared first; when opening fails the error goes to the caller, the
// query is freed and AQuery stays empty.
void OpenQuery(TAdoConn* AConn, const QString& ASql, IARQueryPtr& AQuery);

// Takes and drops one reference at once: frees AQuery when nobody holds a
// reference to it, and does nothing else. A null AQuery is ignored.
void ReleaseQuery(TARQuery* AQuery);
