#include "DemoData.h"

#include "DemoCatalog.h"
#include "DemoRowWriter.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <array>
#include <atomic>
#include <cmath>
#include <stdexcept>
#include <vector>

namespace {

// splitmix64: the same numbers on every platform and library, unlike the
// standard distributions.
class TRandom {
public:
    explicit TRandom(quint64 ASeed)
        : FState(ASeed) {}
    quint64 Next() {
        quint64 Z = (FState += 0x9E3779B97F4A7C15ull);
        Z = (Z ^ (Z >> 30)) * 0xBF58476D1CE4E5B9ull;
        Z = (Z ^ (Z >> 27)) * 0x94D049BB133111EBull;
        return Z ^ (Z >> 31);
    }
    int Below(qsizetype AUpper) { return static_cast<int>(Next() % quint64(AUpper)); }
    double Unit() { return double(Next() >> 11) * (1.0 / 9007199254740992.0); }
    bool Chance(double AProbability) { return Unit() < AProbability; }
    double Normal() {
        const double U1 = 1.0 - Unit();
        const double U2 = Unit();
        return std::sqrt(-2.0 * std::log(U1)) * std::cos(6.283185307179586 * U2);
    }

private:
    quint64 FState;
};

struct TUnit {
    QString Eid;
    QString Peid;
    QString Name;
    int Class = 0;
    bool Leaf = true;
    QString DeptClass;
    bool Special = false;
    bool InUse = true;
    TDeptKind Kind = TDeptKind::General;
};

struct TIndicator {
    QString Iid;
    QString Name;
    int Unit = 0;
    QString Mid;
    QString Bid;
    QString Ipid;
};

struct TBudgetType {
    const char* BType;
    const char* Bkid;
    const char* BTypeChild;
};

// Indicator type 0 (control figures) and 2 (temporary indicators) have no
// sub-type; type 1 (budget figures) comes as this year's budget (21 + 1),
// carried-over balance (22) or supplementary budget (21 + 2).
constexpr std::array<TBudgetType, 5> BudgetTypes = {
    {{"0", "", ""}, {"1", "21", "1"}, {"1", "22", ""}, {"1", "21", "2"}, {"2", "", ""}}};
constexpr std::array<const char*, 4> Channels = {"10", "20", "31", ""};

struct TFundKind {
    const char* Mid;
    const char* Ipid;
};
// Expenditure kinds by fund nature: state capital (31) has its own three.
constexpr std::array<TFundKind, 9> FundKinds = {{{"11", "11"},
                                                 {"11", "12"},
                                                 {"12", "11"},
                                                 {"12", "12"},
                                                 {"21", "11"},
                                                 {"21", "12"},
                                                 {"31", "17"},
                                                 {"31", "18"},
                                                 {"31", "19"}}};
// The first rows walk every combination of fund kind, channel and budget
// type, so even a small fixture holds each of them.
constexpr int CoverageRows = int(FundKinds.size() * Channels.size() * BudgetTypes.size());

QString Segment(int AIndex) {
    return QStringLiteral("%1").arg(AIndex, 3, 10, QLatin1Char('0'));
}

class TProvince {
public:
    TProvince(TRandom& ARandom, int AUnits)
        : FRandom(ARandom) {
        const auto& Departments = DemoDepartments();
        const int DeptCount = std::clamp(AUnits / 14, 1, static_cast<int>(Departments.size()));
        const int Base = AUnits / DeptCount;
        const int Extra = AUnits % DeptCount;
        for (int D = 0; D < DeptCount; ++D) {
            const int Share = Base + (D < Extra ? 1 : 0);
            FKind = Departments[size_t(D)].Kind;
            FDeptClass = D == 0 || !FRandom.Chance(0.2) ? QStringLiteral("1") : QStringLiteral("2");
            AddGroup(QString::number(101 + D), QString(),
                     QString::fromUtf8(Departments[size_t(D)].Name), 0, Share, D == 0);
        }
    }

