// The system's own words for an error code.
#pragma once

#include <cstdint>
#include <string>

#include "os/Kernel32.h"

namespace platform {

// Windows' text for the error, without its line end; "Error N." where the system has none.
std::string ErrorText(os::Kernel32& kernel32, std::uint32_t error);

}  // namespace platform
