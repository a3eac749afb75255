#pragma once

#include <cstddef>
#include <string>

namespace platform {

// Makes s `size` units long for a result written over it whole. Storage that has the room is
// kept and its old text left in place, not cleared first (a long text's clearing costs as much
// as writing it); storage that lacks it is given up rather than copied into a larger one.
inline void sizeForOverwrite(std::u16string& s, std::size_t size) {
    if (s.capacity() < size)
        s.clear();
    s.resize(size);
}

} // namespace platform
