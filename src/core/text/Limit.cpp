// The character limit: the banner, the offer to cut the excess, the limit question, the status line.
#include "core/app/Editor.h"

#include "core/app/Strings.h"
#include "core/text/NumberFormat.h"
#include "core/text/WeightedCount.h"
#include "core/vertical/VerticalConversion.h"

#include <algorithm>
#include <utility>

namespace core {

namespace {

constexpr int LimitBox = 6;
constexpr int ClassifyBox = 7;

const char16_t* const StatusTokens[9] = {u"タブ ", u"改行 ",   u"句読点 ", u"括弧 ", u"タグ ",
                                         u"ｺﾄﾘ ",  u"文字数 ", u"種別 ",   u"AUTO "};

// `at` itself, or one unit back when it falls between the halves of a CR LF or a surrogate pair.
std::size_t wholeCharacterBoundary(std::u16string_view text, std::size_t at) {
    if (at == 0 || at >= text.size())
        return at;
    const char16_t before = text[at - 1], after = text[at];
    const bool lineBreak = before == u'\r' && after == u'\n';
    const bool pair = before >= 0xD800 && before < 0xDC00 && after >= 0xDC00 && after < 0xE000;
    return lineBreak || pair ? at - 1 : at;
}

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

Editor::Excess Editor::measureExcess() const {
    const std::u16string& body = s.Text1.text;
    Excess e;
    e.limit = CharLimit;
    if (s.signatureOn && !s.sendBusy)
        e.limit -= static_cast<double>(SignatureText.size());
    std::size_t reachedAt = 0; // 1-based; 0 while the limit is not reached
    for (std::size_t i = 0; i < body.size(); ++i) {
        e.count += unitWeight(body[i]);
        if (reachedAt == 0 && e.count >= e.limit)
            reachedAt = i + 1;
    }
    if (reachedAt == 0)
        reachedAt = body.size() + 1; // only when the limit is below zero and the body empty
    // Yes keeps the characters before the one that reached the limit, No selects from the one
    // after it; neither ends inside a CR LF or a surrogate pair.
    e.keep = wholeCharacterBoundary(body, reachedAt - 1);
    e.selectFrom = wholeCharacterBoundary(body, std::min(reachedAt, body.size()));
    return e;
}

Overflow Editor::checkOverflow() {
    const Excess e = measureExcess();
    Overflow outcome = Overflow::Within;
    if (e.count > e.limit) {
        showBanner(decimal(CharLimit) + u"文字を" + plainDecimal(e.count - e.limit) +
                   u"文字オーバー。制限数に達しました。");
        view().refresh();
        if (m_questionsHeld) {
            m_overflowPending = true;
        } else if (m_overflowAnswered) {
            // One key, one question: the line break after an answered Enter only shows the banner.
        } else if (prompts().question(u"文字削除", u"overした分を削除しますか？", Buttons::YesNo, Icon::Question) ==
                   Answer::Yes) {
            const int size = static_cast<int>(s.Text1.text.size());
            const int keep = static_cast<int>(e.keep);
            if (keep < size)
                replaceBody(keep, size - keep, u"");
            hideBanner();
            s.Text1.selStart = static_cast<int>(s.Text1.text.size());
            s.Text1.selLength = 0;
            outcome = Overflow::Cut;
        } else {
            selectExcess(e);
            outcome = Overflow::Kept;
        }
    } else {
        hideBanner();
    }
    s.Label1.caption =
        plainDecimal(bodyCount()) + u"文字 (" + decimal(static_cast<long long>(s.Text1.text.size())) + u")";
    layoutStatusBar();
    return outcome;
}

void Editor::markExcess() {
    const std::u16string& body = s.Text1.text;
    std::size_t from = body.size();
    CountLevel level = CountLevel::Normal;
    if (s.Check1[LimitBox].checked && CharLimit > 0) {
        if (!s.Check1[ClassifyBox].checked) {
            // The plain character limit, as its banner counts.
            const auto limit = static_cast<std::size_t>(CharLimit);
            from = std::min(body.size(), limit);
            level = body.size() > limit             ? CountLevel::Over
                    : body.size() * 10 >= limit * 9 ? CountLevel::Near
                                                    : CountLevel::Normal;
        } else {
            // The same limit as the overflow check: the signature's room is kept when it goes too.
            double limit = CharLimit;
            if (s.signatureOn && !s.sendBusy)
                limit -= static_cast<double>(SignatureText.size());
            const double count = bodyCount();
            const bool oneEdit = m_editKnown && m_excessSerial + 1 == m_editSerial;
            from = m_excess.update(body, limit, count,
                                   oneEdit ? static_cast<std::size_t>(m_editPos) : std::u16string_view::npos);
            level = count > limit ? CountLevel::Over : count * 10 >= limit * 9 ? CountLevel::Near : CountLevel::Normal;
        }
    }
    m_excessSerial = m_editSerial;
    s.countLevel = level;
    s.Text1.markStart = static_cast<int>(from);
    s.Text1.markEnd = static_cast<int>(body.size());
    // The same characters in the preview, where it shows the body's rows.
    s.Text3.markStart = s.Text3.markEnd = 0;
    s.previewMarks.clear();
    if (from < body.size() && m_rowsShown) {
        s.Text3.markStart = static_cast<int>(std::min(m_rows.previewPosition(from), s.Text3.text.size()));
        s.Text3.markEnd = static_cast<int>(s.Text3.text.size());
    } else if (from < body.size() && s.Check3.checked && !s.Text3.wraps) {
        for (const auto& [start, end] : cellsFrom(body, from, {screenColumns(), screenRows()}, s.Text3.text))
            s.previewMarks.emplace_back(static_cast<int>(start), static_cast<int>(end));
    }
}

void Editor::releaseQuestions() {
    m_questionsHeld = false;
    if (!questionsWaiting()) {
        m_overflowAnswered = false;
        return;
    }
    const unsigned serial = m_editSerial;
    if (std::exchange(m_overflowPending, false) && s.Check1[LimitBox].checked && s.Check1[ClassifyBox].checked) {
        checkOverflow();
        s.Label1.caption = countDisplay(bodyCount(), s.Text1.text.size(), s.Check2.checked);
        layoutStatusBar();
    }
    // A cut has laid out the preview of what it left already.
    if (std::exchange(m_previewPending, false) && serial == m_editSerial)
        updatePreview();
    m_overflowAnswered = false;
    view().refresh();
}

void Editor::selectExcess(const Excess& e) {
    const int size = static_cast<int>(s.Text1.text.size());
    const int start = std::min(static_cast<int>(e.selectFrom), size);
    s.Text1.selStart = start;
    s.Text1.selLength = size - start;
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
    markExcess();
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
    layoutStatusBar();
}

} // namespace core
