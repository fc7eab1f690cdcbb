#pragma once

#include "TCellSheet.h"

#include <QHash>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>

// Reads a .cll report template (JSON, described in docs/cll-format.md) into a
// sheet. The sheet is only complete when Read returns Ok; callers keep their
// own grid until then. Every value is checked for its type and range before
// it is used, and a refusal names the field; loading time is bounded by the
// file's size and a cap on the cells its entries cover.
class TCllReader {
public:
    enum TResult : int { Ok = 0, FileMissing = 1, FileUnreadable = 2, NotJson = 3, BadContent = 4 };

    TResult Read(const QString& AFileName, TCellSheet& ASheet);
    TResult ReadBytes(const QByteArray& AData, TCellSheet& ASheet);
    const QString& Error() const { return FError; }

private:
    TResult ReadFile(const QString& AFileName, QByteArray& AData);
    bool Fail(const QString& AMessage);
    bool WholeField(const QJsonValue& AValue, const QString& AField, int AMin, int AMax);
    // True when the key is absent or holds a value of that type.
    bool OptionalType(const QJsonObject& AObject, const char* AKey, QJsonValue::Type AType,
                      const QString& AField);
    bool ReadHeader(const QJsonObject& ARoot);
    bool ReadFonts(const QJsonObject& ARoot, TCellSheet& ASheet);
    bool ReadColumns(const QJsonObject& ARoot, TCellSheet& ASheet);
    bool ReadRows(const QJsonObject& ARoot, TCellSheet& ASheet);
    bool ReadCells(const QJsonObject& ARoot, TCellSheet& ASheet);
    bool CheckCellTypes(const QJsonObject& AEntry, const QString& AWhere);
    bool ReadCell(const QJsonObject& AEntry, const QString& AWhere, TCellSheet& ASheet);
    bool ReadBorders(const QJsonValue& AValue, const QString& AWhere, int& AMask);
    bool ReadPage(const QJsonObject& ARoot, TCellSheet& ASheet);
    bool ReadMargins(const QJsonObject& APage, TCellPageSetup& ASetup);
    bool ReadRepeatRows(const QJsonObject& APage, TCellSheet& ASheet);
    bool ReadFooter(const QJsonObject& APage, TCellPageSetup& ASetup);

    QString FError;
    QHash<QString, int> FFontNames;
    qint64 FCoveredCells = 0;
};
