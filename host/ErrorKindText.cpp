#include "ErrorKindText.h"

#include <QHash>

QString ErrorKindText(const QString& AClassName) {
    static const QHash<QString, QString> Kinds = {
        {QStringLiteral("EDatabaseError"), QStringLiteral("数据库错误")},
        {QStringLiteral("TExceptDbManager"), QStringLiteral("数据库连接错误")},
        {QStringLiteral("EInOutError"), QStringLiteral("文件读写错误")},
        {QStringLiteral("EFilerError"), QStringLiteral("文件格式错误")},
        {QStringLiteral("ESettingsError"), QStringLiteral("设置错误")},
        {QStringLiteral("TDataSecExcept"), QStringLiteral("设置错误")},
        {QStringLiteral("TExceptppDataStorage"), QStringLiteral("设置错误")},
        {QStringLiteral("EStringListError"), QStringLiteral("设置错误")},
        {QStringLiteral("EConvertError"), QStringLiteral("数据转换错误")},
        {QStringLiteral("EInvalidOperation"), QStringLiteral("操作无效")},
        {QStringLiteral("TExceptDynamicTree"), QStringLiteral("单位树错误")},
        {QStringLiteral("TExceptCheckTree"), QStringLiteral("单位树错误")},
        {QStringLiteral("TExceptResRefManager"), QStringLiteral("窗口管理错误")},
        {QStringLiteral("TObjectFactionError"), QStringLiteral("窗口管理错误")},
    };
    const auto Found = Kinds.constFind(AClassName);
    if (Found == Kinds.constEnd())
        return AClassName;
    return QStringLiteral("%1（%2）").arg(*Found, AClassName);
}
