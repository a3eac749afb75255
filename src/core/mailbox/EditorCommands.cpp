#include "core/app/Editor.h"
#include "platform/Cp932.h"
#include "platform/Files.h"
#include "platform/Utf8Text.h"

#include <optional>

namespace core {

namespace {

constexpr std::uint64_t LargestTextFile = 64000;

// The body box holds CR LF line breaks; files from elsewhere may use lone LF or CR.
std::u16string withCrLf(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char16_t c = text[i];
        if (c == u'\r') {
            out += u"\r\n";
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
        } else if (c == u'\n') {
            out += u"\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

void Editor::newMail() {
    titleChanged(u"");
    if (!s.Text1.text.empty())
        setBody(u"");
    s.usedEmoji.clear();
    s.modified = false;
    view().refresh();
}

void Editor::copyDisp(int i) {
    const std::u16string* text = i == 0 ? &s.Combo1.text : i == 1 ? &s.Text2.text : i == 2 ? &s.Text1.text : nullptr;
    if (text && !text->empty())
        view().setClipboardText(*text);
}

void Editor::loadTextFile(std::u16string_view path) {
    auto size = platform::fileSize(path);
    if (!size)
        return;
    if (*size > LargestTextFile) {
        prompts().message(u"ごめんなさい", u"すんまそん64K以上のファイルには、対応してまへんねん");
        return;
    }
    auto bytes = platform::readBytes(path);
    if (!bytes || bytes->empty())
        return;
    // A file saved on a desktop that writes UTF-8 is read as such, not as garbled Shift_JIS.
    std::optional<std::u16string> utf8 = platform::decodeUtf8Text(*bytes);
    setBody(withCrLf(utf8 ? *utf8 : platform::decodeCp932(*bytes)));
}

} // namespace core
