#include "TSqlServerTexts.h"

#include <QIODevice>
#include <QJsonDocument>
#include <QJsonObject>

void TSqlServerTexts::Add(const QString& ASelection, const QString& AText) {
    ++FSelections;
    if (FIndex.contains(AText))
        return;
    FIndex.insert(AText, int(FEntries.size()));
    FEntries.append({ASelection, AText});
}

bool TSqlServerTexts::WriteJsonLines(QIODevice& AOut) const {
    for (const TEntry& Entry : FEntries) {
        const QJsonObject Line{{QStringLiteral("selection"), Entry.Selection},
                               {QStringLiteral("text"), Entry.Text}};
        const QByteArray Bytes = QJsonDocument(Line).toJson(QJsonDocument::Compact) + '\n';
        if (AOut.write(Bytes) != Bytes.size())
            return false;
    }
    return true;
}
