#pragma once

#include <QString>

// An error text that ends in the system's own reason ("无法在 /proc 创建文件：
// No such file or directory") with that reason said in Chinese first:
// "文件夹或文件不存在（无法在 …：No such file or directory）". A text without a
// reason it knows, or whose reason stands in brackets after its cause
// ("…：文件夹不存在（No such file or directory）"), comes back as it is.
QString ExplainSystemError(const QString& AText);
