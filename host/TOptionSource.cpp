#include "TOptionSource.h"

#include <QCommandLineParser>
#include <QFileInfo>

TOptionSource::TOptionSource(const QCommandLineParser& AParser, const QString& AConfigFile)
    : FParser(AParser) {
    if (!AConfigFile.isEmpty())
        FConfig.emplace(AConfigFile, QSettings::IniFormat);
}

QString TOptionSource::Text(const char* AName, const QString& ADefault) const {
    const QString Name = QString::fromLatin1(AName);
    if (FParser.isSet(Name))
        return FParser.value(Name);
    const QString Key = QStringLiteral("host/") + Name;
    if (FConfig && FConfig->contains(Key))
        return FConfig->value(Key).toString();
    return ADefault;
}

bool TOptionSource::Number(const char* AName, int ADefault, int AMin, int AMax, int& AValue,
                           QString& AError) const {
    const QString Value = Text(AName);
    if (Value.isEmpty()) {
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

QString CheckConfigFile(const QString& AFileName) {
    if (AFileName.isEmpty())
        return QString();
    const QFileInfo Info(AFileName);
    if (!Info.exists())
        return QStringLiteral("找不到配置文件 %1").arg(AFileName);
    if (!Info.isFile())
        return QStringLiteral("配置文件 %1 不是普通文件").arg(AFileName);
    return QString();
}
