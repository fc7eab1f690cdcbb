#pragma once

#include "platform/PlatformExport.h"

#include <QString>
#include <QVariant>

// One field of a query's current row, read as text or number.
class PLATFORM_EXPORT TField {
public:
    TField() = default;
    TField(QString AFieldName, QVariant AValue);

    const QString& FieldName() const { return FFieldName; }
    const QVariant& Value() const { return FValue; }
    bool IsNull() const { return FValue.isNull(); }
    // Null reads as empty text.
    QString AsString() const;
    // Null reads as 0; text that is no number raises EConvertError.
    double AsFloat() const;
    int AsInteger() const;

private:
    QString FFieldName;
    QVariant FValue;
};
