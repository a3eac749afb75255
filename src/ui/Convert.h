#pragma once

#include <QString>
#include <QStringView>

#include <string>
#include <string_view>

// The core speaks UTF-16 in standard strings; Qt in QString. Both are UTF-16, so these copy only.
namespace ui {

inline QString qs(std::u16string_view text) {
    return QString::fromUtf16(text.data(), qsizetype(text.size()));
}

inline QStringView qv(std::u16string_view text) {
    return QStringView(text.data(), qsizetype(text.size()));
}

inline std::u16string u16(QStringView text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()), std::size_t(text.size()));
}

// Labels and message boxes show line breaks as plain "\n".
inline QString displayText(std::u16string_view text) {
    QString s = qs(text);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return s;
}

} // namespace ui
