#include "HeldFile.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace test {

#ifdef _WIN32

HeldFile::HeldFile(const std::filesystem::path& path, Sharing sharing) {
    DWORD share = 0;
    if (sharing != Sharing::None)
        share = FILE_SHARE_READ | FILE_SHARE_WRITE;
    if (sharing == Sharing::All)
        share |= FILE_SHARE_DELETE;
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE)
        m_handle = h;
}

bool HeldFile::held() const {
    return m_handle != nullptr;
}

void HeldFile::release() {
    if (m_handle)
        CloseHandle(static_cast<HANDLE>(m_handle));
    m_handle = nullptr;
}

#else

HeldFile::HeldFile(const std::filesystem::path& path, Sharing) : m_fd(::open(path.c_str(), O_RDWR | O_CLOEXEC)) {}

bool HeldFile::held() const {
    return m_fd >= 0;
}

void HeldFile::release() {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

#endif

} // namespace test
