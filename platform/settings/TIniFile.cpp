#include "TIniFile.h"

#include "TIniDocument.h"

#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>
#include <QSaveFile>

namespace {

// One lock for every INI file of the process: settings are written rarely,
// and a single lock cannot be bypassed by two spellings of one path.
Q_GLOBAL_STATIC(QMutex, IniWriteLock)

TIniDocument ReadDocument(const QString& AFileName) {
    QFile File(AFileName);
    if (!File.exists())
        return TIniDocument();
    if (!File.open(QIODevice::ReadOnly))
        throw EInOutError(QStringLiteral("无法读取文件%1：%2").arg(AFileName, File.errorString()));
    const QByteArray Data = File.readAll();
    if (File.error() != QFileDevice::NoError)
        throw EInOutError(QStringLiteral("无法读取文件%1：%2").arg(AFileName, File.errorString()));
    return TIniDocument::Parse(Data);
}

// The mode bits count on their own: a privileged user could still write the
// file, but its owner marked it read-only.
bool IsReadOnly(const QFileInfo& AInfo) {
    const QFile::Permissions AnyWrite = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    return !AInfo.isWritable() || !(AInfo.permissions() & AnyWrite);
}

void SaveDocument(const QString& AFileName, const TIniDocument& ADocument) {
    const QFileInfo Info(AFileName);
    if (Info.exists() && IsReadOnly(Info))
        throw EInOutError(QStringLiteral("文件%1是只读文件，不能写入").arg(AFileName));
    QSaveFile File(AFileName);
    const QByteArray Data = ADocument.ToBytes();
    if (!File.open(QIODevice::WriteOnly) || File.write(Data) != Data.size() || !File.commit())
        throw EInOutError(QStringLiteral("无法写入文件%1：%2").arg(AFileName, File.errorString()));
}

} // namespace

TIniFile::TIniFile(QString AFileName)
    : FFileName(std::move(AFileName)) {}

TIniFile::~TIniFile() = default;

void TIniFile::CreateIfMissing() const {
    if (QFileInfo::exists(FFileName))
        return;
    QFile File(FFileName);
    // NewOnly: a file that another writer has just made is left alone.
    if (!File.open(QIODevice::WriteOnly | QIODevice::NewOnly) && !QFileInfo::exists(FFileName))
        throw EInOutError(QStringLiteral("无法创建文件%1：%2").arg(FFileName, File.errorString()));
}

bool TIniFile::SectionExists(const QString& ASection) {
    return Document().HasSection(ASection);
}

void TIniFile::AddSection(const QString& ASection) {
    Modify([&](TIniDocument& ADocument) {
        if (ADocument.HasSection(ASection))
            return false;
        ADocument.AddSection(ASection);
        return true;
    });
}

QStringList TIniFile::ReadSections() {
    return Document().SectionNames();
}

QStringList TIniFile::ReadSection(const QString& ASection) {
    return Document().KeyNames(ASection);
}

QString TIniFile::ReadString(const QString& ASection, const QString& AIdent,
                             const QString& ADefault) {
    return Document().Value(ASection, AIdent).value_or(ADefault);
}

void TIniFile::WriteString(const QString& ASection, const QString& AIdent, const QString& AValue) {
    Modify([&](TIniDocument& ADocument) {
        ADocument.SetValue(ASection, AIdent, AValue);
        return true;
    });
}

const TIniDocument& TIniFile::Document() {
    if (!FDocument)
        FDocument = std::make_unique<TIniDocument>(ReadDocument(FFileName));
    return *FDocument;
}

void TIniFile::Modify(const std::function<bool(TIniDocument&)>& AEdit) {
    QMutexLocker Lock(IniWriteLock());
    auto Fresh = std::make_unique<TIniDocument>(ReadDocument(FFileName));
    if (AEdit(*Fresh))
        SaveDocument(FFileName, *Fresh);
    FDocument = std::move(Fresh);
}
