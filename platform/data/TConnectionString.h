#pragma once

#include "platform/PlatformExport.h"

#include <QList>
#include <QPair>
#include <QString>

// An ADO-style connection string: "Key=Value;Key=Value". Keys compare without
// regard to letter case and keep their first spelling; a value may be quoted
// with double or single quotes (a doubled quote inside stands for one) so it
// can hold ';' or '='. Blanks around keys and values are dropped.
class PLATFORM_EXPORT TConnectionString {
public:
    TConnectionString() = default;
    explicit TConnectionString(const QString& AText);

    // The value of the last occurrence of AKey (ADO lets later ones win), or
    // empty text.
    QString Value(const QString& AKey) const;
    // The first non-empty value among several spellings of one setting.
    QString FirstValue(std::initializer_list<const char*> AKeys) const;
    bool Has(const QString& AKey) const;
    const QList<QPair<QString, QString>>& Pairs() const { return FPairs; }

    // AText with the value of every password setting (Password=..., PWD=...,
    // quoted, braced or plain up to the next ';') replaced by "***", for
    // error messages in which a driver repeats its settings. Only those
    // values go: blanking every occurrence of the password's text would
    // mangle the message and show where the password's letters are.
    static QString WithoutPasswords(const QString& AText);

private:
    QList<QPair<QString, QString>> FPairs;
};
