// Text entering the body, the title and the destination in the forms the phone's code page carries.
#include "core/app/Editor.h"

#include "core/text/PhoneText.h"
#include "platform/Cp932.h"

namespace core {

std::optional<Editor::BodyAmendment> Editor::amendForPhone(std::size_t begin, std::size_t end) {
    std::u16string& body = s.Text1.text;
    // An edit may complete an emoji begun before it (a keycap mark after its digit) or one that
    // goes on after it: take in the neighbours that belong to it.
    std::size_t from = begin;
    for (int k = 0; k < 3 && from > 0 && from < body.size() && clingsToPrevious(body[from]); ++k)
        --from;
    std::size_t to = end;
    for (int k = 0; k < 3 && to < body.size() && clingsToPrevious(body[to]); ++k)
        ++to;
    const std::u16string_view span = std::u16string_view(body).substr(from, to - from);
    const bool lacking = platform::firstWithoutCp932Form(span) != std::u16string_view::npos;
    std::optional<PhoneText> fixed = lacking ? phoneText(span, true) : std::nullopt;
    // What stays without a form (no emoji stands for it) may meet what completes an emoji in a
    // later edit, which must then look; a look at the whole body that finds none clears that.
    const bool left = lacking && (!fixed || platform::firstWithoutCp932Form(fixed->text) != std::u16string_view::npos);
    m_formless = left || (m_formless && (from > 0 || to < body.size()));
    if (!fixed)
        return std::nullopt;
    body.replace(from, to - from, fixed->text);
    s.usedEmoji += fixed->emoji; // as if inserted from the menu
    return BodyAmendment{from, to - from, fixed->text.size()};
}

} // namespace core
