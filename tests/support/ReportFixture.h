#pragma once

#include "report/tables/TReportContext.h"
#include "support/DbFixture.h"
#include "support/TempDir.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

class TCellDocument;

// A budget database made row by row for one test, in the schema the
// reports read. Units take their level and parent from their code.
class TBudgetRows {
public:
    explicit TBudgetRows(const QString& AFile);

    void Unit(const QString& AEid, const QString& AName, bool ALeaf = true, bool ASpecial = false);
    // A fund nature beside the four every database has.
    void Fund(const QString& AMid, const QString& AName);
    // One adjustment of AYuan, by default an approved budget (type 1) of
    // this year's; a unit has one indicator per fund nature and subject.
    struct TAdj {
        QString Eid;
        QString Mid;
        QString Bid;
        QString Ipid;
        QString Pid;
        double Yuan = 0;
        QString BType = QStringLiteral("1");
        QString Bkid = QStringLiteral("21");
        QString BTypeChild = QStringLiteral("1");
        int Year = 2024;
    };
    void Adj(const TAdj& AAdj);

private:
    TTestSession FSession;
    QHash<QString, QString> FIndicators;
};

// A test with a budget database of its own, made row by row.
class TBudgetTest : public ::testing::Test {
protected:
    TempDir Dir;
    QString File = Dir.File(QStringLiteral("budget.db"));
    TBudgetRows Rows{File};
};

// The host for tables on a test database: year 2024, department class 1,
// logged in as AUnit.
class TReportScope : public THostScope {
public:
    TReportScope(const QString& ADbFile, const QString& AUnit, bool ADepartmentMode = false);

    // The context the window would make for the selected prefix and name,
    // for the approved budget of this year.
    TReportContext Context(const QString& APrefix, const QString& AUnitName,
                           const QString& AFundCode = QString()) const;
};

// The display text of columns 1..ALastCol of a grid row.
QStringList RowTexts(const TCellDocument& AGrid, int ARow, int ALastCol);
