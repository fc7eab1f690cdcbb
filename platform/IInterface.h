#pragma once

#include <QUuid>
#include <cstdint>

using HResult = std::int32_t;
constexpr HResult S_OK = 0;
constexpr HResult E_NOINTERFACE = static_cast<HResult>(0x80004002u);

// The reference-counted interface root: query-interface, add-reference and
// release, in that slot order, so hosts can rely on the vtable layout.
class IInterface {
public:
    // The root interface's identifier (IUnknown's), which every interface
    // answers.
    static QUuid Iid() { return QUuid(QStringLiteral("{00000000-0000-0000-C000-000000000046}")); }

    virtual HResult QueryInterface(const QUuid& AIid, void** AObj) = 0;
    virtual int _AddRef() = 0;
    virtual int _Release() = 0;

protected:
    ~IInterface() = default;
};
