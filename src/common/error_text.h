// The system's reason for a failed file operation, as a Japanese sentence for the user.
#pragma once

#include <string>
#include <system_error>

namespace vardo {

// On Windows the system's own message, in Japanese where the system has it, else in its default
// language; elsewhere a Japanese sentence for the common errno values and the C library's text
// for the rest. One line, without a line end.
std::u16string ErrorText(const std::error_code& error);

}  // namespace vardo
