#include "platform/ErrorText.h"

#include <cctype>
#include <exception>

namespace platform {

std::string ErrorText(os::Kernel32& kernel32, std::uint32_t error) {
  std::string text;
  try {
    text = kernel32.FormatMessageA(error);
  } catch (const std::exception&) {
    // No text of Windows' own: the number stands instead.
  }
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.pop_back();
  return text.empty() ? "Error " + std::to_string(error) + "." : text;
}

}  // namespace platform
