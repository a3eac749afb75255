#include "ui/Fonts.h"

#include "ui/Convert.h"
#include "ui/EmojiFonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace ui {

namespace {

// The names among `families` that this system has, or all of them when it has none: a name the
// system lacks costs a search through every installed font for each script a text uses.
QStringList installedOf(const QStringList& families) {
    static const QStringList installed = QFontDatabase::families();
    QStringList found;
    for (const QString& family : families)
        if (installed.contains(family, Qt::CaseInsensitive))
            found << family;
    return found.isEmpty() ? families : found;
}

} // namespace

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
    families = installedOf(families);
    families << emojiFamilies(); // the i-mode emoji, which no Japanese font draws
    QFont font;
    font.setFamilies(families);
    font.setStyleHint(serif ? QFont::Serif : QFont::SansSerif);
#ifndef Q_OS_WIN
    // The desktops' usual light hinting draws these faces all but alike, and hinting each glyph as
    // it is first drawn took a tenth of the start-up.
    font.setHintingPreference(QFont::PreferNoHinting);
#endif
    if (pointSize > 0)
        font.setPointSizeF(pointSize);
    return font;
}

QFont textBoxFont(std::u16string_view name, double pointSize, bool shaped) {
    QFont font = japaneseFont(name, pointSize);
    if (!shaped)
        font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

} // namespace ui
