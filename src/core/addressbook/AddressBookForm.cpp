// The address book window's own behaviour: the design state, the layout, the MY kind's opener,
// the row selection and the editing of entries.
#include "core/addressbook/AddressBookForm.h"

#include "core/addressbook/ModelList.h"
#include "core/app/Editor.h"
#include "core/app/Strings.h"
#include "platform/Dir.h"
#include "platform/Files.h"

#include <algorithm>

namespace core {

namespace {

constexpr std::u16string_view IntoMail = u"ﾒｰﾙへ入力";
constexpr std::u16string_view UnknownModel = u"不明";
constexpr std::u16string_view OtherModel = u"その他";
constexpr int DefaultScreenCode = 809;

// The number an answer starts with, as a whole; -1 when it starts with no digit.
int leadingCode(std::u16string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == u' ')
        ++i;
    long value = -1;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = (value < 0 ? 0 : value) * 10 + (text[i] - u'0');
        if (value > 9999)
            return -1;
    }
    return static_cast<int>(value);
}

} // namespace

AddressBookForm::AddressBookForm(AddressBookHost& host) : m_host(host) {
    Combo1.toolTip = u"アドレス帳の種類";
    List1.toolTip = u"選択すると下に詳細が表示されます。";
    const std::array<std::u16string_view, 4> captions{u"新規登録", u"変更", u"削除", u"インポート"};
    const std::array<std::u16string_view, 4> tips{
        u"新たにメールアドレスをアドレス帳に登録します。",
        u"データを編集後、下部の「保存」ボタンをクリックする事で、編集を保存できます。",
        u"現在選択中のアドレス情報を削除します", u"現在選択中のメールアドレス情報をMYアドレス帳に移行します"};
    for (std::size_t i = 0; i < 4; ++i) {
        Command3[i].caption = captions[i];
        Command3[i].toolTip = tips[i];
    }
    Text1[AddressField].toolTip = std::u16string(u"メールアドレス。 i-modeのアドレスは、2000年2月現在では、？？@") +
                                  std::u16string(CarrierDomain) + u"の形式である。";
    Text1[NameField].toolTip = u"登録名・名前。宛先にも使用される。\r\n         [名前<アドレス>で表示される。]";
    Text1[NicknameField].toolTip = u"ニックネーム、BECKY上でアドレス欄に書くと自動でメールアドレスに変換してくれる。";
    Text1[HomePageField].toolTip = u"ＨＰのアドレスを記入する欄。";
    Text1[PgpField].toolTip = u"ＰＧＰユーザーIDを記入するところである。";
    Combo2.toolTip = u"Beckyでは、備考になります。携帯の機種を選んでください。";
    Combo2.enabled = false;
    Command1.caption = IntoMail;
    Command2.caption = u"閉じる";
    Frame1.caption = u"FILE READ";
    Frame1.visible = false;
    Frame1.rect = {0, 0, 4800, 1200};
    Label2.caption = u"ファイルをドラッグ＆ドロップしてくださいキャンセルは、ESCキー";
    Label2.rect = {120, 300, 4560, 780};
    Label3.caption = u"･名前\n･ｱﾄﾞﾚｽ\n･機種\n･ﾆｯｸﾈｰﾑ\n･HP\n･PGP";
    resized(innerWidth, innerHeight);
}

Prompts& AddressBookForm::prompts() {
    // A question shows over the window as it stands.
    refreshView();
    return m_host.prompts();
}

void AddressBookForm::refreshView() {
    if (m_view)
        m_view->refresh();
}

