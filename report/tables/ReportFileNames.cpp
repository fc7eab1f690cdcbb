#include "ReportFileNames.h"

#include "PrintableText.h"

#include <QDir>
#include <QHash>
#include <QRegularExpression>

namespace {

// Workbooks are Office Open XML: spreadsheet programs flag an ".xls" name
// on such a file as a mismatch.
const QString Extension = QStringLiteral(".xlsx");

QString FundWord(const QString& AFundText) {
    return AFundText == QStringLiteral("<全部>") ? QStringLiteral("汇总") : AFundText;
}

QString TableName(int AYear, const QString& ABTypeText, const QString& AFundText) {
    return QString::number(AYear) + QStringLiteral("年国库集中支付改革") + ABTypeText +
           FundWord(AFundText) + QStringLiteral("范围划分建议表") + Extension;
}

// A name is one path component: a separator inside a unit's name must not
// send the file into another folder, and a line break, another control
// character or a mark that turns the text's direction around has no place
// in a file name.
QString FileComponent(QString AName) {
    AName.remove(QChar(0));
    for (QChar& C : AName) {
        if (C == QLatin1Char('/') || C == QLatin1Char('\\') || IsControlCharacter(C))
            C = QLatin1Char('_');
    }
    return AName;
}

} // namespace

QString SingleExportFileName(const QString& AUnitName, int AYear, const QString& ABTypeText,
                             const QString& AFundText) {
    return FileComponent(AUnitName + TableName(AYear, ABTypeText, AFundText));
}

QStringList FileFundTexts(const QList<QPair<QString, QString>>& AEntries) {
    QHash<QString, int> Uses;
    for (const auto& Entry : AEntries)
        ++Uses[FileComponent(FundWord(Entry.second))];
    QStringList Texts;
    for (const auto& [Code, Name] : AEntries) {
        const bool Clash = !Code.isEmpty() && Uses.value(FileComponent(FundWord(Name))) > 1;
        Texts << (Clash ? QStringLiteral("%1（%2）").arg(Name, Code) : Name);
    }
    return Texts;
}

QString UnitFolderName(const QString& ACode, const QString& AName) {
    return FileComponent(ACode + QLatin1Char(' ') + AName);
}

QString AuditFilePath(const QString& AFolder, int AYear, const QString& ABTypeText) {
    return QDir(AFolder).filePath(FileComponent(QString::number(AYear) +
                                                QStringLiteral("年国库集中支付改革") + ABTypeText +
                                                QStringLiteral("审核结果.txt")));
}

QString UnitListPath(const QString& AFolder, int AYear, const QString& ABTypeText) {
    return QDir(AFolder).filePath(FileComponent(QString::number(AYear) +
                                                QStringLiteral("年国库集中支付改革") + ABTypeText +
                                                QStringLiteral("各单位审核结果.txt")));
}

bool IsReportFileName(const QString& AName) {
    static const QRegularExpression Name(
        QStringLiteral("^\\d{4}年国库集中支付改革.*(范围划分建议表\\.(xlsx|pdf)|审核结果\\.txt)$"));
    return Name.match(AName).hasMatch();
}

bool IsAuditFileName(const QString& AName) {
    static const QRegularExpression Name(
        QStringLiteral("^\\d{4}年国库集中支付改革.*审核结果\\.txt$"));
    return Name.match(AName).hasMatch();
}

bool IsTemporaryReportFileName(const QString& AName) {
    static const QRegularExpression Name(
        QStringLiteral("^\\d{4}年国库集中支付改革.*\\.(xlsx|pdf|txt)\\.[A-Za-z0-9]{6}\\.part$"));
    return Name.match(AName).hasMatch();
}

QString ContinuousExportPath(const QString& AFolder, int AYear, const QString& ABTypeText,
                             const QString& AFundText) {
    return QDir(AFolder).filePath(FileComponent(TableName(AYear, ABTypeText, AFundText)));
}
