// Placeholder until the width tables land.
#include "platform/Width.h"

namespace platform {

std::u16string toFullWidth(std::u16string_view text) { return std::u16string(text); }
std::u16string toHalfWidth(std::u16string_view text) { return std::u16string(text); }

} // namespace platform