void AddressBookForm::resized(int width, int height) {
    innerWidth = width;
    innerHeight = height;
    auto atLeast0 = [](int v) { return std::max(v, 0); };
    const int buttonWidth = 1200;
    Combo1.rect = {0, 0, atLeast0(width), 300};
    List1.rect = {0, 300, atLeast0(width - buttonWidth - 240), atLeast0(height - 3240)};
    for (std::size_t i = 0; i < 4; ++i)
        Command3[i].rect = {List1.rect.width + 105, 300 + 480 * static_cast<int>(i), buttonWidth, 420};
    Frame2.rect = {0, height - 2940, Combo1.rect.width, 2340};
    Label3.rect = {120, 240, 1140, 6 * DetailRowPitch};
    // Inside the frame, top to bottom: name, address, model, nickname, home page, PGP ID.
    const std::array<std::size_t, 5> order{NameField, AddressField, NicknameField, HomePageField, PgpField};
    const int fieldWidth = atLeast0(Frame2.rect.width - 1440);
    for (std::size_t i = 0; i < order.size(); ++i) {
        const int slot = i < 2 ? static_cast<int>(i) : static_cast<int>(i) + 1;
        Text1[order[i]].rect = {1320, 240 + DetailRowPitch * slot, fieldWidth, 300};
    }
    Combo2.rect = {1320, 240 + DetailRowPitch * 2, fieldWidth, 300};
    Label1.rect = {60, height - 540, atLeast0(width - 2700), 420};
    Command1.rect = {width - 2580, height - 540, buttonWidth, 420};
    Command2.rect = {width - 1320, height - 540, buttonWidth, 420};
}

void AddressBookForm::openMyBook() {
    Combo1.items.clear();
    Combo1.listIndex = -1;
    entries.clear();
    row = -1;
    beckyAddrBookFolder = m_host.beckyPath() + u"AddrBook";
    kind = BookKind::My;
    Combo2.items.clear();
    Combo2.items.push_back({std::u16string(UnknownModel), 0});
    for (const ModelEntry& model : m_host.models())
        Combo2.items.push_back({model.name, model.screenCode});
    Combo2.items.push_back({std::u16string(OtherModel), 0});
    Combo2.listIndex = -1;
    Combo1.items.push_back({u"addr", 0});
    bookFolder = m_host.programFolder();
    kindChosen(0);
    Combo1.enabled = false;
    exportMode = true;
    Command3[3].caption = u"エクスポート";
    Command3[3].toolTip = u"MYアドレス帳をBECKYのアドレス帳に登録します。";
    refreshView();
}

void AddressBookForm::kindChosen(int index) {
    if (index < 0 || index >= static_cast<int>(Combo1.items.size()))
        return;
    Combo1.listIndex = index;
    loadBook(bookFolder + u"\\" + Combo1.items[static_cast<std::size_t>(index)].text + u".adr");
    Label1.caption = Combo1.toolTip;
    if (!entries.empty())
        rowSelected(0);
    refreshView();
}

void AddressBookForm::loadBook(std::u16string_view path) {
    m_hidden.clear();
    row = -1;
    if (kind != BookKind::My) {
        entries = readAddressBook(path, m_host.imodeOn());
        return;
    }
    // The MY book keeps what the i-mode setting hides, so that saving does not drop it.
    m_loaded = platform::readBytes(path);
    m_unreadable = !m_loaded && platform::fileExists(path);
    if (m_unreadable)
        prompts().message(AppTitle, std::u16string(path).append(CannotReadFile), Icon::Exclamation);
    entries = parseAddressBook(m_loaded ? *m_loaded : std::string(), m_host.imodeOn(), &m_hidden);
}

void AddressBookForm::rowSelected(int r) {
    if (r < -1 || r >= static_cast<int>(entries.size()))
        r = -1;
    if (kind == BookKind::My && (addressEdited || nameEdited || detailsEdited) &&
        prompts().question(u"保存？", u"アドレス情報が変更されたようです。保存しますか？", Buttons::YesNo) ==
            Answer::Yes)
        saveEntry(previousRow);
    row = r;
    previousRow = r;
    if (r < 0) {
        Text1[NameField].text.clear();
        refreshView();
        return;
    }
    showRow();
    addressEdited = nameEdited = detailsEdited = false;
    saveArmed = false;
    Command1.caption = IntoMail;
    lockDetails();
    refreshView();
}

