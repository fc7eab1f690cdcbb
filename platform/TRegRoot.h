#pragma once

#include <cstdint>

// Root of a registry key path. Values are stored in one byte by hosts.
enum TRegRoot : std::uint8_t {
    Reg_Current_User = 0,
    Reg_Local_Machine = 1,
    Reg_Current_Config = 2,
    Reg_Classes_Root = 3,
    Reg_Users = 4,
    Reg_Dyn_Data = 5,
};
