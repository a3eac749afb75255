#include "core/text/EmojiRegistry.h"

#include "core/app/Editor.h"
#include "core/app/Strings.h"
#include "core/text/EmojiTable.h"
#include "platform/Cp932.h"
#include "platform/Dir.h"
#include "platform/Files.h"

#include <algorithm>
#include <string>

namespace core {

namespace {

constexpr std::u16string_view DesignCaption = u"文字コード登録";
constexpr std::u16string_view NotFound = u"は、登録されていないようです。";

char16_t folded(char16_t c) {
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

// The sorted list box's order: letters compare without case, ties by the exact text.
bool sortedBefore(const std::u16string& a, const std::u16string& b) {
    auto less = [](char16_t x, char16_t y) { return folded(x) < folded(y); };
    if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), less))
        return true;
    if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), less))
        return false;
    return a < b;
}

// The file keeps one line per row in code page 932: a character without a form there, or a
// line break, would come back as something else.
bool storable(std::u16string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char16_t c) { return c != u'\r' && c != u'\n' && platform::hasCp932Form(c); });
}

std::u16string firstCharacter(std::u16string_view text) {
    if (text.empty())
        return {};
    bool pair = text.size() > 1 && text[0] >= 0xD800 && text[0] < 0xDC00 && text[1] >= 0xDC00 && text[1] < 0xE000;
    return std::u16string(text.substr(0, pair ? 2 : 1));
}

} // namespace

void EditorEmojiBody::appendEmoji(std::u16string_view emoji) {
    TextBox& body = m_editor.s.Text1;
    int start = body.selStart, length = body.selLength;
    m_editor.replaceBody(static_cast<int>(body.text.size()), 0, emoji);
    // The emoji goes to the end; where the user was writing stays as it was.
    body.selStart = start;
    body.selLength = length;
    m_editor.s.usedEmoji += emoji;
}

int browserCode(int v) {
    int code = 0xF89F + v;
    return code <= 0xF8FC ? code : code + 0x43;
}

EmojiRegistry::EmojiRegistry(Prompts& prompts, EmojiBody& body, std::u16string tablePath)
    : m_prompts(prompts), m_body(body), m_tablePath(std::move(tablePath)) {}

std::u16string EmojiRegistry::rowKeyword(std::u16string_view row) {
    return std::u16string(row.substr(0, row.size() >= 3 ? row.size() - 3 : 0));
}

std::u16string EmojiRegistry::rowEmoji(std::u16string_view row) {
    return row.empty() ? std::u16string() : std::u16string(row.substr(row.size() - 1));
}

void EmojiRegistry::open() {
    f = RegistryState{};
    auto table = readEmojiTable(m_tablePath);
    m_unreadable = !table && platform::fileExists(m_tablePath);
    if (m_unreadable)
        m_prompts.message(AppTitle, m_tablePath + std::u16string(CannotReadFile), Icon::Exclamation);
    if (!table)
        return;
    for (const EmojiEntry& e : *table)
        f.List1.push_back(e.keyword + u"\t\t" + e.emoji);
    countInTitle();
}

void EmojiRegistry::countInTitle() {
    f.caption = std::u16string(DesignCaption) + u"登録数：" + decimal(static_cast<long long>(f.List1.size()));
}

