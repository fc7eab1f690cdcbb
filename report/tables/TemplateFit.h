#pragma once

#include <QString>

class TCellDocument;

// The three tables a template can be made for.
enum class TTableKind { Summary, Detail, StateCapital };

// The table kind a fund nature's detail table is (empty code: the summary).
TTableKind TableKindOf(const QString& AFundCode);

// Why the template loaded into AGrid cannot hold its table, or empty text.
// The layouts write below row 7 and into a fixed number of columns (12 for
// the summary, 14 for a detail table, 16 for state capital), so a template
// of another shape, or the summary's and a detail table's swapped, would
// put total and detail rows on each other.
QString TemplateMisfit(const TCellDocument& AGrid, TTableKind AKind);

// Loads the template at APath into AGrid and checks its shape: empty text,
// or why the table cannot be drawn on it (naming the template).
QString LoadTableTemplate(TCellDocument& AGrid, const QString& APath, TTableKind AKind);
