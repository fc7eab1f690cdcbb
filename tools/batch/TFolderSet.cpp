#include "TFolderSet.h"

#include "cell/TCellOutputFile.h"
#include "report/tables/ReportFileNames.h"

#include <QDir>
#include <QFile>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A record is a few lines and a file name a line each; a list of units of
// a whole province stays far below this.
constexpr qint64 RecordLimit = 16 * 1024 * 1024;

bool StatOf(const QString& APath, struct stat& AInfo) {
    return ::lstat(QFile::encodeName(APath).constData(), &AInfo) == 0;
}

// A regular file of the running user's: a record another user put there
// tells nothing about the program's files.
bool IsOwnFile(const QString& APath) {
    struct stat Info {};
    return StatOf(APath, Info) && S_ISREG(Info.st_mode) && Info.st_uid == ::geteuid();
}

bool IsOwnFolder(const QString& APath) {
    struct stat Info {};
    return StatOf(APath, Info) && S_ISDIR(Info.st_mode) && Info.st_uid == ::geteuid();
}

// Only regular files and links are removed: a folder, a device or a pipe
// of one of this program's names is not its own.
bool RemoveFile(const QString& APath) {
    struct stat Info {};
    if (!StatOf(APath, Info) || !(S_ISREG(Info.st_mode) || S_ISLNK(Info.st_mode)))
        return false;
    return ::unlink(QFile::encodeName(APath).constData()) == 0;
}

QString FirstNames(const QStringList& ANames, int AShown = 5) {
    QString Text = ANames.mid(0, AShown).join(QStringLiteral("、"));
    if (ANames.size() > AShown)
        Text += QStringLiteral("等");
    return Text;
}

} // namespace

TFolderSet::TFolderSet(QString AFolder)
    : FFolder(std::move(AFolder)) {
    const QDir Folder(FFolder);
    for (const QString& Name : Folder.entryList(QDir::Files, QDir::Name)) {
        const QString Path = Folder.filePath(Name);
        if (!IsReportFileName(Name) || TCellOutputFile::IsForeignLink(Path))
            continue;
        if (IsAuditFileName(Name) && !IsOwnFile(Path))
            continue;
        FFiles << Name;
        if (IsAuditFileName(Name))
            ReadRecord(Name);
    }
}

void TFolderSet::ReadRecord(const QString& AName) {
    QFile File(QDir(FFolder).filePath(AName));
    TRunRecord Record;
    if (File.size() <= RecordLimit && File.open(QIODevice::ReadOnly) &&
        Record.Read(File.read(RecordLimit)))
        FRecords.emplace_back(AName, Record);
    else
        FUnreadable << AName;
}

QStringList TFolderSet::ListedNames() const {
    QStringList Names;
    for (const auto& [Name, Record] : FRecords)
        Names << Name << Record.Files;
    return Names;
}

QStringList TFolderSet::Unlisted() const {
    const QStringList Accounted = ListedNames();
    QStringList Unlisted;
    for (const QString& Name : FFiles) {
        if (!Accounted.contains(Name) && !FUnreadable.contains(Name))
            Unlisted << Name;
    }
    return Unlisted;
}

QStringList TFolderSet::UnitFolders() const {
    QStringList Folders;
    for (const auto& [Name, Record] : FRecords)
        Folders << Record.UnitFolders;
    return Folders;
}

QString TFolderSet::Conflict(const TRunSelection& ASelection) const {
    const QString Folder = QDir::toNativeSeparators(FFolder);
    for (const auto& [Name, Record] : FRecords) {
        if (!Record.Selection.SameAs(ASelection))
            return QStringLiteral("文件夹 %1 中已有另一选择的报表：%2（见 %3）")
                .arg(Folder, Record.Selection.Text(), Name);
    }
    if (!FUnreadable.isEmpty())
        return QStringLiteral("文件夹 %1 中的审核结果文件读不出它属于哪个选择：%2")
            .arg(Folder, FirstNames(FUnreadable));
    const QStringList Others = Unlisted();
    if (!Others.isEmpty())
        return QStringLiteral("文件夹 %1 中有 %2 个报表文件没有记在任何审核结果文件中，不知属于"
                              "哪个选择（可能是报表窗口导出的，或是没有审核结果文件的）：%3")
            .arg(Folder)
            .arg(Others.size())
            .arg(FirstNames(Others));
    return QString();
}

QStringList TFolderSet::RemoveExcept(const QStringList& AKeep,
                                     const QStringList& AKeepFolders) const {
    const QDir Folder(FFolder);
    QStringList Removed;
    for (const QString& Name : FFiles) {
        if (!AKeep.contains(Name) && RemoveFile(Folder.filePath(Name)))
            Removed << Name;
    }
    for (const QString& Unit : UnitFolders()) {
        if (!AKeepFolders.contains(Unit))
            Removed << RemoveUnitFolder(Unit);
    }
    return Removed;
}

// A unit folder of an earlier run over each unit: what its own records
// list goes, anything else (a clerk's own file) stays, and so does the
// folder then.
QStringList TFolderSet::RemoveUnitFolder(const QString& AUnit) const {
    const QDir Folder(FFolder);
    const QString Path = Folder.filePath(AUnit);
    if (AUnit.contains(QLatin1Char('/')) || AUnit.startsWith(QLatin1Char('.')) ||
        !IsOwnFolder(Path))
        return {};
    QStringList Removed;
    const TFolderSet Inside(Path);
    const QStringList Listed = Inside.ListedNames();
    for (const QString& File : Inside.Files()) {
        if (Listed.contains(File) && RemoveFile(QDir(Path).filePath(File)))
            Removed << AUnit + QLatin1Char('/') + File;
    }
    if (Folder.rmdir(AUnit))
        Removed << AUnit + QLatin1Char('/');
    return Removed;
}

QString RemovedLine(const QStringList& ARemoved) {
    return QStringLiteral("已删除文件夹中原有的、本次没有写出的 %1 个文件：%2")
        .arg(ARemoved.size())
        .arg(FirstNames(ARemoved, 10));
}
