// The emoji keyword commands of the main window: replace, remove, check, and the replacement
// after Enter.
#include "core/app/Editor.h"

#include "core/app/Strings.h"
#include "core/text/EmojiSwap.h"
#include "core/text/EmojiTable.h"
#include "core/text/TextEdit.h"
#include "platform/FileStamp.h"

#include <algorithm>
#include <utility>

namespace core {

namespace {

constexpr std::u16string_view NoTable = u"置換定義ファイルがありましぇーん。";

} // namespace

void Editor::emojiReplace(int k) {
    if (k != 0 && k != 1)
        return;
    const EmojiSwapper* table = m_emojiTable.read(programFile(u"Emoji.code"));
    if (!table) {
        prompts().message(AppTitle, NoTable);
        return;
    }
    const std::u16string& body = s.Text1.text;
    auto start = static_cast<std::size_t>(std::clamp(s.Text1.selStart, 0, static_cast<int>(body.size())));
    auto length = static_cast<std::size_t>(std::clamp(s.Text1.selLength, 0, static_cast<int>(body.size() - start)));
    bool selection = length > 0;
    if (!selection)
        start = 0, length = body.size();
    Swapped result = table->swap(std::u16string_view(body).substr(start, length), k == 0,
                                 selection ? std::u16string() : std::move(m_spareBody));
    if (result.count > 0) {
        // The saving applies to the counted copy only while it is the body this command read.
        m_deltaKnown = m_countValid && m_countedBody.equals(body);
        m_byteDelta = result.byteDelta;
        m_keepsForms = result.keepsForms;
        if (selection) {
            replaceBody(static_cast<int>(start), static_cast<int>(length), result.text);
        } else {
            replaceBodyWith(std::move(result.text));
            s.Text1.selStart = static_cast<int>(s.Text1.text.size());
            s.Text1.selLength = 0;
        }
        m_deltaKnown = false;
        m_keepsForms = false;
    }
    s.usedEmoji.clear();
}

void Editor::runAutoReplace() {
    // Without a table there is nothing to replace; saying so after every Enter would only nag.
    if (!platform::fileStamp(programFile(u"Emoji.code")))
        return;
    emojiReplace(0);
}

void Editor::emojiCheck() {
    auto table = readEmojiTable(programFile(u"Emoji.code"));
    long long replaced = 0;
    if (!table) {
        prompts().message(AppTitle, NoTable);
    } else {
        bool fromCaret = prompts().question(u"確認事項", u"現在位置から絵文字チェックを行いますか？", Buttons::YesNo,
                                            Icon::Question) == Answer::Yes;
        // 0-based: the search starts at the character just before the caret.
        std::size_t start = fromCaret ? static_cast<std::size_t>(std::max(s.Text1.selStart - 1, 0)) : 0;
        for (const EmojiEntry& entry : *table) {
            // An empty keyword is found everywhere and would be asked about forever.
            if (entry.keyword.empty())
                continue;
            std::size_t from = start;
            while (from <= s.Text1.text.size()) {
                std::size_t found = s.Text1.text.find(entry.keyword, from);
                if (found == std::u16string::npos)
                    break;
                s.Text1.selStart = static_cast<int>(found);
                s.Text1.selLength = static_cast<int>(entry.keyword.size());
                std::u16string text = entry.keyword + u"を" + entry.emoji + u"に置換しますか？";
                if (prompts().question(u"絵文字発見！！", text, Buttons::YesNo, Icon::Question) == Answer::Yes) {
                    replaceBody(static_cast<int>(found), static_cast<int>(entry.keyword.size()), entry.emoji);
                    s.usedEmoji += entry.emoji;
                    ++replaced;
                    from = found == 0 ? 0 : found - 1; // look again from just before the emoji
                } else {
                    from = found + entry.keyword.size();
                }
            }
        }
    }
    prompts().message(AppTitle, decimal(replaced) + u"個の単語を絵文字に変換しました。");
}

} // namespace core
