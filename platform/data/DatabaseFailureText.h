#pragma once

#include "platform/PlatformExport.h"

#include <QString>

// The texts of the data layer's failures, as a clerk reads them: the cause
// in Chinese first, then what it concerns, then the database's own words in
// brackets for whoever looks after the database:
//   数据库文件不存在：/data/budget.db
//   数据库服务器没有接受连接（服务器没有运行，或主机、端口不对）：PostgreSQL 服务器
//   db:5432 上的数据库 budget（用户 clerk）（connection to server … failed: …）
//   数据库中缺少报表要读的表或视图（SQLite：no such table: vwbudgetadj …）

// The cause, in Chinese, of a failure the driver describes in ADriverText
// (SQLite, PostgreSQL, the ODBC driver manager and SQL Server's drivers);
// empty text when the words are not known.
PLATFORM_EXPORT QString DatabaseCause(const QString& ADriverText);

// A connection to ATarget (a file's path, or a server and database in
// words) could not be opened: ACause when given, else the cause read from
// ADriverText, else "无法连接数据库".
PLATFORM_EXPORT QString ConnectFailureText(const QString& ACause, const QString& ATarget,
                                           const QString& ADriverText);

// A statement on a connection of AProvider failed with ADriverText: the
// cause read from it, else "数据库查询失败".
PLATFORM_EXPORT QString QueryFailureText(const QString& AProvider, const QString& ADriverText);
