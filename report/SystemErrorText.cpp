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

} // namespace

QString ExplainSystemError(const QString& AText) {
    for (const auto& [English, Chinese] : Reasons) {
        const qsizetype At = AText.indexOf(QLatin1String(English), 0, Qt::CaseInsensitive);
        if (At < 0)
            continue;
        // In brackets the reason follows the cause already said before it
        // ("…：磁盘已满（No space left on device）").
        if (At > 0 && AText.at(At - 1) == QChar(0xFF08))
            return AText;
        return QString::fromUtf8(Chinese) + QStringLiteral("（") + AText + QStringLiteral("）");
    }
    return AText;
}
