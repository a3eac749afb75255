#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Lines of a CP932 text file. CR LF ends a line; a lone LF or CR does too; a last line
// without an end counts. nullopt when the file cannot be read.
std::optional<std::vector<std::u16string>> readLines(std::u16string_view path);

std::optional<std::string> readBytes(std::u16string_view path);
std::optional<std::uint64_t> fileSize(std::u16string_view path);

// Adds all the bytes at the end (creating the file when absent), or on any failure leaves the
// file as it was (restored to its old length) and returns false. Never a half record. When the
// file's last line has no line end, CR LF (or the LF a final CR lacks) goes first, in the same write.
// A journal beside the file ("NAME.jnl", holding the sizes before and after, the bytes before
// the append point and the record) lives while the bytes go out, so a record cut short by a
// killed process is cut back by the next append or by recoverAppend, as long as nothing but
// that record follows the old end. Appends to one file take turns across processes (a second
// waits up to a second, then fails). A read-only file, or anything but a file, is refused.
bool appendRecord(std::u16string_view path, std::string_view bytes);

// Cuts back the part of a record that an append killed midway left in the file; an append
// still going on in another process is left alone. False only when that cut was due and failed.
bool recoverAppend(std::u16string_view path);

// Writes a temporary file beside the target ("NAME.xxxxxxxx.tmp"), flushes it to disk and
// renames it over the target, so a crash leaves the old or the new file, never a truncated
// one. Temporary files that killed saves of the same file left are removed first; a save going
// on in another process keeps its own locked. A read-only target is refused and kept.
bool replaceFile(std::u16string_view path, std::string_view bytes);

// Rewrites a file from what it holds at the moment of writing, so that what another writer
// added since the caller read it is not lost: `build` gets the file's bytes (nullopt when it
// does not exist) and returns the new bytes, or nullopt to leave the file alone. The file is
// then replaced as replaceFile does. Appends by this program to the file, in any process, wait
// for it from the read to the rename (on Windows, to just before it), and then append to the
// new file. False when the file exists but cannot be read, when build declines, or when the
// write fails.
using FileBuilder = std::function<std::optional<std::string>(const std::optional<std::string>& current)>;
bool updateFile(std::u16string_view path, const FileBuilder& build);

// Encodes lines as CP932, each ended by CR LF.
std::string joinLines(const std::vector<std::u16string>& lines);

// Test hook: when set, every write of appendRecord / replaceFile goes through it. It gets the
// file descriptor, the bytes and returns how many it wrote (-1 for an error), like write(2).
using WriteHook = std::function<long(int fd, const char* data, std::size_t size)>;
void setWriteHookForTests(WriteHook hook);

// Test hook: when set, appendRecord and updateFile call it once the file is open and before
// they take its lock: the moment when another process may get its turn first.
using BeforeLockHook = std::function<void()>;
void setBeforeLockHookForTests(BeforeLockHook hook);

} // namespace platform
