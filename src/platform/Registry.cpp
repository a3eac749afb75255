// Placeholder: an empty registry.
#include "platform/Registry.h"

namespace platform {

std::string regBytes(std::u16string_view, std::u16string_view) { return {}; }
std::u16string getRegString(std::u16string_view, std::u16string_view) { return {}; }

} // namespace platform
