#pragma once

#include "core/addressbook/AddressBook.h"
#include "core/app/MainState.h"
#include "core/app/Prompts.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What the address book window may reach of the main window: the destination box and its
// list, the i-mode setting, the Becky! location, the phone models, and the program's files.
namespace core {

class Editor;

class AddressBookHost {
public:
    virtual ~AddressBookHost() = default;

    virtual Prompts& prompts() = 0;
    virtual std::u16string programFile(std::u16string_view name) const = 0;
    virtual std::u16string programFolder() const = 0;
    virtual std::u16string beckyPath() const = 0;
    virtual const std::vector<ModelEntry>& models() const = 0;

    // The i-mode setting box: shown, ticked, and ticking it with its effects.
    virtual bool imodeShown() const = 0;
    virtual bool imodeOn() const = 0;
    virtual void switchImodeOn() = 0;

    // The destination box's text; setting it runs the box's change behaviour.
    virtual std::u16string destination() const = 0;
    virtual void setDestination(std::u16string_view text) = 0;
    // A new item of the destination list holding the address alone.
    virtual void addDestination(std::u16string_view address) = 0;
    // Rewrites addr.adr and the destination list from the entries, keeping the lines others
    // added since the file held `loaded`; the bytes written, or nullopt when the file could not
    // be written (the list then stays as it was).
    virtual std::optional<std::string> writeBook(const std::vector<AddressEntry>& entries,
                                                 const std::optional<std::string>& loaded) = 0;
    // The "アドレス(&A)" button, enabled once addr.adr exists.
    virtual void enableAddressButton() = 0;

    virtual int lastGroupIndex() const = 0;
    virtual void setLastGroupIndex(int index) = 0;
};

// The host over the running editor.
class EditorAddressHost : public AddressBookHost {
public:
    // Questions go to `prompts` when given, else to the editor's.
    explicit EditorAddressHost(Editor& editor, Prompts* prompts = nullptr) : m_editor(editor), m_prompts(prompts) {}

    Prompts& prompts() override;
    std::u16string programFile(std::u16string_view name) const override;
    std::u16string programFolder() const override;
    std::u16string beckyPath() const override;
    const std::vector<ModelEntry>& models() const override;
    bool imodeShown() const override;
    bool imodeOn() const override;
    void switchImodeOn() override;
    std::u16string destination() const override;
    void setDestination(std::u16string_view text) override;
    void addDestination(std::u16string_view address) override;
    std::optional<std::string> writeBook(const std::vector<AddressEntry>& entries,
                                         const std::optional<std::string>& loaded) override;
    void enableAddressButton() override;
    int lastGroupIndex() const override;
    void setLastGroupIndex(int index) override;

private:
    Editor& m_editor;
    Prompts* m_prompts;
};

} // namespace core
