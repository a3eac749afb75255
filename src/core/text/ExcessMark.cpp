#include "core/text/ExcessMark.h"

#include "core/text/WeightedCount.h"

namespace core {

std::size_t ExcessMark::update(std::u16string_view body, double limit, double count, std::size_t editedAt) {
    if (count <= limit) {
        m_known = false;
        return body.size();
    }
    if (m_known && m_limit == limit && editedAt != std::u16string_view::npos && editedAt >= m_from &&
        m_from < body.size())
        return m_from;
    double sum = 0;
    std::size_t from = 0;
    for (; from < body.size(); ++from) {
        sum += unitWeight(body[from]);
        if (sum > limit)
            break;
    }
    // One unit back when it falls between the halves of a CR LF or a surrogate pair.
    if (from > 0 && from < body.size()) {
        const char16_t before = body[from - 1], at = body[from];
        if ((before == u'\r' && at == u'\n') || (before >= 0xD800 && before < 0xDC00 && at >= 0xDC00 && at < 0xE000))
            --from;
    }
    m_from = from;
    m_limit = limit;
    m_known = true;
    return from;
}

} // namespace core