    std::vector<TUnit> Units;

private:
    // Adds the group's own row and AUnits - 1 rows below it: first the
    // group's own-level unit (001), then units and sub-groups. AForceDeep
    // makes the first sub-group reach level 3, so the province has every
    // level the detail table can show.
    void AddGroup(const QString& AEid, const QString& APeid, const QString& AName, int ALevel,
                  int AUnits, bool AForceDeep) {
        const size_t Own = Units.size();
        Units.push_back(MakeUnit(AEid, APeid, AName, ALevel));
        int Remaining = AUnits - 1;
        if (Remaining <= 0)
            return;
        Units[Own].Leaf = false;
        Units[Own].Special = false;
        Units.push_back(MakeUnit(AEid + QStringLiteral("001"), AEid, AName + QStringLiteral("本级"),
                                 ALevel + 1));
        --Remaining;
        bool DeepPending = AForceDeep;
        for (int Index = 2; Remaining > 0 && Index <= 999; ++Index) {
            int Size = 1;
            if (ALevel + 1 < 3 && Remaining >= 3 &&
                (DeepPending || FRandom.Chance(ALevel == 0 ? 0.3 : 0.2))) {
                Size = 3 + FRandom.Below(ALevel == 0 ? 6 : 3);
                if (DeepPending)
                    Size = std::max(Size, ALevel == 0 ? 8 : 3);
                Size = std::min(Size, Remaining);
            }
            AddGroup(AEid + Segment(Index), AEid, ChildName(AName, ALevel + 1, Index), ALevel + 1,
                     Size, DeepPending && ALevel + 1 < 2);
            DeepPending = false;
            Remaining -= Size;
        }
    }

    TUnit MakeUnit(const QString& AEid, const QString& APeid, const QString& AName, int ALevel) {
        TUnit Unit;
        Unit.Eid = AEid;
        Unit.Peid = APeid;
        Unit.Name = AName;
        Unit.Class = ALevel;
        Unit.DeptClass = FDeptClass;
        Unit.Kind = FKind;
        const bool OwnLevel = AEid.endsWith(QLatin1String("001"));
        if (ALevel > 0) {
            const bool Institution = AName.contains(QStringLiteral("学")) ||
                                     AName.contains(QStringLiteral("院")) ||
                                     AName.contains(QStringLiteral("中心"));
            const bool SpecialWork = FKind == TDeptKind::Education || FKind == TDeptKind::Health;
            Unit.Special = FRandom.Chance(Institution && SpecialWork && !OwnLevel ? 0.6 : 0.05);
            Unit.InUse = OwnLevel || !FRandom.Chance(0.02);
        }
        return Unit;
    }

    QString ChildName(const QString& AParent, int ALevel, int AIndex) {
        const int Position = AIndex - 2;
        const QStringList& Cities = DemoCities();
        if (ALevel == 1) {
            const QStringList& Suffixes = DemoUnitSuffixes(FKind);
            const int Round = Position / int(Suffixes.size());
            const QString City =
                Round == 0 ? QString() : Cities[(Round - 1) % Cities.size()].chopped(1);
            return AParent + City + Suffixes[Position % Suffixes.size()];
        }
        if (ALevel == 2) {
            const int Round = Position / int(Cities.size());
            return AParent + QStringLiteral("（") + Cities[Position % Cities.size()] +
                   (Round == 0 ? QString() : QString::number(Round + 1)) + QStringLiteral("）");
        }
        return AParent + QStringLiteral("第%1分部").arg(Position + 1);
    }

    TRandom& FRandom;
    TDeptKind FKind = TDeptKind::General;
    QString FDeptClass;
};

class TIndicatorSet {
public:
    TIndicatorSet(TRandom& ARandom, std::vector<TUnit>& AUnits, qint64 ARows)
        : FRandom(ARandom)
        , FUnits(AUnits) {
        for (int I = 0; I < int(FUnits.size()); ++I) {
            if (FUnits[size_t(I)].InUse && (FUnits[size_t(I)].Leaf || FUnits[size_t(I)].Class == 0))
                FDataUnits.push_back(I);
        }
        const qint64 Wanted = std::max<qint64>(ARows / 15, qint64(FDataUnits.size()) * 2);
        for (qint64 K = 0; K < Wanted; ++K) {
            const int Unit = K < qint64(FDataUnits.size())
                                 ? FDataUnits[size_t(K)]
                                 : FDataUnits[size_t(FRandom.Below(qsizetype(FDataUnits.size())))];
            const TFundKind Kind = PickFundKind(FUnits[size_t(Unit)]);
            Add(Unit, QString::fromLatin1(Kind.Mid), QString::fromLatin1(Kind.Ipid));
        }
        // Every fund kind needs indicators of its own, however small the
        // province: special-account funds go to a special-account unit.
        for (size_t Kind = 0; Kind < FundKinds.size(); ++Kind) {
            if (!Pools[Kind].empty())
                continue;
            const QString Mid = QString::fromLatin1(FundKinds[Kind].Mid);
            int Unit = FDataUnits.back();
            if (Mid == QLatin1String("21")) {
                for (int Candidate : FDataUnits) {
                    if (FUnits[size_t(Candidate)].Special) {
                        Unit = Candidate;
                        break;
                    }
                }
                FUnits[size_t(Unit)].Special = true;
            }
            Add(Unit, Mid, QString::fromLatin1(FundKinds[Kind].Ipid));
        }
    }

