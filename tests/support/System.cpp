#include "System.h"

#include <cstdlib>

namespace test {

#ifdef _WIN32
void setEnv(const char* name, const std::string& value) {
    _putenv_s(name, value.c_str());
}

void unsetEnv(const char* name) {
    _putenv_s(name, ""); // an empty value removes the variable
}
#else
void setEnv(const char* name, const std::string& value) {
    setenv(name, value.c_str(), 1);
}

void unsetEnv(const char* name) {
    unsetenv(name);
}
#endif

} // namespace test