void AddressBookForm::showRow() {
    const AddressEntry& entry = entries[static_cast<std::size_t>(row)];
    Text1[NameField].text = entry.name;
    Text1[AddressField].text = entry.address;
    const std::u16string_view model = tabField(entry.tail, 0);
    if (kind == BookKind::My) {
        Combo2.listIndex = Combo2.items.empty() ? -1 : 0;
        for (std::size_t i = 0; i < Combo2.items.size(); ++i)
            if (Combo2.items[i].text == model) {
                Combo2.listIndex = static_cast<int>(i);
                break;
            }
    } else {
        Combo2.items = {{std::u16string(model), 0}};
        Combo2.listIndex = 0;
    }
    Text1[NicknameField].text = tabField(entry.tail, 1);
    Text1[HomePageField].text = tabField(entry.tail, 2);
    Text1[PgpField].text = tabField(entry.tail, 3);
}

void AddressBookForm::lockDetails() {
    detailsLocked = true;
    Combo2.enabled = false;
}

void AddressBookForm::change() {
    if (!detailsLocked)
        return;
    Command1.caption = u"保存";
    saveArmed = true;
    detailsLocked = false;
    Combo2.enabled = true;
    refreshView();
}

void AddressBookForm::fieldEdited(std::size_t field, std::u16string_view text) {
    if (field >= Text1.size())
        return;
    // A TAB or line break would split the entry's line in the file: each becomes a space.
    Text1[field].text = oneField(text);
    if (field == AddressField)
        addressEdited = true;
    else if (field == NameField)
        nameEdited = true;
    else
        detailsEdited = true;
    saveArmed = true;
}

void AddressBookForm::modelChosen(int index) {
    if (index < -1 || index >= static_cast<int>(Combo2.items.size()))
        return;
    Combo2.listIndex = index;
    detailsEdited = true;
}

void AddressBookForm::saveEntry(int r) {
    if (r < 0 || r >= static_cast<int>(entries.size())) {
        addressEdited = nameEdited = detailsEdited = false;
        lockDetails();
        return;
    }
    AddressEntry& entry = entries[static_cast<std::size_t>(r)];
    if (addressEdited)
        entry.address = Text1[AddressField].text;
    if (nameEdited)
        entry.name = Text1[NameField].text;
    const bool otherModel = Combo2.listIndex >= 0 && Combo2.listIndex < static_cast<int>(Combo2.items.size()) &&
                            Combo2.items[static_cast<std::size_t>(Combo2.listIndex)].text == OtherModel;
    if (nameEdited || detailsEdited || otherModel) {
        std::u16string tail = chooseModel();
        for (std::size_t field : {NicknameField, HomePageField, PgpField}) {
            if (Text1[field].text.empty())
                Text1[field].text = u".";
            tail += u'\t';
            tail += Text1[field].text;
        }
        entry.tail = std::move(tail);
    }
    bookModified = true;
    addressEdited = nameEdited = detailsEdited = false;
    lockDetails();
}

std::u16string AddressBookForm::chooseModel() {
    const int index = Combo2.listIndex;
    if (index < 0 || index >= static_cast<int>(Combo2.items.size()))
        return std::u16string(UnknownModel);
    if (Combo2.items[static_cast<std::size_t>(index)].text != OtherModel)
        return Combo2.items[static_cast<std::size_t>(index)].text;
    std::u16string name = oneField(prompts().input(u"機種名を入れてください", u"機種名", UnknownModel));
    if (name.empty())
        name = UnknownModel;
    // Four digits hold the screen code; anything else takes the common 8 x 9 screen.
    int code = leadingCode(prompts().input(
        u"その携帯の表示できる桁数行数を続けて入力してください。\r\n※例　8桁9行の場合は、0809", u"機種名", u"0809"));
    if (code <= 0)
        code = DefaultScreenCode;
    appendModel(m_host.programFile(ModelFile), {name, code}); // a failed append is skipped
    Combo2.items.push_back({name, code});
    Combo2.listIndex = static_cast<int>(Combo2.items.size()) - 1;
    return name;
}

