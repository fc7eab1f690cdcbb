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

void TARQuery::LastReleased() {
    if (!FDestroying)
        Free();
}
