#pragma once

#include <string>
#include <string_view>

namespace core {
class Editor;
}

namespace core::mailbox {

// The signature is kept with "\n" for its line breaks; this gives the text it stands for.
std::u16string expandSignature(std::u16string_view stored);

// SignatureOn and the status caption that shows it ("・署名追加：ON" / "OFF"), always together.
void setSignatureOn(Editor& e, bool on);

} // namespace core::mailbox
