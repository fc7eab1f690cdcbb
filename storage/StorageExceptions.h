#pragma once

#include "platform/Exception.h"

// Errors of the settings storage.
VARNHOLT_DECLARE_EXCEPTION(, TDataSecExcept, Exception)
VARNHOLT_DECLARE_EXCEPTION(, TExceptppDataStorage, Exception)
