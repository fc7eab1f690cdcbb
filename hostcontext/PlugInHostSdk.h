#pragma once

// The contract between a host application and the report plug-in: the record
// the host passes to ShowPlugInWindow and everything that hangs off it. Host
// and plug-in both include this header; the field order is fixed.

#include "platform/IInterface.h"
#include "platform/TRegRoot.h"
#include "platform/TStorageType.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <cstdint>

class TApplication;
class TScreen;
class TDbManager;

// The host's numbered system parameters, lines of the form "number=value".
// Parameters the plug-in reads: 11 template folder, 13 settings INI file,
// 14 settings registry key path.
class TSysParams {
public:
    void* Reserved = nullptr;
    QStringList Params;
    TRegRoot RegRoot = Reg_Current_User;
    TStorageType StorageKind = stIniFile;

    // The value of the first line whose name part (before the first "=") is
    // the decimal number, or empty text. A line without "=" has no name
    // part and matches nothing.
    QString GetSysParam(int ANumber) const {
        const QString Name = QString::number(ANumber);
        for (const QString& Line : Params) {
            const qsizetype Equals = Line.indexOf(QLatin1Char('='));
            if (Equals >= 0 && QStringView(Line).left(Equals) == Name)
                return Line.mid(Equals + 1);
        }
        return QString();
    }
};

// The host's options the plug-in reads.
struct TSysOptions {
    // Default index (0, 1 or 2) into the indicator-type list of the window.
    int DefBTypeIndex = 1;
    // "1" switches department mode on.
    QString DeptModeFlag;
};

// The logged-in unit: values by position. Position 0 holds the unit code,
// position 4 the department class.
class TCurUnit {
public:
    QVariantList Values;

    QVariant Items(int AIndex) const { return Values.value(AIndex); }
    int Count() const { return static_cast<int>(Values.size()); }
};

struct THostContext {
    std::int32_t DataYear = 0;
    TDbManager* DbManager = nullptr;
    TSysParams* SysParams = nullptr;
    void* Reserved = nullptr;
    TSysOptions* SysOptions = nullptr;
    TCurUnit* CurUnit = nullptr;
};

// Filled by the plug-in with zero-terminated GBK texts that stay valid while
// the library is loaded; PlugInId belongs to the host.
struct TPlugInInfo {
    std::uint32_t PlugInId = 0;
    const char* ModuleName = nullptr;
    const char* SubsystemName = nullptr;
    const char* Description = nullptr;
};

// The host's notifier.
class IPlugInManager : public IInterface {
public:
    static QUuid Iid() { return QUuid(QStringLiteral("{6F1C2B7A-5E43-4C0D-9A61-2B8E7D4F1C30}")); }

    // Called when the plug-in holds no window any more.
    virtual void PlugInReleased(std::uint32_t APlugInId) = 0;

protected:
    ~IPlugInManager() = default;
};

struct TPlugInHostRecord {
    THostContext* HostContext = nullptr;
    TPlugInInfo* PlugInInfo = nullptr;
    IPlugInManager* PlugInManager = nullptr;
    TApplication* Application = nullptr;
    TScreen* Screen = nullptr;
};

// The one function the plug-in exports. Returns 0 when the request has been
// carried out.
extern "C" {
typedef std::int32_t (*TShowPlugInWindow)(const char* AClassName, TPlugInHostRecord* AHost);
}

constexpr const char* ShowPlugInWindowSymbol = "ShowPlugInWindow";
