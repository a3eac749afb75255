#pragma once

#include "core/app/Prompts.h"

#include <string>
#include <string_view>
#include <vector>

// The emoji code registry window (Form2): its state and commands. It edits its own copy of
// the keyword table and writes Emoji.code only when applied or confirmed on closing.
namespace core {

class Editor;

// All the registry window may do to the main window.
class EmojiBody {
public:
    virtual ~EmojiBody() = default;
    // Appends the emoji at the end of the body (not at the caret) and to UsedEmoji.
    virtual void appendEmoji(std::u16string_view emoji) = 0;
};

// The main window's editor as that body.
class EditorEmojiBody : public EmojiBody {
public:
    explicit EditorEmojiBody(Editor& editor) : m_editor(editor) {}
    void appendEmoji(std::u16string_view emoji) override;

private:
    Editor& m_editor;
};

inline constexpr int CodeBrowserMax = 206;

// The Shift_JIS code that code browser position v (0 to 206) stands for: F89F-F8FC, then F940-F9B0.
int browserCode(int v);

struct RegistryState {
    std::u16string caption = u"文字コード登録";
    int HScroll1 = 0;                  // the code browser
    std::u16string Label1 = u"記号";   // "記号" and the browser position
    std::u16string Text1;              // the emoji being edited, one character at most
    std::u16string Text2;              // its keyword
    std::vector<std::u16string> List1; // rows: keyword, two tabs, emoji
    int listIndex = -1;                // selected row, -1 for none
    bool TableModified = false;        // the rows differ from what was last saved
};

class EmojiRegistry {
public:
    EmojiRegistry(Prompts& prompts, EmojiBody& body, std::u16string tablePath);

    RegistryState f;

    void open(); // loads the table afresh
    void browse(int v);
    void characterEdited(std::u16string_view text); // Text1 changed
    void keywordEdited(std::u16string_view text);   // Text2 changed
    void rowClicked(int row);
    void findByCharacter();   // Label1 clicked
    void findByKeyword();     // Label2 clicked
    void registerEntry();     // "登録"
    void move(int direction); // "▲" (0) and "▼" (1)
    void deleteRow();         // "削除"
    void sort();              // "ソ ｜ ト"
    void putIntoBody();       // "本文 記入", or a double click on a row
    bool apply();             // "適用"; false when the file could not be written
    void cancel();            // "キャンセル": the window then closes without asking
    // The closing questions; false keeps the window open (a failed save).
    bool requestClose();

    static std::u16string rowKeyword(std::u16string_view row);
    static std::u16string rowEmoji(std::u16string_view row);

private:
    // Selects the first row whose part is the wanted text, or says there is none.
    void findRow(std::u16string (*part)(std::u16string_view), const std::u16string& wanted);
    bool save();
    void countInTitle();

    Prompts& m_prompts;
    EmojiBody& m_body;
    std::u16string m_tablePath;
    bool m_unreadable = false; // the table exists but could not be read: never written over
};

} // namespace core
