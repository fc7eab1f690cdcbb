#include "TARQuery.h"

TARQuery::TARQuery(TComponent* AOwner)
    : TADOQuery(AOwner) {}

TARQuery::~TARQuery() {
    FDestroying = true;
}

void TARQuery::BeforeDestruction() {
    FDestroying = true;
    TADOQuery::BeforeDestruction();
}

HResult TARQuery::QueryInterface(const QUuid& AIid, void** AObj) {
    if (AIid == IARQuery::Iid()) {
        _AddRef();
        *AObj = static_cast<IARQuery*>(this);
        return S_OK;
    }
    *AObj = nullptr;
    return E_NOINTERFACE;
}

int TARQuery::_AddRef() {
    return ++FRefCount;
}

int TARQuery::_Release() {
    const int Count = --FRefCount;
    if (Count == 0 && !FDestroying)
        Free();
    return Count;
}
