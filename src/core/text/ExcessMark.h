#pragma once

#include <cstddef>
#include <string_view>

namespace core {

// Where a body's excess over a weighted limit starts: the first character that takes the count
// past the limit, never inside a CR LF or a surrogate pair. Kept edit by edit: only an edit
// before where the excess starts can move it, so typing past the limit costs nothing.
class ExcessMark {
public:
    // The start for the body as it is now, whose weighted count is `count`; `editedAt` is where
    // the body's one edit since the last call began, or npos when it is not known.
    std::size_t update(std::u16string_view body, double limit, double count, std::size_t editedAt);

private:
    std::size_t m_from = 0;
    double m_limit = -1;
    bool m_known = false;
};

} // namespace core
