#include "TItemInfo.h"

TItemInfo::~TItemInfo() = default;
