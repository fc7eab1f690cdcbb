#pragma once

#include <cstdint>

// Where a settings store keeps its sections. Stored in one byte by hosts.
enum TStorageType : std::uint8_t {
    stIniFile = 0,
    stRegistry = 1,
};
