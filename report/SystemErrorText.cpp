#include "SystemErrorText.h"

#include <utility>

namespace {

// The reasons the C library and Qt give in English for the failures a
// clerk meets when saving a file.
const std::pair<const char*, const char*> Reasons[] = {
    {"No such file or directory", "文件夹或文件不存在"},
    {"Permission denied", "没有访问权限"},
    {"Operation not permitted", "不允许此操作"},
    {"No space left on device", "磁盘空间已满"},
    {"Disk quota exceeded", "超出了磁盘配额"},
    {"Read-only file system", "文件系统是只读的"},
    {"Is a directory", "该名称是一个文件夹"},
    {"Not a directory", "路径中有一段不是文件夹"},
    {"File exists", "文件已存在"},
    {"File name too long", "文件名太长"},
    {"Too many open files", "打开的文件太多"},
    {"Input/output error", "设备读写出错"},
    {"Device or resource busy", "设备或资源正忙"},
};

// "写入 a 失败：磁盘已满（No space left on device）" as "磁盘已满（写入 a 失败：
// No space left on device）": the cause said before the reason in brackets
// moves to the front. AOpen is where that bracket opens.
QString CauseToFront(const QString& AText, qsizetype AOpen) {
    const qsizetype Colon = AText.lastIndexOf(QChar(0xFF1A), AOpen);
    if (Colon < 0)
        return AText;
    const QString Cause = AText.mid(Colon + 1, AOpen - Colon - 1);
    return Cause + QStringLiteral("（") + AText.left(Colon) + QStringLiteral("：") +
           AText.mid(AOpen + 1);
}

} // namespace

QString ExplainSystemError(const QString& AText) {
    for (const auto& [English, Chinese] : Reasons) {
        const qsizetype At = AText.indexOf(QLatin1String(English), 0, Qt::CaseInsensitive);
        if (At < 0)
            continue;
        // In brackets the reason follows a cause already said before it.
        if (At > 0 && AText.at(At - 1) == QChar(0xFF08))
            return CauseToFront(AText, At - 1);
        return QString::fromUtf8(Chinese) + QStringLiteral("（") + AText + QStringLiteral("）");
    }
    return AText;
}
