// The character limit: the banner, the offer to cut the excess, the limit question, the status line.
#include "core/app/Editor.h"

#include "core/app/Strings.h"
#include "core/text/NumberFormat.h"
#include "core/text/WeightedCount.h"

#include <algorithm>

namespace core {

namespace {

constexpr int LimitBox = 6;
constexpr int ClassifyBox = 7;

const char16_t* const StatusTokens[9] = {u"タブ ", u"改行 ",   u"句読点 ", u"括弧 ", u"タグ ",
                                         u"ｺﾄﾘ ",  u"文字数 ", u"種別 ",   u"AUTO "};

} // namespace

void Editor::showBanner(std::u16string text) {
    s.Label5.caption = std::move(text);
    s.Label5.visible = true;
}

void Editor::hideBanner() {
    s.Label5.visible = false;
}

void Editor::limitTest(double count, std::size_t length) {
    bool limitOn = s.Check1[LimitBox].checked;
    if (!limitOn || static_cast<long long>(length) < CharLimit) {
        hideBanner();
        return;
    }
    if (!s.Check1[ClassifyBox].checked) {
        showBanner(decimal(CharLimit) + u"文字を" + decimal(static_cast<long long>(length) - CharLimit) +
                   u"オーバーです。制限数に達しました。");
    } else if (count > CharLimit) {
        checkOverflow();
    } else {
        // Back within the limit by weight: the old banner would only mislead.
        hideBanner();
    }
}

void Editor::checkOverflow() {
    const std::u16string& body = s.Text1.text;
    double limit = CharLimit;
    if (s.signatureOn && !s.sendBusy)
        limit -= static_cast<double>(SignatureText.size());

    double running = 0;
    std::size_t reachedAt = 0; // 1-based; 0 while the limit is not reached
    for (std::size_t i = 0; i < body.size(); ++i) {
        running += unitWeight(body[i]);
        if (reachedAt == 0 && running >= limit)
            reachedAt = i + 1;
    }
    if (reachedAt == 0)
        reachedAt = body.size() + 1; // only when the limit is below zero and the body empty

    if (running > limit) {
        showBanner(decimal(CharLimit) + u"文字を" + plainDecimal(running - limit) +
                   u"文字オーバー。制限数に達しました。");
        view().refresh();
        if (prompts().question(u"文字削除", u"overした分を削除しますか？", Buttons::YesNo, Icon::Question) ==
            Answer::Yes) {
            int keep = static_cast<int>(reachedAt) - 1;
            if (keep < static_cast<int>(body.size()))
                replaceBody(keep, static_cast<int>(body.size()) - keep, u"");
            hideBanner();
            s.Text1.selStart = static_cast<int>(s.Text1.text.size());
            s.Text1.selLength = 0;
        } else {
            int start = std::min(static_cast<int>(reachedAt), static_cast<int>(body.size()));
            s.Text1.selStart = start;
            s.Text1.selLength = static_cast<int>(body.size()) - start;
        }
    } else {
        hideBanner();
    }
    s.Label1.caption =
        plainDecimal(bodyCount()) + u"文字 (" + decimal(static_cast<long long>(s.Text1.text.size())) + u")";
}

void Editor::limitQuestion() {
    int answer = s.presetLimit;
    if (answer != 0) {
        s.presetLimit = 0;
    } else {
        answer = limitNumber(prompts().input(u"制限する文字数を入力してください。", u"制限文字数", u"256"));
    }
    if (answer >= 11) {
        CharLimit = answer;
        return;
    }
    prompts().message(AppTitle, u"10文字以下には設定できません。", Icon::Exclamation);
    CharLimit = 0;
    s.Check1[LimitBox].checked = false;
}

void Editor::setOptionBox(int index, bool checked) {
    if (index < 0 || index >= static_cast<int>(s.Check1.size()))
        return;
    CheckBox& box = s.Check1[static_cast<std::size_t>(index)];
    if (box.checked == checked)
        return;
    box.checked = checked;
    if (index == LimitBox && checked)
        limitQuestion();
    rebuildStatusLine();
}

void Editor::rebuildStatusLine() {
    std::u16string line = u"・制限：";
    for (std::size_t i = 0; i < s.Check1.size(); ++i) {
        if (s.Check1[i].checked)
            line += StatusTokens[i];
    }
    if (s.Check2.checked)
        line += u"i-mode";
    s.Label3[0].caption = line;
}

} // namespace core