    std::vector<TIndicator> Indicators;
    std::array<std::vector<int>, FundKinds.size()> Pools;

private:
    TFundKind PickFundKind(const TUnit& AUnit) {
        const double Roll = FRandom.Unit();
        const char* Mid = "11";
        if (AUnit.Kind == TDeptKind::StateAssets && Roll < 0.35)
            Mid = "31";
        else if (AUnit.Special && Roll < 0.3)
            Mid = "21";
        else if ((AUnit.Kind == TDeptKind::Construction || AUnit.Kind == TDeptKind::Transport ||
                  AUnit.Kind == TDeptKind::Welfare)
                     ? Roll > 0.8
                     : Roll > 0.97)
            Mid = "12";
        if (qstrcmp(Mid, "31") == 0)
            return FundKinds[size_t(6 + FRandom.Below(3))];
        const bool Basic = FRandom.Chance(0.55);
        for (const TFundKind& Kind : FundKinds) {
            if (qstrcmp(Kind.Mid, Mid) == 0 && qstrcmp(Kind.Ipid, Basic ? "11" : "12") == 0)
                return Kind;
        }
        return FundKinds[0];
    }

    void Add(int AUnit, const QString& AMid, const QString& AIpid) {
        const TUnit& Unit = FUnits[size_t(AUnit)];
        const QStringList Subjects = DemoSubjectsFor(Unit.Kind, AMid);
        const QStringList& Labels = DemoIndicatorLabels(AIpid);
        TIndicator Indicator;
        Indicator.Iid = QStringLiteral("%1").arg(Indicators.size() + 1, 8, 10, QLatin1Char('0'));
        Indicator.Unit = AUnit;
        Indicator.Mid = AMid;
        Indicator.Ipid = AIpid;
        Indicator.Bid = Subjects[FRandom.Below(Subjects.size())];
        Indicator.Name = Unit.Name + QLatin1Char('-') + Labels[FRandom.Below(Labels.size())];
        for (size_t Kind = 0; Kind < FundKinds.size(); ++Kind) {
            if (AMid == QLatin1String(FundKinds[Kind].Mid) &&
                AIpid == QLatin1String(FundKinds[Kind].Ipid))
                Pools[Kind].push_back(int(Indicators.size()));
        }
        Indicators.push_back(std::move(Indicator));
    }

    TRandom& FRandom;
    std::vector<TUnit>& FUnits;
    std::vector<int> FDataUnits;
};

// Amounts in yuan with cents: mostly tens of thousands, a long tail of
// millions; some adjustments take money back.
double Amount(TRandom& ARandom, bool ANegative) {
    double Yuan = std::exp(std::log(60000.0) + 1.1 * ARandom.Normal());
    Yuan = std::min(Yuan, 5.0e7);
    if (ANegative)
        Yuan = -Yuan * (0.05 + 0.45 * ARandom.Unit());
    return std::round(Yuan * 100.0) / 100.0;
}

int WeightedBudgetType(TRandom& ARandom) {
    const double Roll = ARandom.Unit();
    if (Roll < 0.25)
        return 0;
    if (Roll < 0.55)
        return 1;
    if (Roll < 0.70)
        return 2;
    if (Roll < 0.85)
        return 3;
    return 4;
}

int WeightedChannel(TRandom& ARandom) {
    const double Roll = ARandom.Unit();
    if (Roll < 0.45)
        return 0;
    if (Roll < 0.80)
        return 1;
    if (Roll < 0.95)
        return 2;
    return 3;
}

std::atomic<int> GeneratorConnections{0};

// Qt binds a null QString as NULL; empty codes are stored as empty text.
QString Text(const QString& AText) {
    return AText.isNull() ? QStringLiteral("") : AText;
}
QString Text(const char* AText) {
    return Text(QString::fromLatin1(AText));
}

} // namespace

