#pragma once

#include <QString>

// While one lives, the failures of the shared query operation on its
// thread are recorded in it. The lookups of the report count a failed query
// as an empty result, as the window's lists expect; a program that must not
// deliver a table built on such a result (the batch tool) holds a watch
// over the work and asks it afterwards. Watches nest: the inner one sees
// the failures of its own scope and passes them on to the outer one.
class TQueryFailureWatch {
public:
    TQueryFailureWatch();
    ~TQueryFailureWatch();
    TQueryFailureWatch(const TQueryFailureWatch&) = delete;
    TQueryFailureWatch& operator=(const TQueryFailureWatch&) = delete;

    bool Failed() const { return FCount > 0; }
    int Count() const { return FCount; }
    // The database's reason for the first failure, and its statement.
    const QString& FirstError() const { return FFirstError; }
    const QString& FirstSql() const { return FFirstSql; }

    // Called by the shared query operation when a statement failed.
    static void Record(const QString& ASql, const QString& AError);

private:
    void Add(const QString& ASql, const QString& AError);

    TQueryFailureWatch* FOuter;
    int FCount = 0;
    QString FFirstError;
    QString FFirstSql;
};
