#pragma once

#include <QString>
#include <QtGlobal>

// Why a write of ANeededBytes into the folder AFolder failed, when the cause
// is a want of space: "磁盘空间已满" for a full file system, "已超出磁盘配额"
// for a user's quota; empty for any other cause. AErrno is the system's
// error number right after the failure (ENOSPC, EDQUOT); where it is 0 the
// free space decides: fewer bytes free for this user than the write needed.
// Qt reports a write cut short by a full disk as "Unknown error", and a
// lock file that could not be written as an unknown lock error.
QString DiskFullReason(int AErrno, const QString& AFolder, qint64 ANeededBytes);
