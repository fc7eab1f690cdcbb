#pragma once

#include <QString>

// An error text that ends in the system's own reason ("无法在 /proc 创建文件：
// No such file or directory") with that reason said in Chinese first:
// "文件夹或文件不存在（无法在 …：No such file or directory）". A text without a
// reason it knows comes back as it is; one whose reason stands in brackets
// after its cause ("无法在 … 创建文件：文件夹不存在（No such file or
// directory）") gets that cause moved to the front, not said twice:
// "文件夹不存在（无法在 … 创建文件：No such file or directory）".
QString ExplainSystemError(const QString& AText);
