#include "TAdoConn.h"

TAdoConn::TAdoConn(TComponent* AOwner)
    : TADOConnection(AOwner) {}

TAdoConn::~TAdoConn() = default;
