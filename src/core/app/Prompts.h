#pragma once

#include <string>
#include <string_view>

namespace core {

enum class Buttons { Ok, YesNo, OkCancel };
enum class Icon { None, Information, Question, Exclamation, Critical };
enum class Answer { Ok, Cancel, Yes, No };

// The program's own title, carried by every box whose title is not given.
inline constexpr std::u16string_view AppTitle = u"ことり便";
// After the path of a file that exists but could not be read: it is never written over.
inline constexpr std::u16string_view CannotReadFile = u"\r\nを読み込めませんでした。このファイルには保存しません。";

// The one way the core speaks to the user: modal questions, messages and input boxes.
class Prompts {
public:
    virtual ~Prompts() = default;
    virtual Answer question(std::u16string_view title, std::u16string_view text, Buttons buttons,
                            Icon icon = Icon::None) = 0;
    virtual void message(std::u16string_view title, std::u16string_view text, Icon icon = Icon::None) = 0;
    // Empty result means cancelled (or an empty answer).
    virtual std::u16string input(std::u16string_view prompt, std::u16string_view title,
                                 std::u16string_view defaultText) = 0;
};

} // namespace core