void WriteDemoProvince(TRowWriter& AWriter, const TDemoOptions& AOptions, TDemoSummary& ASummary) {
    TRandom Random(AOptions.Seed);
    TProvince Province(Random, AOptions.Units);
    TIndicatorSet Set(Random, Province.Units, AOptions.Rows);

    AWriter.BeginTable(QStringLiteral("pubmoneykind"), {"mid", "mname", "leafflag"});
    for (const TDemoFundNature& Fund : DemoFundNatures())
        AWriter.AddRow(
            {QString::fromLatin1(Fund.Mid), QString::fromUtf8(Fund.Name), QStringLiteral("0")});
    AWriter.EndTable();
    AWriter.BeginTable(QStringLiteral("pubbudgetsubject"), {"bid", "bname"});
    for (const TDemoSubject& Subject : DemoSubjects())
        AWriter.AddRow({QString::fromLatin1(Subject.Bid), QString::fromUtf8(Subject.Name)});
    AWriter.EndTable();
    AWriter.BeginTable(QStringLiteral("pubdept"),
                       {"eid", "peid", "ename", "leafflag", "class", "deptclass", "replaceflag",
                        "useflag", "specialaccount"});
    for (const TUnit& Unit : Province.Units) {
        AWriter.AddRow({Unit.Eid, Text(Unit.Peid), Unit.Name,
                        Unit.Leaf ? QStringLiteral("1") : QStringLiteral("0"), Unit.Class,
                        Unit.DeptClass, QStringLiteral("0"),
                        Unit.InUse ? QStringLiteral("0") : QStringLiteral("1"),
                        Unit.Special ? QStringLiteral("是") : QStringLiteral("否")});
        if (Unit.Class == 0)
            ++ASummary.Departments;
    }
    AWriter.EndTable();
    AWriter.BeginTable(QStringLiteral("busiindicator"),
                       {"iid", "iname", "eid", "mid", "bid", "ipid"});
    for (const TIndicator& Indicator : Set.Indicators)
        AWriter.AddRow({Indicator.Iid, Indicator.Name, Province.Units[size_t(Indicator.Unit)].Eid,
                        Indicator.Mid, Indicator.Bid, Indicator.Ipid});
    AWriter.EndTable();

    AWriter.BeginTable(QStringLiteral("busibudgetadj"),
                       {"adjid", "datayear", "eid", "deptclass", "mid", "bid", "iid", "ipid", "pid",
                        "BType", "bkid", "btypechild", "BudgMoney"});
    const int Years = std::max(1, AOptions.Years);
    for (qint64 Row = 0; Row < AOptions.Rows; ++Row) {
        int Indicator;
        int Channel;
        int Type;
        int Year;
        bool Negative;
        if (Row < CoverageRows) {
            const auto& Pool = Set.Pools[size_t(Row % qint64(FundKinds.size()))];
            Indicator = Pool[size_t(Random.Below(qsizetype(Pool.size())))];
            Channel = int(Row / qint64(FundKinds.size())) % int(Channels.size());
            Type = int(Row / qint64(FundKinds.size() * Channels.size())) % int(BudgetTypes.size());
            Year = int(Row % Years);
            Negative = Row % 7 == 3;
        } else {
            Indicator = Random.Below(qsizetype(Set.Indicators.size()));
            Channel = WeightedChannel(Random);
            Type = WeightedBudgetType(Random);
            Year = Random.Below(Years);
            Negative = Random.Chance(0.07);
        }
        const TIndicator& Line = Set.Indicators[size_t(Indicator)];
        const TUnit& Unit = Province.Units[size_t(Line.Unit)];
        const TBudgetType& BudgetType = BudgetTypes[size_t(Type)];
        AWriter.AddRow({Row + 1, AOptions.FirstYear + Year, Unit.Eid, Unit.DeptClass, Line.Mid,
                        Line.Bid, Line.Iid, Line.Ipid, Text(Channels[size_t(Channel)]),
                        QString::fromLatin1(BudgetType.BType), Text(BudgetType.Bkid),
                        Text(BudgetType.BTypeChild), Amount(Random, Negative)});
    }
    AWriter.EndTable();
    ASummary.Units = int(Province.Units.size());
    ASummary.Indicators = int(Set.Indicators.size());
    ASummary.Rows = AOptions.Rows;
}

