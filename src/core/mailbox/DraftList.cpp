// The draft and log list: filling it from a mailbox, and loading a row back into the editor.
#include "core/app/Editor.h"
#include "core/app/Strings.h"
#include "core/mailbox/MailboxReader.h"
#include "core/mailbox/MessageRecord.h"
#include "core/vertical/HorizontalLayout.h"

#include <algorithm>
#include <iterator>
#include <optional>

namespace core {

namespace {

constexpr int ListExtent = 1300; // pixels
constexpr std::u16string_view PageSeparator = u"次のページ";

// Rewrites one half of the count label, keeping the other; a label without "_" (an edited
// settings file) gets the other half's starting value.
void countLabel(std::u16string& label, bool log, std::size_t rows) {
    const std::size_t cut = label.find(u'_');
    if (log)
        label = (cut == std::u16string::npos ? std::u16string(u"草稿：0") : label.substr(0, cut)) + u"_ログ：" +
                decimal(static_cast<long long>(rows));
    else
        label = u"草稿：" + decimal(static_cast<long long>(rows)) + u"_" +
                (cut == std::u16string::npos ? std::u16string(u"ログ：0") : label.substr(cut + 1));
}

void chooseSender(MainState& s, std::u16string_view sender) {
    const auto count = static_cast<int>(s.OutAdr.size());
    const bool current = s.senderIndex >= 0 && s.senderIndex < count;
    if (current && s.senderAddress() == sender)
        return;
    int found = 0;
    for (int i = 0; i < count; ++i)
        if (s.OutAdr[static_cast<std::size_t>(i)].caption == sender) {
            found = i;
            break;
        }
    if (current)
        s.OutAdr[static_cast<std::size_t>(s.senderIndex)].checked = false;
    s.senderIndex = found;
    s.OutAdr[static_cast<std::size_t>(found)].checked = true;
}

// The body column ends every line with CR LF; the mail's body is the lines between them.
std::u16string bodyOf(std::u16string body) {
    if (body.size() >= 2 && body.compare(body.size() - 2, 2, u"\r\n") == 0)
        body.resize(body.size() - 2);
    return body;
}

} // namespace

void Editor::readingBecky(int i) {
    const bool log = i == 1;
    ListBox& list = s.List1;
    list.items.assign(1, {std::u16string(mailbox::ListHeading), 0});
    list.listIndex = -1;
    ++list.revision;

    // Without a chosen account there are no drafts to name: the missing-file message answers.
    const std::optional<int> account = s.selectedAccountNo();
    std::optional<std::vector<ListEntry>> rows;
    if (log)
        rows = mailbox::readMailboxRows(programFile(u"OutPutLog.mbx"), true);
    else if (account)
        rows = mailbox::readMailboxRows(mailbox::targetPath(BeckyPath, *account, Becky2InUse, true, {}), false);
    if (!rows) {
        prompts().message(AppTitle, u"BECKY側の草稿データがないか、設定が間違っている可能性があります。");
    } else if (rows->empty()) {
        prompts().message(AppTitle, u"書きかけのデータは、ないようです。");
    } else {
        list.items.reserve(rows->size() + 1);
        list.items.insert(list.items.end(), std::make_move_iterator(rows->begin()),
                          std::make_move_iterator(rows->end()));
        countLabel(s.Label6.caption, log, list.items.size() - 1);
        list.visible = true;
        relayout();
    }
    list.horizontalExtent = ListExtent;
    view().refresh();
}

void Editor::listRowClicked(int index) {
    ListBox& list = s.List1;
    if (index < 0 || index >= static_cast<int>(list.items.size()))
        return;
    list.listIndex = index;
    const bool changed = s.modified && !s.Text1.text.empty();
    // The heading row clears the editor; a changed body is not thrown away without asking.
    if (changed && prompts().question(u"保存した？", u"現在の編集内容が破棄されますがよろしいですか？",
                                      Buttons::YesNo) != Answer::Yes) {
        view().refresh();
        return;
    }
    if (index == 0) {
        list.listIndex = -1;
        newMail();
        return;
    }

    ListEntry& row = list.items[static_cast<std::size_t>(index)];
    const mailbox::RowPieces mail = mailbox::splitRow(row);
    std::u16string body = bodyOf(mail.body);
    chooseSender(s, mail.sender);

    setVerticalPreview(false);
    s.Command7.red = false;
    s.verticalMode = false;
    if (row.data == 0 && body.find(PageSeparator) != std::u16string::npos &&
        prompts().question(u"縦がき？", u"この文章は、縦書きで記入された可能性があります。縦書きとみなします。",
                           Buttons::YesNo) == Answer::Yes)
        row.data = 1;
    bool horizontal = false;
    if (row.data == 1) {
        if (prompts().question(u"横書き編集",
                               u"この文章は、縦書きで記入されています。編集しやすいように横書きにしますか？",
                               Buttons::YesNo) == Answer::Yes) {
            if (auto h = toHorizontal(body, {screenColumns(), screenRows()})) {
                body = std::move(*h);
                horizontal = true;
            } else {
                prompts().message(AppTitle, CannotReadBackText, Icon::Exclamation);
            }
        } else {
            row.data = 0;
        }
    }

    if (horizontal) {
        s.Command7.red = true;
        s.verticalMode = true;
    }
    setBody(body);
    titleChanged(mail.title);
    const auto& destinations = s.Combo1.items;
    const auto entry = std::find_if(destinations.begin(), destinations.end(),
                                    [&](const ListEntry& e) { return e.text == mail.destination; });
    if (entry != destinations.end()) {
        destinationItemPicked(static_cast<int>(entry - destinations.begin()));
    } else {
        s.Combo1.listIndex = -1;
        s.Combo1.selStart = static_cast<int>(mail.destination.size());
        s.Combo1.selLength = 0;
        destinationTextChanged(mail.destination);
    }
    // Ticked once the loaded body is in place, so the vertical preview shows that body.
    if (horizontal)
        setVerticalPreview(true);
    s.modified = false;
    view().refresh();
}

void Editor::listDoubleClicked() {
    s.List1.visible = false;
    relayout();
    view().refresh();
}

} // namespace core
