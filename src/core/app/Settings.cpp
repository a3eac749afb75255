// Kotori.ini: applying it at start-up, writing it when the window closes, and the reset command.
#include "core/app/Editor.h"
#include "core/app/SettingsFile.h"
#include "core/app/Strings.h"
#include "core/mailbox/Signature.h"
#include "core/text/NumberFormat.h"
#include "platform/Dir.h"
#include "platform/Files.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace core {

namespace {

constexpr std::u16string_view SettingsFileName = u"Kotori.ini";
// What a screen can hold; a larger or negative size would overflow the window's arithmetic.
constexpr float MinWindowTwips = 1500, MaxWindowTwips = 120000;
constexpr float MinFontPoints = 1, MaxFontPoints = 2048;

std::u16string flag(bool on) {
    return on ? u"1" : u"0";
}

// The limit of a Sei6 line; a number beyond the limit's 16-bit range is held at its end.
int storedLimit(std::u16string_view text) {
    if (auto value = parseInteger(text)) {
        if (*value > std::numeric_limits<short>::max())
            return std::numeric_limits<short>::max();
        if (*value < std::numeric_limits<short>::min())
            return std::numeric_limits<short>::min();
    }
    return limitNumber(text);
}

void setOuterHeight(WindowState& w, float twips) {
    w.outerHeight = static_cast<int>(std::lround(twips));
    w.innerHeight = w.outerHeight - w.frameHeight;
}

void setOuterWidth(WindowState& w, float twips) {
    w.outerWidth = static_cast<int>(std::lround(twips));
    w.innerWidth = w.outerWidth - w.frameWidth;
}

// A stored entry number; anything but a whole number in range names no entry.
int storedIndex(std::u16string_view value) {
    auto number = parseInteger(value);
    if (!number || *number < std::numeric_limits<int>::min() || *number > std::numeric_limits<int>::max())
        return -1;
    return static_cast<int>(*number);
}

void setCheckMark(MenuItem& item, std::u16string_view value) {
    if (auto on = settings::parseBool(value))
        item.checked = *on;
}

std::vector<std::u16string> settingsLines(const Editor& e, bool imode, bool look) {
    using settings::formatBool;
    using settings::formatLine;
    using settings::formatReal;
    const MainState& s = e.s;
    std::vector<std::u16string> lines;
    lines.push_back(formatLine(u"Xsiz", formatReal(static_cast<float>(s.window.outerHeight))));
    lines.push_back(formatLine(u"Ysiz", formatReal(static_cast<float>(s.window.outerWidth))));
    for (int i = 0; i < 9; ++i) {
        std::u16string key = u"Sei" + decimal(i);
        const bool checked = s.Check1[static_cast<std::size_t>(i)].checked;
        if (i == 6)
            lines.push_back(formatLine(key, flag(checked) + u"\\" + decimal(e.CharLimit)));
        else
            lines.push_back(formatLine(key, flag(checked)));
    }
    lines.push_back(formatLine(u"Snam", e.SignatureText));
    lines.push_back(formatLine(u"Ssyo", flag(s.signatureOn)));
    lines.push_back(formatLine(u"imde", flag(imode)));
    lines.push_back(formatLine(u"addr", decimal(s.lastGroupIndex)));
    lines.push_back(formatLine(u"ATTI", formatBool(s.Aouttikan.checked)));
    lines.push_back(formatLine(u"Font", formatReal(static_cast<float>(s.Text1.fontSize))));
    lines.push_back(formatLine(u"IONO", formatBool(s.IOutNO.checked)));
    lines.push_back(formatLine(u"IPUT", formatBool(s.IOutput.checked)));
    lines.push_back(formatLine(u"IEND", formatBool(s.IOutEnd.checked)));
    lines.push_back(formatLine(u"Acnt", decimal(s.accountIndex)));
    lines.push_back(formatLine(u"AcOp", decimal(s.accountChangeMode)));
    lines.push_back(formatLine(u"Myad", decimal(s.senderIndex)));
    lines.push_back(formatLine(u"BcOp", formatBool(s.OutBcc.checked)));
    lines.push_back(formatLine(u"LogD", s.Label6.caption));
    lines.push_back(formatLine(u"Look", formatBool(look)));
    return lines;
}

void writeSettings(Editor& e, bool imode, bool look) {
    const std::u16string path = e.programFile(SettingsFileName);
    if (!platform::replaceFile(path, platform::joinLines(settingsLines(e, imode, look))))
        e.prompts().message(AppTitle, path + u"\r\nこのファイルに設定を保存できませんでした。", Icon::Exclamation);
}

void deleteIfPresent(Editor& e, std::u16string_view name) {
    std::u16string path = e.programFile(name);
    if (platform::fileExists(path))
        platform::removeFile(path);
}

} // namespace

