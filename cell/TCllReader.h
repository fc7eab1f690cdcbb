#pragma once

#include "TCellSheet.h"

#include <QHash>
#include <QJsonObject>
#include <QString>

// Reads a .cll report template (JSON, described in docs/cll-format.md) into a
// sheet. The sheet is only complete when Read returns Ok; callers keep their
// own grid until then.
class TCllReader {
public:
    enum TResult : int { Ok = 0, FileMissing = 1, FileUnreadable = 2, NotJson = 3, BadContent = 4 };

    TResult Read(const QString& AFileName, TCellSheet& ASheet);
    TResult ReadBytes(const QByteArray& AData, TCellSheet& ASheet);
    const QString& Error() const { return FError; }

private:
    bool Fail(const QString& AMessage);
    bool ReadHeader(const QJsonObject& ARoot);
    bool ReadFonts(const QJsonObject& ARoot, TCellSheet& ASheet);
    bool ReadColumns(const QJsonObject& ARoot, TCellSheet& ASheet);
    bool ReadRows(const QJsonObject& ARoot, TCellSheet& ASheet);
    bool ReadCells(const QJsonObject& ARoot, TCellSheet& ASheet);
    bool ReadCell(const QJsonObject& AEntry, const QString& AWhere, TCellSheet& ASheet);
    bool ReadBorders(const QJsonValue& AValue, const QString& AWhere, int& AMask);
    bool ReadPage(const QJsonObject& ARoot, TCellSheet& ASheet);

    QString FError;
    QHash<QString, int> FFontNames;
};
