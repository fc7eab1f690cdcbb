#include "TRunSelection.h"

#include "report/tables/IndicatorTypeNames.h"
#include "report/tables/PrintableText.h"

namespace {

const QString EachUnitMode = QStringLiteral("逐个单位");
const QString NodeMode = QStringLiteral("选定节点");

} // namespace

QString RecordLine(const QString& AKey, const QStringList& AFields) {
    QStringList Fields;
    for (const QString& Field : AFields)
        Fields << PrintableText(Field);
    return AKey + QLatin1Char('\t') + Fields.join(QLatin1Char('\t'));
}

bool TRunSelection::SameAs(const TRunSelection& AOther) const {
    // Codes read back from a record are in their printable form.
    return Year == AOther.Year && BType == AOther.BType && SubType == AOther.SubType &&
           PrintableText(LoginUnit) == PrintableText(AOther.LoginUnit) &&
           LoginClass == AOther.LoginClass &&
           PrintableText(NodeCode) == PrintableText(AOther.NodeCode) && EachUnit == AOther.EachUnit;
}

QString TRunSelection::BTypeText() const {
    return IndicatorTypeName(BType);
}

QString TRunSelection::SubTypeText() const {
    return SubTypeName(SubType);
}

QString TRunSelection::YearAndType() const {
    const QString Sub = SubTypeText();
    return QStringLiteral("%1年%2").arg(Year).arg(BTypeText()) +
           (Sub.isEmpty() ? QString() : QStringLiteral("（%1）").arg(Sub));
}

QString TRunSelection::Text() const {
    return QStringLiteral("%1（%2）%3，登录单位 %4（类别 %5）%6")
        .arg(PrintableText(NodeName), PrintableText(NodeCode), YearAndType(),
             PrintableText(LoginUnit))
        .arg(LoginClass)
        .arg(EachUnit ? QStringLiteral("，逐个单位写出") : QString());
}

QStringList TRunSelection::RecordLines() const {
    return {RecordLine(QStringLiteral("单位"), {NodeCode, NodeName}),
            RecordLine(QStringLiteral("年度"), {QString::number(Year)}),
            RecordLine(QStringLiteral("指标类型"), {QString::number(BType), BTypeText()}),
            SubType < 0 ? RecordLine(QStringLiteral("指标子类型"),
                                     {QStringLiteral("-"), QStringLiteral("（该类型没有子类型）")})
                        : RecordLine(QStringLiteral("指标子类型"),
                                     {QString::number(SubType), SubTypeText()}),
            RecordLine(QStringLiteral("登录单位"),
                       {LoginUnit, QStringLiteral("类别 %1").arg(LoginClass)}),
            RecordLine(QStringLiteral("写出方式"), {EachUnit ? EachUnitMode : NodeMode})};
}

bool TRunSelection::ReadRecord(const QHash<QString, QStringList>& AFields) {
    const QStringList Unit = AFields.value(QStringLiteral("单位"));
    const QStringList YearField = AFields.value(QStringLiteral("年度"));
    const QStringList Type = AFields.value(QStringLiteral("指标类型"));
    const QStringList Sub = AFields.value(QStringLiteral("指标子类型"));
    const QStringList Login = AFields.value(QStringLiteral("登录单位"));
    const QStringList Mode = AFields.value(QStringLiteral("写出方式"));
    if (Unit.isEmpty() || YearField.isEmpty() || Type.isEmpty() || Sub.isEmpty() ||
        Login.size() < 2 || Mode.isEmpty())
        return false;
    bool YearRead = false, TypeRead = false, ClassRead = false, SubRead = false;
    NodeCode = Unit.value(0);
    NodeName = Unit.value(1);
    Year = YearField[0].toInt(&YearRead);
    BType = Type[0].toInt(&TypeRead);
    SubType = Sub[0].toInt(&SubRead);
    if (!SubRead)
        SubType = -1;
    LoginUnit = Login[0];
    LoginClass = QString(Login[1]).remove(QStringLiteral("类别")).trimmed().toInt(&ClassRead);
    EachUnit = Mode[0] == EachUnitMode;
    return YearRead && TypeRead && ClassRead;
}

QString NulNameProblem(const QString& AUnitCode) {
    return QStringLiteral("单位 %1 的名称中有空字符（NUL），不能用在报表的标题、文件名和查询中，"
                          "未写出该单位的报表；请在单位资料（单位表 pubdept）中改正它的名称")
        .arg(PrintableText(AUnitCode));
}
