#pragma once

#include "core/app/MainState.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The address book files (addr.adr and Becky! group files): one entry per line, fields
// separated by TAB; a line without TAB holding "@" is a bare address.
namespace core {

class Editor;

inline constexpr std::u16string_view AddressBookFile = u"addr.adr";

struct AddressEntry {
    std::u16string address;
    std::u16string name; // equals the address for a bare-address line
    std::u16string tail; // fields 3 onward, TAB-joined as read: model, nickname, home page, PGP ID, ...
};

// Field n (0-based) of a TAB-separated line; empty past the end.
std::u16string_view tabField(std::u16string_view line, std::size_t n);

// The entries of a book file's bytes in file order; with imodeOn, full records whose address
// lacks the carrier tag are left out (bare addresses stay); `hidden` gets those, each with the
// number of kept entries before it.
std::vector<AddressEntry> parseAddressBook(std::string_view bytes, bool imodeOn,
                                           std::vector<std::pair<std::size_t, AddressEntry>>* hidden = nullptr);
// The same from a file; empty when the file cannot be read.
std::vector<AddressEntry> readAddressBook(std::u16string_view path, bool imodeOn,
                                          std::vector<std::pair<std::size_t, AddressEntry>>* hidden = nullptr);

// The destination list's items for the lines of a book: name<address> with the model's index
// for a full record, the line itself for a bare address.
std::vector<ListEntry> destinationItems(const std::vector<std::u16string>& lines,
                                        const std::vector<ModelEntry>& models);

// The destination list's text for a full record: name + "<" + address + ">".
std::u16string destinationText(std::u16string_view name, std::u16string_view address);

// address TAB name TAB tail.
std::u16string addressLine(const AddressEntry& entry);

// Rewrites addr.adr in the program's folder from the entries and rebuilds the destination
// list (Combo1's items) from the file as written. An entry with neither tail nor address is
// dropped; one without a tail is stored as its address alone. `loaded` is the file as the
// caller read it (nullopt: there was none): lines another writer added since then (a sent
// mail's new destination, a second editor) are kept after the entries. The bytes written, or
// nullopt when the file could not be read or written; the list is then left as it was.
std::optional<std::string> writeAddressBook(Editor& editor, const std::vector<AddressEntry>& entries,
                                            const std::optional<std::string>& loaded);

// Appends address TAB name TAB tail (the tail verbatim, even empty) to the book file.
bool appendAddressEntry(std::u16string_view path, const AddressEntry& entry);

// Appends a line holding only the address to the book file.
bool appendBareAddress(std::u16string_view path, std::u16string_view address);

} // namespace core
