#include "TOptionSource.h"

#include "platform/Exception.h"
#include "platform/settings/TIniFile.h"

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace {

const QString HostSection = QStringLiteral("host");

// What is wrong with one value of the [host] section as written: a quote
// that opens it and is not closed (the value would keep the quote and fail
// later, far from its cause), or a NUL or another control character, which
// no option's value holds.
QString ValueProblem(const QString& ARaw) {
    const QString Value = ARaw.trimmed();
    const bool Opens = Value.startsWith(QLatin1Char('"')) || Value.startsWith(QLatin1Char('\''));
    if (Opens && (Value.size() < 2 || Value.back() != Value.front()))
        return QStringLiteral("值以引号 %1 开头，却没有配对的结束引号").arg(Value.front());
    for (const QChar C : Value) {
        if ((C.unicode() < 0x20 && C != QLatin1Char('\t')) || C.unicode() == 0x7f)
            return QStringLiteral("值中有空字符（NUL）或其他控制字符");
    }
    return QString();
}

// The first value of the [host] section that cannot be right, with its
// line; empty text when there is none.
QString HostSectionProblem(const QString& AFileName) {
    QFile File(AFileName);
    // Only what may be read whole is looked at (what may not is refused
    // before this, with its reason).
    if (!CheckConfigFile(AFileName).isEmpty() || !File.open(QIODevice::ReadOnly))
        return QString();
    const QList<QByteArray> Lines = File.readAll().split('\n');
    bool InHost = false;
    for (int I = 0; I < Lines.size(); ++I) {
        QString Line = QString::fromUtf8(Lines[I]);
        if (Line.endsWith(QLatin1Char('\r')))
            Line.chop(1);
        const QString Text = Line.trimmed();
        if (Text.startsWith(QLatin1Char('['))) {
            InHost = Text.mid(1, Text.indexOf(QLatin1Char(']')) - 1).trimmed().toCaseFolded() ==
                     HostSection;
            continue;
        }
        const int Equals = int(Line.indexOf(QLatin1Char('=')));
        if (!InHost || Equals < 0 || Text.startsWith(QLatin1Char(';')) ||
            Text.startsWith(QLatin1Char('#')))
            continue;
        const QString Problem = ValueProblem(Line.mid(Equals + 1));
        if (!Problem.isEmpty())
            return QStringLiteral("配置文件 %1 第 %2 行（%3）：%4")
                .arg(AFileName)
                .arg(I + 1)
                .arg(Line.left(Equals).trimmed(), Problem);
    }
    return QString();
}

} // namespace

TOptionSource::TOptionSource(const QCommandLineParser& AParser, const QString& AConfigFile)
    : FParser(AParser) {
    if (AConfigFile.isEmpty())
        return;
    FConfigError = HostSectionProblem(AConfigFile);
    if (!FConfigError.isEmpty())
        return;
    try {
        TIniFile Config(AConfigFile);
        for (const QString& Key : Config.ReadSection(HostSection))
            FConfig.insert(Key.toCaseFolded(), Config.ReadString(HostSection, Key));
    } catch (const Exception& E) {
        FConfig.clear();
        FConfigError = QStringLiteral("配置文件不可用：%1").arg(E.Message());
    }
}

QString TOptionSource::Text(const char* AName, const QString& ADefault) const {
    const QString Name = QString::fromLatin1(AName);
    if (FParser.isSet(Name))
        return FParser.value(Name);
    return FConfig.value(Name.toCaseFolded(), ADefault);
}

bool TOptionSource::Number(const char* AName, int ADefault, int AMin, int AMax, int& AValue,
                           QString& AError) const {
    const QString Value = Text(AName);
    if (Value.isEmpty() && !FParser.isSet(QString::fromLatin1(AName))) {
        AValue = ADefault;
        return true;
    }
    bool Ok = false;
    const qlonglong Number = Value.toLongLong(&Ok);
    if (!Ok || Number < AMin || Number > AMax) {
        AError = QStringLiteral("选项 --%1 需要 %2 到 %3 之间的整数，而不是“%4”")
                     .arg(QString::fromLatin1(AName))
                     .arg(AMin)
                     .arg(AMax)
                     .arg(Value);
        return false;
    }
    AValue = int(Number);
    return true;
}

bool ParseArguments(QCommandLineParser& AParser, const QStringList& AArguments, QString& AError,
                    bool& AHelpShown) {
    if (!AParser.parse(AArguments)) {
        const QStringList Unknown = AParser.unknownOptionNames();
        AError = Unknown.isEmpty()
                     ? QStringLiteral("命令行有误：%1").arg(AParser.errorText())
                     : QStringLiteral("不认识的选项：%1（--help 列出可用的选项）")
                           .arg(QStringLiteral("--") + Unknown.join(QStringLiteral("、--")));
        return false;
    }
    if (AParser.isSet(QStringLiteral("help"))) {
        AHelpShown = true;
        AError = AParser.helpText();
        return false;
    }
    return true;
}

void AddOptions(QCommandLineParser& AParser, const TOptionSpec* ASpecs, int ACount) {
    for (int I = 0; I < ACount; ++I)
        AParser.addOption(QCommandLineOption(QString::fromLatin1(ASpecs[I].Name),
                                             QString::fromUtf8(ASpecs[I].Description),
                                             QString::fromUtf8(ASpecs[I].ValueName)));
}

namespace {

int TerminalColumns(const QString& AText) {
    int Width = 0;
    for (const QChar C : AText)
        Width += C.unicode() >= 0x1100 ? 2 : 1;
    return Width;
}

} // namespace

QString OptionHelpLines(const TOptionSpec* ASpecs, int ACount) {
    constexpr int NameColumns = 24;
    QString Lines;
    for (int I = 0; I < ACount; ++I) {
        QString Name = QStringLiteral("  --") + QString::fromLatin1(ASpecs[I].Name);
        if (ASpecs[I].ValueName && *ASpecs[I].ValueName)
            Name += QStringLiteral(" <%1>").arg(QString::fromUtf8(ASpecs[I].ValueName));
        Name += QString(std::max(1, NameColumns - TerminalColumns(Name)), QLatin1Char(' '));
        Lines += Name + QString::fromUtf8(ASpecs[I].Description) + QLatin1Char('\n');
    }
    return Lines;
}

QString CheckConfigFile(const QString& AFileName) {
    if (AFileName.isEmpty())
        return QString();
    const QFileInfo Info(AFileName);
    if (!Info.exists())
        return QStringLiteral("找不到配置文件 %1").arg(AFileName);
    if (!Info.isFile())
        return QStringLiteral("配置文件 %1 不是普通文件").arg(AFileName);
    if (Info.size() > TIniFile::MaxFileBytes)
        return QStringLiteral("配置文件 %1 超过 16 MB，不是配置文件").arg(AFileName);
    return QString();
}
