#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// The fixed material the demo province is made of: departments, budget
// subjects with the fund natures they are paid from, and names.

// What kind of work a department does; it decides which fund natures and
// subjects its units draw on and what its units are called.
enum class TDeptKind {
    General,
    Education,
    Health,
    Construction,
    Welfare,
    StateAssets,
    Transport,
    Agriculture,
    Security
};

struct TDemoDepartment {
    const char* Name;
    TDeptKind Kind;
};

struct TDemoSubject {
    const char* Bid;
    const char* Name;
};

struct TDemoFundNature {
    const char* Mid;
    const char* Name;
};

const std::vector<TDemoDepartment>& DemoDepartments();
const std::vector<TDemoFundNature>& DemoFundNatures();
// Every subject the generator uses, for the subject table.
const std::vector<TDemoSubject>& DemoSubjects();
// Subject codes a unit of that kind pays from that fund nature.
QStringList DemoSubjectsFor(TDeptKind AKind, const QString& AMid);
// Names of a department's second-level units, by kind.
const QStringList& DemoUnitSuffixes(TDeptKind AKind);
// Cities of the province, for branches of second-level units.
const QStringList& DemoCities();
// Labels of indicators by expenditure kind ("11", "12", "17", "18", "19").
const QStringList& DemoIndicatorLabels(const QString& AIpid);
