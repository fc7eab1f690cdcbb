#include "TFolderSet.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QRegularExpression OwnName(
    QStringLiteral("^\\d{4}年国库集中支付改革.*(范围划分建议表\\.(xlsx|pdf)|审核结果\\.txt)$"));
const QRegularExpression RecordName(QStringLiteral("^\\d{4}年国库集中支付改革.*审核结果\\.txt$"));

// A record is a few lines and a file name a line each; a list of units of
// a whole province stays far below this.
constexpr qint64 RecordLimit = 16 * 1024 * 1024;

// Only regular files and links are removed: a folder, a device or a pipe
// of one of this program's names is not its own.
bool RemoveFile(const QString& APath) {
    struct stat Info {};
    const QByteArray Path = QFile::encodeName(APath);
    if (::lstat(Path.constData(), &Info) != 0 || !(S_ISREG(Info.st_mode) || S_ISLNK(Info.st_mode)))
        return false;
    return ::unlink(Path.constData()) == 0;
}

// A link of another user's at a table's name is none of this program's:
// it is neither counted nor removed (writing there is refused).
bool IsForeignLink(const QString& APath) {
    struct stat Info {};
    return ::lstat(QFile::encodeName(APath).constData(), &Info) == 0 && S_ISLNK(Info.st_mode) &&
           Info.st_uid != ::geteuid();
}

bool IsRealFolder(const QString& APath) {
    struct stat Info {};
    return ::lstat(QFile::encodeName(APath).constData(), &Info) == 0 && S_ISDIR(Info.st_mode);
}

QString Listed(const QStringList& ANames, int Shown = 5) {
    QString Text = ANames.mid(0, Shown).join(QStringLiteral("、"));
    if (ANames.size() > Shown)
        Text += QStringLiteral("等");
    return Text;
}

} // namespace

bool TFolderSet::IsOwnName(const QString& AName) {
    return OwnName.match(AName).hasMatch();
}

bool TFolderSet::IsRecordName(const QString& AName) {
    return RecordName.match(AName).hasMatch();
}

TFolderSet::TFolderSet(QString AFolder)
    : FFolder(std::move(AFolder)) {
    for (const QString& Name : QDir(FFolder).entryList(QDir::Files, QDir::Name)) {
        if (!IsOwnName(Name) || IsForeignLink(QDir(FFolder).filePath(Name)))
            continue;
        FFiles << Name;
        if (IsRecordName(Name))
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

QStringList TFolderSet::Unlisted() const {
    QStringList Accounted;
    for (const auto& [Name, Record] : FRecords)
        Accounted << Name << Record.Files;
    QStringList Unlisted;
    for (const QString& Name : FFiles) {
        if (!Accounted.contains(Name) && !FUnreadable.contains(Name))
            Unlisted << Name;
    }
    return Unlisted;
}

QString TFolderSet::Conflict(const TRunSelection& ASelection) const {
    for (const auto& [Name, Record] : FRecords) {
        if (!Record.Selection.SameAs(ASelection))
            return QStringLiteral("文件夹 %1 中已有另一选择的报表：%2（见 %3）")
                .arg(QDir::toNativeSeparators(FFolder), Record.Selection.Text(), Name);
    }
    if (!FUnreadable.isEmpty())
        return QStringLiteral("文件夹 %1 中的审核结果文件读不出它属于哪个选择：%2")
            .arg(QDir::toNativeSeparators(FFolder), Listed(FUnreadable));
    const QStringList Others = Unlisted();
    if (!Others.isEmpty())
        return QStringLiteral("文件夹 %1 中有 %2 个报表文件没有记在任何审核结果文件中，不知属于"
                              "哪个选择（可能是报表窗口导出的，或是较早的版本写出的）：%3")
            .arg(QDir::toNativeSeparators(FFolder))
            .arg(Others.size())
            .arg(Listed(Others));
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
    for (const auto& [Name, Record] : FRecords) {
        for (const QString& Unit : Record.UnitFolders) {
            const QString Path = Folder.filePath(Unit);
            if (AKeepFolders.contains(Unit) || Unit.contains(QLatin1Char('/')) ||
                Unit.startsWith(QLatin1Char('.')) || !IsRealFolder(Path))
                continue;
            const TFolderSet Inside(Path);
            for (const QString& File : Inside.Files()) {
                if (RemoveFile(QDir(Path).filePath(File)))
                    Removed << Unit + QLatin1Char('/') + File;
            }
            if (Folder.rmdir(Unit))
                Removed << Unit + QLatin1Char('/');
        }
    }
    return Removed;
}

QString RemovedLine(const QStringList& ARemoved) {
    return QStringLiteral("已删除文件夹中原有的、本次没有写出的 %1 个文件：%2")
        .arg(ARemoved.size())
        .arg(Listed(ARemoved, 10));
}
