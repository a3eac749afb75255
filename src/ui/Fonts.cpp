#include "ui/Fonts.h"

#include "ui/Convert.h"
#include "ui/EmojiFonts.h"

#include <QStringList>

namespace ui {

QFont japaneseFont(std::u16string_view name, double pointSize) {
    QString family = qs(name);
    bool serif =
        family.contains(QStringLiteral("明朝")) || family.contains(QStringLiteral("Mincho"), Qt::CaseInsensitive);
    QStringList families{family};
    if (serif)
        families << QStringLiteral("MS Mincho") << QStringLiteral("IPAMincho") << QStringLiteral("IPAexMincho")
                 << QStringLiteral("Noto Serif CJK JP") << QStringLiteral("Noto Serif JP");
    else
        families << QStringLiteral("MS Gothic") << QStringLiteral("IPAGothic") << QStringLiteral("IPAexGothic")
                 << QStringLiteral("Noto Sans CJK JP") << QStringLiteral("Noto Sans JP");
    families << emojiFamilies(); // the i-mode emoji, which no Japanese font draws
    QFont font;
    font.setFamilies(families);
    font.setStyleHint(serif ? QFont::Serif : QFont::SansSerif);
    if (pointSize > 0)
        font.setPointSizeF(pointSize);
    return font;
}

} // namespace ui