void CheckDemoOptions(const TDemoOptions& AOptions) {
    if (AOptions.Units < 2)
        throw std::runtime_error("演示省份至少要有 2 个单位");
    if (AOptions.Rows < 0 || AOptions.Rows > MaxDemoRows || AOptions.Years < 1)
        throw std::runtime_error(QStringLiteral("行数要在 0 到 %1 之间，年数至少为 1")
                                     .arg(MaxDemoRows)
                                     .toUtf8()
                                     .toStdString());
    // Budget years are four-digit years; the last one is checked without
    // overflow, so a huge first year cannot wrap round to a small one.
    if (AOptions.FirstYear < 1 || AOptions.FirstYear > MaxDemoYear ||
        AOptions.Years > MaxDemoYear - AOptions.FirstYear + 1)
        throw std::runtime_error(QStringLiteral("预算年度 %1 到 %2 不都在 1 到 %3 之间")
                                     .arg(AOptions.FirstYear)
                                     .arg(qint64(AOptions.FirstYear) + AOptions.Years - 1)
                                     .arg(MaxDemoYear)
                                     .toUtf8()
                                     .toStdString());
}

void ApplySchemaText(QSqlDatabase& ADb, const QString& ASql) {
    QString Text;
    for (const QString& Line : ASql.split(QLatin1Char('\n'))) {
        if (!Line.trimmed().startsWith(QLatin1String("--")))
            Text += Line + QLatin1Char('\n');
    }
    QSqlQuery Query(ADb);
    for (const QString& Statement : Text.split(QLatin1Char(';'))) {
        if (Statement.trimmed().isEmpty())
            continue;
        if (!Query.exec(Statement))
            FailDemo(Statement.trimmed().section(QLatin1Char('\n'), 0, 0), Query.lastError());
    }
}

void ApplyDemoSchema(QSqlDatabase& ADb) {
    ApplySchemaText(ADb, DemoSchemaSql());
}

TDemoSummary GenerateDemoDatabase(const QString& AFileName, const TDemoOptions& AOptions) {
    CheckDemoOptions(AOptions);
    if (AFileName.trimmed().isEmpty())
        throw std::runtime_error("没有给出要写的数据库文件");
    const QFileInfo TargetInfo(AFileName);
    if (TargetInfo.exists() && !TargetInfo.isFile())
        throw std::runtime_error(QStringLiteral("%1 不是文件（是文件夹或设备），不能写成数据库")
                                     .arg(AFileName)
                                     .toUtf8()
                                     .toStdString());

    const QString Target = TargetInfo.absoluteFilePath();
    const QString Partial = Target + QStringLiteral(".partial");
    QFile::remove(Partial);
    const QString Name = QStringLiteral("varnholt-demo-%1").arg(++GeneratorConnections);
    TDemoSummary Summary;
    {
        QSqlDatabase Db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), Name);
        Db.setDatabaseName(Partial);
        try {
            if (!Db.open())
                FailDemo(Partial, Db.lastError());
            QSqlQuery Pragma(Db);
            // The file is renamed into place only when complete, so it needs
            // no journal while it is written.
            for (const char* Setting : {"PRAGMA journal_mode=OFF", "PRAGMA synchronous=OFF",
                                        "PRAGMA locking_mode=EXCLUSIVE", "PRAGMA cache_size=-65536",
                                        "PRAGMA temp_store=MEMORY"}) {
                if (!Pragma.exec(QString::fromLatin1(Setting)))
                    FailDemo(QString::fromLatin1(Setting), Pragma.lastError());
            }
            ApplyDemoSchema(Db);
            if (!Db.transaction())
                FailDemo(QStringLiteral("begin"), Db.lastError());
            TPreparedRowWriter Writer(Db);
            WriteDemoProvince(Writer, AOptions, Summary);
            if (!Db.commit())
                FailDemo(QStringLiteral("commit"), Db.lastError());
            if (!Pragma.exec(QStringLiteral("ANALYZE")))
                FailDemo(QStringLiteral("ANALYZE"), Pragma.lastError());
            Db.close();
        } catch (...) {
            Db.close();
            Db = QSqlDatabase();
            QSqlDatabase::removeDatabase(Name);
            QFile::remove(Partial);
            throw;
        }
    }
    QSqlDatabase::removeDatabase(Name);
    if (QFile::exists(Target) && !QFile::remove(Target)) {
        QFile::remove(Partial);
        throw std::runtime_error(
            QStringLiteral("无法替换原有的文件 %1").arg(Target).toUtf8().toStdString());
    }
    if (!QFile::rename(Partial, Target)) {
        QFile::remove(Partial);
        throw std::runtime_error(
            QStringLiteral("无法写出文件 %1").arg(Target).toUtf8().toStdString());
    }
    Summary.Target = Target;
    return Summary;
}
