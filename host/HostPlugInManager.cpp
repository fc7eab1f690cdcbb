#include "HostPlugInManager.h"

HostPlugInManager::HostPlugInManager(QObject* AParent)
    : QObject(AParent) {}

HResult HostPlugInManager::QueryInterface(const QUuid& AIid, void** AObj) {
    if (AIid == Iid()) {
        _AddRef();
        *AObj = static_cast<IPlugInManager*>(this);
        return S_OK;
    }
    *AObj = nullptr;
    return E_NOINTERFACE;
}

int HostPlugInManager::_AddRef() {
    return ++FRefCount;
}

int HostPlugInManager::_Release() {
    return --FRefCount;
}

void HostPlugInManager::PlugInReleased(std::uint32_t APlugInId) {
    emit Released(APlugInId);
}
