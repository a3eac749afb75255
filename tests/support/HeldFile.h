#pragma once

#include <filesystem>

namespace test {

// Another program's handle on a file, as Becky! holds its mailbox while it sends. Only Windows
// lets such a handle refuse others; elsewhere it is an open descriptor that blocks nothing.
class HeldFile {
public:
    enum class Sharing {
        None,      // nobody else may open the file
        ReadWrite, // others may read and write, not delete or rename over it
        All,       // read, write and delete
    };
    HeldFile(const std::filesystem::path& path, Sharing sharing);
    ~HeldFile() { release(); }
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;

    bool held() const;
    void release();

private:
#ifdef _WIN32
    void* m_handle = nullptr;
#else
    int m_fd = -1;
#endif
};

} // namespace test
