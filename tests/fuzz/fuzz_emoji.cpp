// Emoji.code: every entry is one character and its keyword, taken from one line of the file;
// the registry window saves what it read so that it reads back the same.
#include "FuzzSupport.h"

#include "core/text/EmojiRegistry.h"
#include "core/text/EmojiTable.h"
#include "platform/Files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const std::u16string path = fuzz::writeFile("Emoji.code", in.rest());
    const auto lines = platform::readLines(path);
    const auto table = core::readEmojiTable(path);
    FUZZ_CHECK(lines && table);
    FUZZ_CHECK(table->size() <= lines->size());
    std::size_t line = 0;
    for (const core::EmojiEntry& entry : *table) {
        FUZZ_CHECK(entry.emoji.size() == 1);
        // Entries come from the lines in order: each is the emoji, one separator, the keyword.
        while (line < lines->size() && !((*lines)[line].size() >= 2 && (*lines)[line][0] == entry.emoji[0] &&
                                         std::u16string_view((*lines)[line]).substr(2) == entry.keyword))
            ++line;
        FUZZ_CHECK(line < lines->size());
        ++line;
        FUZZ_CHECK(core::emojiMenuCaption(entry).size() == entry.keyword.size() + 8);
    }
    fuzz::HeadlessEditor h;
    // The registry window's rows, saved and opened again, are the same rows.
    core::EditorEmojiBody body(h.editor);
    core::EmojiRegistry registry(h.prompts, body, path);
    registry.open();
    FUZZ_CHECK(registry.f.List1.size() == table->size());
    const std::vector<std::u16string> rows = registry.f.List1;
    for (const std::u16string& row : rows)
        FUZZ_CHECK(core::EmojiRegistry::rowEmoji(row).size() <= 1);
    FUZZ_CHECK(registry.apply());
    registry.open();
    FUZZ_CHECK(registry.f.List1 == rows);
    h.editor.startup(u"");
    FUZZ_CHECK(h.editor.s.PutChar.size() <= 20); // the quick menu
    return 0;
}
