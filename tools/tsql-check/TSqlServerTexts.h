#pragma once

#include <QHash>
#include <QList>
#include <QString>

class QIODevice;

// The SQL Server texts of a run of the writer, each once, with the first
// selection that made it; the selections that made a text already held
// are counted.
class TSqlServerTexts {
public:
    struct TEntry {
        QString Selection;
        QString Text;
    };

    void Add(const QString& ASelection, const QString& AText);

    const QList<TEntry>& Entries() const { return FEntries; }
    int Selections() const { return FSelections; }

    // One JSON object a line, {"selection": ..., "text": ...}, in UTF-8.
    bool WriteJsonLines(QIODevice& AOut) const;

private:
    QList<TEntry> FEntries;
    QHash<QString, int> FIndex;
    int FSelections = 0;
};