void Editor::loadSettings() {
    auto lines = platform::readLines(programFile(SettingsFileName));
    if (!lines)
        return;
    for (const std::u16string& text : *lines) {
        auto line = settings::splitLine(text);
        if (!line)
            continue;
        const std::u16string_view key = line->key;
        const std::u16string_view value = line->value;
        if (key == u"Xsiz" || key == u"Ysiz") {
            if (auto twips = settings::parseReal(value)) {
                const float clamped = std::clamp(*twips, MinWindowTwips, MaxWindowTwips);
                if (key == u"Xsiz")
                    setOuterHeight(s.window, clamped);
                else
                    setOuterWidth(s.window, clamped);
                relayout();
            }
        } else if (key.substr(0, 3) == u"Sei" && key[3] >= u'0' && key[3] <= u'8') {
            const int index = key[3] - u'0';
            if (index == 6) {
                // The limit goes first, so checking the box takes it instead of asking for one.
                if (value.empty() || (value[0] != u'0' && value[0] != u'1'))
                    continue;
                s.presetLimit = value.size() > 2 ? storedLimit(value.substr(2)) : 0;
                // A later line wins: a box still checked from an earlier one takes this limit.
                if (value[0] == u'1' && s.Check1[6].checked)
                    s.Check1[6].checked = false;
                setOptionBox(6, value[0] == u'1');
            } else if (auto on = settings::parseCheck(value)) {
                setOptionBox(index, *on);
            }
        } else if (key == u"Snam") {
            SignatureText = value;
        } else if (key == u"Ssyo") {
            // One reading decides both the caption and whether sending attaches the signature.
            auto number = settings::parseReal(value);
            mailbox::setSignatureOn(*this, number && *number == 1);
        } else if (key == u"imde") {
            if (auto on = settings::parseCheck(value))
                setImode(*on);
        } else if (key == u"addr") {
            s.lastGroupIndex = storedIndex(value);
        } else if (key == u"Acnt") {
            s.accountIndex = storedIndex(value);
        } else if (key == u"AcOp") {
            s.accountChangeMode = storedIndex(value);
        } else if (key == u"Myad") {
            s.senderIndex = storedIndex(value);
        } else if (key == u"ATTI") {
            setCheckMark(s.Aouttikan, value);
        } else if (key == u"IONO") {
            setCheckMark(s.IOutNO, value);
        } else if (key == u"IPUT") {
            setCheckMark(s.IOutput, value);
        } else if (key == u"IEND") {
            setCheckMark(s.IOutEnd, value);
        } else if (key == u"BcOp") {
            setCheckMark(s.OutBcc, value);
        } else if (key == u"Font") {
            if (auto points = settings::parseReal(value); points && *points > 0)
                s.Text1.fontSize = std::clamp(*points, MinFontPoints, MaxFontPoints);
            markFontSize();
        } else if (key == u"LogD") {
            s.Label6.caption = value;
        } else if (key == u"Look") {
            if (auto on = settings::parseBool(value)) {
                s.Frame3.visible = *on;
                relayout();
            }
        }
    }
    layoutStatusBar(); // the signature and list labels may have new captions
}

void Editor::saveSettings() {
    writeSettings(*this, s.Check2.checked, s.Frame3.visible);
}

bool Editor::requestClose() {
    if (s.modified &&
        m_prompts.question(u"終了確認", u"編集中の内容は、破棄されてしまいますが終了してもよろしいですか？",
                           Buttons::YesNo) != Answer::Yes)
        return false;
    const bool imode = s.Check2.checked;
    const bool look = s.Frame3.visible;
    if (s.Check2.checked)
        setImode(false);
    writeSettings(*this, imode, look);
    return true;
}

void Editor::resetSettings() {
    if (m_prompts.question(u"再設定", u"設定を初期化し、再設定を行いますか？", Buttons::YesNo) != Answer::Yes)
        return;
    if (m_prompts.question(u"再設定",
                           u"完全初期状態からの再設定を行いますか？\r\n※調子がおかしいときは、YESにしてください。",
                           Buttons::YesNo) == Answer::Yes) {
        deleteIfPresent(*this, SettingsFileName);
        deleteIfPresent(*this, u"Becky.mil");
        if (platform::fileExists(programFile(u"addr.adr")) &&
            m_prompts.question(u"アドレス帳＋NEW機種情報", u"アドレス帳関係のデータも削除しますか？", Buttons::YesNo) ==
                Answer::Yes) {
            deleteIfPresent(*this, u"Keitai.pre");
            deleteIfPresent(*this, u"addr.adr");
        }
        if (platform::fileExists(programFile(u"OutPutLog.mbx")) &&
            m_prompts.question(u"i-modeメール出力ログファイル", u"現在まで出力したログデータも削除しますか？",
                               Buttons::YesNo) == Answer::Yes)
            deleteIfPresent(*this, u"OutPutLog.mbx");
    }
    s.OutAdr[0].caption = u"なし";
    discoverBecky();
}

} // namespace core
