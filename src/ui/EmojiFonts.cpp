#include "ui/EmojiFonts.h"

#include <QFile>
#include <QFontDatabase>

#ifdef KOTORI_EMOJI_FONTS
// The fonts live in a static library, whose resources the linker keeps only when asked for.
static void initEmojiFontResources() {
    Q_INIT_RESOURCE(emoji_fonts);
}
#endif

namespace ui {

namespace {

QStringList& families() {
    static QStringList list;
    return list;
}

} // namespace

void registerEmojiFonts() {
    static bool done = false;
    if (done)
        return;
    done = true;
#ifdef KOTORI_EMOJI_FONTS
    initEmojiFontResources();
    for (const char* name : {":/fonts/KotoriEmoji.ttf", ":/fonts/KotoriEmojiCodes.ttf"}) {
        QFile file{QLatin1String(name)};
        if (!file.open(QIODevice::ReadOnly))
            continue;
        int id = QFontDatabase::addApplicationFontFromData(file.readAll());
        if (id >= 0)
            families() << QFontDatabase::applicationFontFamilies(id);
    }
#endif
}

const QStringList& emojiFamilies() {
    return families();
}

} // namespace ui
