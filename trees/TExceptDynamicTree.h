#pragma once

#include "platform/Exception.h"

VARNHOLT_DECLARE_EXCEPTION(, TExceptDynamicTree, Exception)
