#pragma once

#include <string>

// What differs between the systems the tests run on.
namespace test {

#ifdef _WIN32
inline constexpr bool onWindows = true;
#else
inline constexpr bool onWindows = false;
#endif

// The environment variable set to the value, or removed.
void setEnv(const char* name, const std::string& value);
void unsetEnv(const char* name);

} // namespace test