bool AddressBookForm::saveBook() {
    const std::u16string path = m_host.programFile(AddressBookFile);
    if (m_unreadable) {
        prompts().message(AppTitle, path + std::u16string(CannotReadFile), Icon::Exclamation);
        return false;
    }
    std::vector<AddressEntry> all;
    all.reserve(entries.size() + m_hidden.size());
    std::size_t h = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        for (; h < m_hidden.size() && m_hidden[h].first <= i; ++h)
            all.push_back(m_hidden[h].second);
        all.push_back(entries[i]);
    }
    for (; h < m_hidden.size(); ++h)
        all.push_back(m_hidden[h].second);
    std::optional<std::string> written = m_host.writeBook(all, m_loaded);
    if (!written) {
        prompts().message(AppTitle, u"アドレス帳を保存できませんでした。変更はまだ保存されていません。\r\n" + path,
                          Icon::Exclamation);
        return false;
    }
    // The window shows the file as written, with what others added.
    m_loaded = std::move(written);
    m_hidden.clear();
    entries = parseAddressBook(*m_loaded, m_host.imodeOn(), &m_hidden);
    if (row >= static_cast<int>(entries.size()))
        row = -1;
    bookModified = false;
    return true;
}

void AddressBookForm::bottomButton() {
    if (!saveArmed) {
        putIntoMail();
        return;
    }
    saveEntry(row);
    const bool saved = saveBook();
    Command1.caption = IntoMail;
    saveArmed = false;
    if (saved)
        prompts().message(u"アドレス帳更新", u"保存しました。");
    refreshView();
}

void AddressBookForm::putIntoMail() {
    if (row < 0 || row >= static_cast<int>(entries.size()))
        return;
    const std::u16string& address = entries[static_cast<std::size_t>(row)].address;
    const std::u16string destination = m_host.destination();
    m_host.setDestination(destination.empty() ? address : destination + u"," + address);
}

void AddressBookForm::newEntry() {
    const std::u16string answer =
        oneField(prompts().input(u"新規作成する名前、又は、mailアドレスを打ち込んでください。", u"登録名",
                                 u"@" + std::u16string(CarrierDomain)));
    if (answer.empty())
        return;
    entries.push_back({contains(answer, u"@") ? answer : std::u16string(), answer, {}});
    bookModified = true;
    refreshView();
}

void AddressBookForm::rename() {
    if (row < 0 || row >= static_cast<int>(entries.size()))
        return;
    AddressEntry& entry = entries[static_cast<std::size_t>(row)];
    const std::u16string answer = oneField(prompts().input(u"名前を変更しますか？", u"登録名変更？", entry.name));
    if (answer.empty())
        return;
    entry.name = answer;
    bookModified = true;
    refreshView();
}

void AddressBookForm::deleteEntry() {
    if (row < 0 || row >= static_cast<int>(entries.size()))
        return;
    const std::size_t r = static_cast<std::size_t>(row);
    if (prompts().question(u"削除確認", entries[r].name + u"を削除しますか？", Buttons::YesNo) != Answer::Yes)
        return;
    entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(r));
    for (auto& hidden : m_hidden)
        if (hidden.first > r)
            --hidden.first;
    bookModified = true;
    addressEdited = nameEdited = detailsEdited = false;
    row = -1;
    if (!entries.empty())
        rowSelected(0);
    refreshView();
}

void AddressBookForm::importOrExport() {
    if (exportMode)
        exportBook();
    else
        importEntry();
}

bool AddressBookForm::close() {
    m_host.setLastGroupIndex(Combo1.listIndex);
    if (kind != BookKind::My)
        return true;
    if (addressEdited || nameEdited || detailsEdited)
        rowSelected(row);
    if (bookModified && prompts().question(u"アドレス帳保存", u"アドレス帳に変更があります。保存しますか？",
                                           Buttons::YesNo) == Answer::Yes)
        return saveBook(); // a book that could not be written keeps the window open
    return true;
}

void AddressBookForm::pointerOver(const Control& control) {
    Label1.caption = control.toolTip;
    refreshView();
}

} // namespace core
