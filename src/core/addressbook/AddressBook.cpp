#include "core/addressbook/AddressBook.h"

#include "core/addressbook/ModelList.h"
#include "core/app/Editor.h"
#include "core/app/Strings.h"
#include "platform/Files.h"

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

std::vector<AddressEntry> readAddressBook(std::u16string_view path, bool imodeOn,
                                          std::vector<std::pair<std::size_t, AddressEntry>>* hidden) {
    std::vector<AddressEntry> entries;
    auto lines = platform::readLines(path);
    if (!lines)
        return entries;
    for (const std::u16string& line : *lines) {
        const std::size_t firstTab = line.find(u'\t');
        if (firstTab == std::u16string::npos) {
            if (contains(line, u"@"))
                entries.push_back({line, line, {}});
            continue;
        }
        std::u16string address = line.substr(0, firstTab);
        const bool shown = !imodeOn || contains(address, CarrierTag);
        if (!shown && !hidden)
            continue;
        const std::size_t secondTab = line.find(u'\t', firstTab + 1);
        std::u16string name = line.substr(firstTab + 1, secondTab == std::u16string::npos ? std::u16string::npos
                                                                                          : secondTab - firstTab - 1);
        std::u16string tail = secondTab == std::u16string::npos ? std::u16string() : line.substr(secondTab + 1);
        AddressEntry entry{std::move(address), std::move(name), std::move(tail)};
        if (shown)
            entries.push_back(std::move(entry));
        else
            hidden->emplace_back(entries.size(), std::move(entry));
    }
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
    std::u16string line = entry.address;
    line += u'\t';
    line += entry.name;
    line += u'\t';
    line += entry.tail;
    return line;
}

bool writeAddressBook(Editor& editor, const std::vector<AddressEntry>& entries) {
    std::vector<ListEntry> list;
    std::vector<std::u16string> lines;
    for (const AddressEntry& entry : entries) {
        if (entry.tail.empty()) {
            if (entry.address.empty())
                continue;
            lines.push_back(entry.address);
            list.push_back({entry.address, 0});
        } else {
            lines.push_back(addressLine(entry));
            list.push_back(
                {destinationText(entry.name, entry.address), modelIndex(editor.models, tabField(entry.tail, 0))});
        }
    }
    // The destination list follows the file: a failed write leaves both as they were.
    if (!platform::replaceFile(editor.programFile(AddressBookFile), platform::joinLines(lines)))
        return false;
    editor.s.Combo1.items = std::move(list);
    editor.view().refresh();
    return true;
}

bool appendAddressEntry(std::u16string_view path, const AddressEntry& entry) {
    return platform::appendRecord(path, platform::joinLines({addressLine(entry)}));
}

bool appendBareAddress(std::u16string_view path, std::u16string_view address) {
    return platform::appendRecord(path, platform::joinLines({std::u16string(address)}));
}

} // namespace core