void EmojiRegistry::browse(int v) {
    v = std::clamp(v, 0, CodeBrowserMax);
    f.HScroll1 = v;
    int code = browserCode(v);
    std::string bytes{static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
    f.Text1 = platform::decodeCp932(bytes);
    std::u16string digits = u"000";
    for (int i = 2; i >= 0; --i, v /= 10)
        digits[static_cast<std::size_t>(i)] = static_cast<char16_t>(u'0' + v % 10);
    f.Label1 = u"記号" + digits;
}

void EmojiRegistry::characterEdited(std::u16string_view text) {
    f.Text1 = firstCharacter(text);
}

void EmojiRegistry::keywordEdited(std::u16string_view text) {
    f.Text2 = text;
}

void EmojiRegistry::rowClicked(int row) {
    if (row < 0 || row >= static_cast<int>(f.List1.size()))
        return;
    f.listIndex = row;
    const std::u16string& text = f.List1[static_cast<std::size_t>(row)];
    f.Text1 = rowEmoji(text);
    f.Text2 = rowKeyword(text);
}

void EmojiRegistry::findByCharacter() {
    findRow(rowEmoji, f.Text1);
}

void EmojiRegistry::findByKeyword() {
    findRow(rowKeyword, f.Text2);
}

void EmojiRegistry::findRow(std::u16string (*part)(std::u16string_view), const std::u16string& wanted) {
    for (std::size_t i = 0; i < f.List1.size(); ++i)
        if (part(f.List1[i]) == wanted) {
            rowClicked(static_cast<int>(i));
            return;
        }
    m_prompts.message(AppTitle, wanted + std::u16string(NotFound));
}

void EmojiRegistry::registerEntry() {
    const std::u16string emoji = f.Text1, keyword = f.Text2;
    // An empty keyword would overlap every row, an empty character make a line the file
    // cannot hold; neither can be registered.
    if (emoji.empty()) {
        m_prompts.message(AppTitle, u"登録する文字を入力してください。", Icon::Exclamation);
        return;
    }
    if (keyword.empty()) {
        m_prompts.message(AppTitle, u"キーワードを入力してください。", Icon::Exclamation);
        return;
    }
    if (!storable(emoji) || !storable(keyword)) {
        m_prompts.message(AppTitle, u"Shift_JISで保存できない文字は、登録できません。", Icon::Exclamation);
        return;
    }
    for (std::size_t i = 0; i < f.List1.size(); ++i) {
        const std::u16string& row = f.List1[i];
        if (row.find(keyword) == std::u16string::npos)
            continue;
        if (m_prompts.question(u"", u"キーワードが「" + row + u"」と重なっています。よろしいですか？", Buttons::YesNo,
                               Icon::Question) == Answer::No) {
            m_prompts.message(AppTitle, u"登録をキャンセルします。");
            rowClicked(static_cast<int>(i));
            return;
        }
        if (rowKeyword(row) == keyword) {
            m_prompts.message(AppTitle, u"全く同じキーワードは、登録できません。", Icon::Exclamation);
            return;
        }
    }
    std::u16string row = keyword + u"\t\t" + emoji;
    std::size_t at = f.listIndex >= 0 && f.listIndex < static_cast<int>(f.List1.size())
                         ? static_cast<std::size_t>(f.listIndex)
                         : f.List1.size();
    f.List1.insert(f.List1.begin() + static_cast<std::ptrdiff_t>(at), std::move(row));
    rowClicked(static_cast<int>(at));
    f.TableModified = true;
}

void EmojiRegistry::move(int direction) {
    int row = f.listIndex;
    if (row < 0 || row >= static_cast<int>(f.List1.size())) {
        m_prompts.message(AppTitle, u"移動する部分を選択してください。");
        return;
    }
    int other = direction == 0 ? row - 1 : row + 1;
    if (other < 0 || other >= static_cast<int>(f.List1.size()))
        return;
    std::swap(f.List1[static_cast<std::size_t>(row)], f.List1[static_cast<std::size_t>(other)]);
    rowClicked(other);
    f.TableModified = true; // the order is what the file keeps
}

void EmojiRegistry::deleteRow() {
    if (f.listIndex < 0 || f.listIndex >= static_cast<int>(f.List1.size()))
        return;
    f.List1.erase(f.List1.begin() + f.listIndex);
    f.listIndex = -1;
    f.TableModified = true;
}

void EmojiRegistry::sort() {
    std::stable_sort(f.List1.begin(), f.List1.end(), sortedBefore);
    f.listIndex = -1;
    f.TableModified = true;
}

void EmojiRegistry::putIntoBody() {
    if (f.listIndex < 0 || f.listIndex >= static_cast<int>(f.List1.size()))
        return;
    m_body.appendEmoji(rowEmoji(f.List1[static_cast<std::size_t>(f.listIndex)]));
}

bool EmojiRegistry::apply() {
    if (!save())
        return false;
    f.TableModified = false;
    return true;
}

void EmojiRegistry::cancel() {
    f.TableModified = false;
}

bool EmojiRegistry::requestClose() {
    if (f.TableModified) {
        if (m_prompts.question(u"保存確認", u"変更があります。文字コードを保存して終了しますか？", Buttons::YesNo,
                               Icon::Question) == Answer::Yes &&
            !save())
            return false; // the rows are still here to save again
        f.TableModified = false;
        m_prompts.message(AppTitle, u"ことり便のメニューに表示されるのは、上から20個までです。", Icon::Information);
    }
    return true;
}

bool EmojiRegistry::save() {
    if (m_unreadable) {
        m_prompts.message(AppTitle, m_tablePath + std::u16string(CannotReadFile), Icon::Exclamation);
        return false;
    }
    std::vector<std::u16string> lines;
    lines.reserve(f.List1.size());
    for (const std::u16string& row : f.List1)
        lines.push_back(rowEmoji(row) + u"\t" + rowKeyword(row));
    if (!platform::replaceFile(m_tablePath, platform::joinLines(lines))) {
        m_prompts.message(AppTitle, m_tablePath + u"\r\nに保存できませんでした。", Icon::Critical);
        return false;
    }
    countInTitle();
    return true;
}

} // namespace core
