#pragma once

#include <QHash>
#include <QList>
#include <QString>

class TADOQuery;

// The rows of an open query over a self-referencing table, grouped by their
// parent id as text, each group in the query's order: what the child query
// of every node would return, from one read of the whole table. Ids match
// as exact text.
class TRowsByParent {
public:
    // An empty APidField groups nothing: only All() is of use then.
    TRowsByParent(TADOQuery& AQuery, const QString& APidField);

    // Row numbers (1-based) of the children of the node with id AId.
    QList<int> Children(const QString& AId) const { return FGroups.value(AId); }
    // Every row's number, in order.
    QList<int> All() const;

private:
    QHash<QString, QList<int>> FGroups;
    int FCount = 0;
};
