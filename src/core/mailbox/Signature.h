#pragma once

#include <string>
#include <string_view>

namespace core::mailbox {

// The signature is kept with "\n" for its line breaks; this gives the text it stands for.
std::u16string expandSignature(std::u16string_view stored);

} // namespace core::mailbox
