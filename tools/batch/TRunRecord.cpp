#include "TRunRecord.h"

#include <QHash>

namespace {

const QString SetKey = QStringLiteral("报表集");
const QString FilesKey = QStringLiteral("文件");
const QString FoldersKey = QStringLiteral("单位文件夹");

QString Line(const QString& AKey, const QStringList& AFields) {
    return RecordLine(AKey, AFields) + QLatin1Char('\n');
}

} // namespace

QString TRunRecord::Head() const {
    QString Text = QStringLiteral("\uFEFF") +
                   Line(SetKey, {Selection.Text() + QStringLiteral("的支付范围划分建议表")});
    for (const QString& SelectionLine : Selection.RecordLines())
        Text += SelectionLine + QLatin1Char('\n');
    Text += Line(QStringLiteral("资金性质"), Funds);
    Text += Line(QStringLiteral("数据库"), {Database});
    Text +=
        Line(QStringLiteral("生成时间"), {Made.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))});
    Text += Line(QStringLiteral("状态"), {State});
    Text += Line(FilesKey, Files);
    if (Selection.EachUnit)
        Text += Line(FoldersKey, UnitFolders);
    return Text + QLatin1Char('\n');
}

bool TRunRecord::Read(const QByteArray& AText) {
    QHash<QString, QStringList> Fields;
    QString Text = QString::fromUtf8(AText);
    if (Text.startsWith(QChar(0xFEFF)))
        Text.remove(0, 1);
    const QStringList Lines = Text.split(QLatin1Char('\n'));
    if (Lines.isEmpty() || !Lines[0].startsWith(SetKey + QLatin1Char('\t')))
        return false;
    for (const QString& Line : Lines) {
        if (Line.isEmpty())
            break;
        QStringList Parts = Line.split(QLatin1Char('\t'));
        const QString Key = Parts.takeFirst();
        if (Parts.size() == 1 && Parts[0].isEmpty())
            Parts.clear();
        Fields.insert(Key, Parts);
    }
    if (!Selection.ReadRecord(Fields))
        return false;
    Funds = Fields.value(QStringLiteral("资金性质"));
    Database = Fields.value(QStringLiteral("数据库")).value(0);
    Made = QDateTime::fromString(Fields.value(QStringLiteral("生成时间")).value(0),
                                 QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    State = Fields.value(QStringLiteral("状态")).value(0);
    Files = Fields.value(FilesKey);
    UnitFolders = Fields.value(FoldersKey);
    return true;
}
