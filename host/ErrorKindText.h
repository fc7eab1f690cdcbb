#pragma once

#include <QString>

// What kind of error a class of error is, in the words of the host's error
// box: "数据库错误（EDatabaseError）". A class the host does not know keeps
// its name alone, so nothing is hidden.
QString ErrorKindText(const QString& AClassName);
