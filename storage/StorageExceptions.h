#pragma once

#include "platform/Exception.h"

// Errors of the settings storage.
VARNHOLT_DECLARE_EXCEPTION(, TDataSecExcept, Exception)
VARNHOLT_DECLARE_EXCEPTION(, TExceptppDataStorage, Exception)
// The framework's string-list error, raised for a section that has no
// storage to read from or write to.
VARNHOLT_DECLARE_EXCEPTION(, EStringListError, Exception)
