#pragma once

#include "TSettingsStore.h"

#include <functional>
#include <memory>

class TIniDocument;

// An INI file with the Windows profile semantics (see TIniDocument), in
// UTF-8. A missing file reads as empty and is created by the first write.
//
// The file is read once per object, on first use, so one object gives a
// consistent view for one operation. Every write reads the file afresh and
// replaces it atomically while holding a process-wide lock and a lock file
// beside it (<name>.lock), so concurrent writers in this and other processes
// never lose each other's values, and a crash or a full disk never leaves a
// truncated file. A file whose write permission is cleared counts as
// read-only, also for a privileged user, as a read-only file does on Windows.
// Only regular files of up to 16 MB are read. I/O failures raise EInOutError
// naming the file.
class PLATFORM_EXPORT TIniFile : public TSettingsStore {
public:
    // A settings file is small; a file larger than this is not read.
    static constexpr qint64 MaxFileBytes = 16 * 1024 * 1024;

    explicit TIniFile(QString AFileName);
    ~TIniFile() override;

    const QString& FileName() const { return FFileName; }

    // Creates the file empty when nothing of that name exists yet.
    void CreateIfMissing() const;
    bool SectionExists(const QString& ASection);
    // Writes an empty section when the file has none of that name.
    void AddSection(const QString& ASection);

    QStringList ReadSections() override;
    QStringList ReadSection(const QString& ASection) override;
    QString ReadString(const QString& ASection, const QString& AIdent,
                       const QString& ADefault = QString()) override;
    void WriteString(const QString& ASection, const QString& AIdent,
                     const QString& AValue) override;

private:
    const TIniDocument& Document();
    // Runs AEdit on the file's current text under the write lock and saves
    // the result when AEdit reports a change.
    void Modify(const std::function<bool(TIniDocument&)>& AEdit);

    QString FFileName;
    std::unique_ptr<TIniDocument> FDocument;
};
