#pragma once

#include <QString>
#include <QStringList>

// The indicator types (0 控制数, 1 预算数, 2 临时指标) and the sub-types of
// 预算数 (0 当年预算, 1 结余预算, 2 追加预算) as the lists, messages and
// printed pages name them; empty for a number outside them.
QString IndicatorTypeName(int AType);
QString SubTypeName(int ASubType);
QStringList SubTypeNames();
