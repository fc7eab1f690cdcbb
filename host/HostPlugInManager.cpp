#include "HostPlugInManager.h"

HostPlugInManager::HostPlugInManager(QObject* AParent)
    : QObject(AParent)
    , TInterfacedObject(1) {}

void HostPlugInManager::PlugInReleased(std::uint32_t APlugInId) {
    emit Released(APlugInId);
}
