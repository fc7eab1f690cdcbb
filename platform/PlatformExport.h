#pragma once

// Symbols of the platform library are shared by the host and the plug-in, so
// every class has one identity (one QMetaObject, one typeinfo) on both sides,
// even when the including target hides its own symbols.
#define PLATFORM_EXPORT __attribute__((visibility("default")))
