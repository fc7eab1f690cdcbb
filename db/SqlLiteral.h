#pragma once

#include <QString>

// AText as an SQL string literal: in single quotes, with every single quote
// inside doubled. Ordinary values come out as they would have been written
// by hand; a value holding a quote stays one literal instead of ending it.
// Every literal built from data (unit codes, names, node ids) goes through
// this.
QString QuotedSqlString(const QString& AText);
