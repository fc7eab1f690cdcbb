#include "TField.h"

#include "platform/Exception.h"

#include <cmath>

TField::TField(QString AFieldName, QVariant AValue)
    : FFieldName(std::move(AFieldName))
    , FValue(std::move(AValue)) {}

QString TField::AsString() const {
    return FValue.isNull() ? QString() : FValue.toString();
}

double TField::AsFloat() const {
    if (FValue.isNull())
        return 0.0;
    bool Ok = false;
    const double Result = FValue.toDouble(&Ok);
    if (!Ok) {
        const QString Text = FValue.toString().trimmed();
        if (Text.isEmpty())
            return 0.0;
        throw EConvertError(QStringLiteral("字段 %2 的值“%1”不是数字").arg(Text, FFieldName));
    }
    return Result;
}

int TField::AsInteger() const {
    if (FValue.isNull())
        return 0;
    bool Ok = false;
    const qlonglong Whole = FValue.toLongLong(&Ok);
    if (Ok)
        return static_cast<int>(Whole);
    const double Number = AsFloat();
    return static_cast<int>(std::trunc(Number));
}
