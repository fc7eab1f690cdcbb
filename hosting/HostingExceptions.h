#pragma once

#include "platform/Exception.h"

// Errors of the window manager and the object factory.
VARNHOLT_DECLARE_EXCEPTION(, TExceptResRefManager, Exception)
VARNHOLT_DECLARE_EXCEPTION(, TObjectFactionError, Exception)
