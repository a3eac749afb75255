#include "core/addressbook/AddressBook.h"

#include "core/addressbook/ModelList.h"
#include "core/app/Editor.h"
#include "core/app/Strings.h"
#include "platform/Cp932.h"
#include "platform/Files.h"

#include <algorithm>
#include <unordered_map>

namespace core {

std::u16string_view tabField(std::u16string_view line, std::size_t n) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t tab = line.find(u'\t', start);
        if (tab == std::u16string_view::npos)
            return {};
        start = tab + 1;
    }
    const std::size_t end = line.find(u'\t', start);
    return line.substr(start, end == std::u16string_view::npos ? std::u16string_view::npos : end - start);
}

namespace {

// Calls f with each line's bytes: CR LF, a lone CR or a lone LF ends a line, and a last line
// without an end counts. CR, LF and TAB never occur inside a CP932 character, so lines and fields
// are cut before decoding; decoding each field straight into its string keeps a large book fast.
template <typename F> void forEachLine(std::string_view bytes, F&& f) {
    constexpr std::size_t none = std::string_view::npos;
    std::size_t start = 0;
    std::size_t lf = bytes.find('\n'); // kept between lines: a file of lone CRs stays linear
    while (start < bytes.size()) {
        if (lf != none && lf < start)
            lf = bytes.find('\n', start);
        const std::string_view rest = bytes.substr(start, lf == none ? none : lf - start);
        // A CR ends the line too, alone or before the LF.
        const std::size_t cr = rest.find('\r');
        if (cr != none) {
            f(rest.substr(0, cr));
            start += cr + (cr + 1 == rest.size() && lf != none ? 2 : 1);
            continue;
        }
        f(rest);
        if (lf == none)
            break;
        start = lf + 1;
    }
}

} // namespace

// The lines of `current` that `loaded` does not hold, counted with repeats: what others added.
std::vector<std::string_view> addedLines(std::string_view current, std::string_view loaded) {
    std::unordered_map<std::string_view, std::size_t> before;
    forEachLine(loaded, [&](std::string_view line) { ++before[line]; });
    std::vector<std::string_view> added;
    forEachLine(current, [&](std::string_view line) {
        auto it = before.find(line);
        if (it != before.end() && it->second > 0)
            --it->second;
        else if (!line.empty())
            added.push_back(line);
    });
    return added;
}

std::vector<AddressEntry> readAddressBook(std::u16string_view path, bool imodeOn,
                                          std::vector<std::pair<std::size_t, AddressEntry>>* hidden) {
    const auto bytes = platform::readBytes(path);
    return bytes ? parseAddressBook(*bytes, imodeOn, hidden) : std::vector<AddressEntry>();
}

std::vector<AddressEntry> parseAddressBook(std::string_view bytes, bool imodeOn,
                                           std::vector<std::pair<std::size_t, AddressEntry>>* hidden) {
    std::vector<AddressEntry> entries;
    entries.reserve(static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1);
    forEachLine(bytes, [&](std::string_view line) {
        const std::size_t firstTab = line.find('\t');
        if (firstTab == std::string_view::npos) {
            std::u16string text = platform::decodeCp932(line);
            if (contains(text, u"@")) {
                std::u16string name = text;
                entries.push_back({std::move(text), std::move(name), {}});
            }
            return;
        }
        std::u16string address = platform::decodeCp932(line.substr(0, firstTab));
        const bool shown = !imodeOn || contains(address, CarrierTag);
        if (!shown && !hidden)
            return;
        const std::size_t secondTab = line.find('\t', firstTab + 1);
        std::u16string name = platform::decodeCp932(line.substr(
            firstTab + 1, secondTab == std::string_view::npos ? std::string_view::npos : secondTab - firstTab - 1));
        std::u16string tail =
            secondTab == std::string_view::npos ? std::u16string() : platform::decodeCp932(line.substr(secondTab + 1));
        AddressEntry entry{std::move(address), std::move(name), std::move(tail)};
        if (shown)
            entries.push_back(std::move(entry));
        else
            hidden->emplace_back(entries.size(), std::move(entry));
    });
    return entries;
}

std::u16string destinationText(std::u16string_view name, std::u16string_view address) {
    std::u16string text(name);
    text += u'<';
    text += address;
    text += u'>';
    return text;
}

std::u16string addressLine(const AddressEntry& entry) {
    // Whatever a field holds, the entry stays one line of its own fields.
    std::u16string line = oneField(entry.address);
    line += u'\t';
    line += oneField(entry.name);
    line += u'\t';
    line += oneLine(entry.tail);
    return line;
}

std::vector<ListEntry> destinationItems(const std::vector<std::u16string>& lines,
                                        const std::vector<ModelEntry>& models) {
    std::vector<ListEntry> items;
    items.reserve(lines.size());
    // Thousands of entries name a hundred models: each name is looked up, not searched for.
    std::unordered_map<std::u16string_view, int> indexOf;
    for (std::size_t i = models.size(); i-- > 0;)
        indexOf[models[i].name] = static_cast<int>(i); // the first of equal names wins
    const auto model = [&](std::u16string_view name) {
        const auto it = indexOf.find(name);
        return it == indexOf.end() ? 0 : it->second;
    };
    for (const std::u16string& line : lines) {
        if (line.find(u'\t') != std::u16string::npos)
            items.push_back({destinationText(tabField(line, 1), tabField(line, 0)), model(tabField(line, 2))});
        else if (contains(line, u"@"))
            items.push_back({line, 0});
    }
    return items;
}

std::optional<std::string> writeAddressBook(Editor& editor, const std::vector<AddressEntry>& entries,
                                            const std::optional<std::string>& loaded) {
    std::vector<std::u16string> lines;
    lines.reserve(entries.size());
    for (const AddressEntry& entry : entries) {
        if (entry.tail.empty()) {
            if (!entry.address.empty())
                lines.push_back(oneField(entry.address));
        } else {
            lines.push_back(addressLine(entry));
        }
    }
    std::string written;
    std::size_t ours = lines.size();
    // Built from the file as it is at the moment of writing, so nobody's later lines are lost.
    const bool saved =
        platform::updateFile(editor.programFile(AddressBookFile), [&](const std::optional<std::string>& current) {
            lines.resize(ours);
            written = platform::joinLines(lines);
            if (current)
                for (std::string_view line : addedLines(*current, loaded ? *loaded : std::string_view())) {
                    lines.push_back(platform::decodeCp932(line));
                    written.append(line);
                    written += "\r\n";
                }
            return std::optional<std::string>(written);
        });
    // The destination list follows the file: a failed write leaves both as they were.
    if (!saved)
        return std::nullopt;
    editor.s.Combo1.items = destinationItems(lines, editor.models);
    editor.view().refresh();
    return written;
}

bool appendAddressEntry(std::u16string_view path, const AddressEntry& entry) {
    return platform::appendRecord(path, platform::joinLines({addressLine(entry)}));
}

bool appendBareAddress(std::u16string_view path, std::u16string_view address) {
    return platform::appendRecord(path, platform::joinLines({oneField(address)}));
}

} // namespace core
