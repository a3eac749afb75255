#include "core/app/MainState.h"

namespace core {

namespace {

Control control(Rect rect, std::u16string caption = {}, std::u16string toolTip = {}) {
    Control c;
    c.rect = rect;
    c.caption = std::move(caption);
    c.toolTip = std::move(toolTip);
    return c;
}

Button button(Rect rect, std::u16string caption, std::u16string toolTip) {
    Button b;
    b.rect = rect;
    b.caption = std::move(caption);
    b.toolTip = std::move(toolTip);
    return b;
}

MenuItem menu(std::u16string caption, std::u16string shortcut = {}) {
    MenuItem m;
    m.caption = std::move(caption);
    m.shortcut = std::move(shortcut);
    return m;
}

} // namespace

MainState::MainState() {
    window.outerWidth = window.innerWidth + window.frameWidth;
    window.outerHeight = window.innerHeight + window.frameHeight;

    Frame1 = control({4200, 480, 2080, 255}, u"制限");
    static const char16_t* const checkCaptions[9] = {
        u"tab,sp抜き", u"改行抜き",     u"。.、,抜き", u"「」、（）、[]、{}抜き", u"<タグ>抜き", u"ことり　抜き",
        u"文字制限",   u"文字種別分類", u"auto実行"};
    // Two columns of boxes wide enough for their captions in the window's font.
    constexpr int left = 120, right = 2580, leftWidth = 2400, rightWidth = 1290, height = 285;
    static const Rect checkRects[9] = {
        {left, 240, leftWidth, height},    {right, 240, rightWidth, height}, {left, 1200, leftWidth, height},
        {left, 720, leftWidth, height},    {right, 720, rightWidth, height}, {left, 2160, leftWidth, height},
        {right, 1200, rightWidth, height}, {left, 1680, leftWidth, height},  {right, 1680, rightWidth, height}};
    for (int i = 0; i < 9; ++i) {
        Check1[i].caption = checkCaptions[i];
        Check1[i].rect = checkRects[i];
    }

    Frame2 = control({0, 0, 7935, 765});
    Command3 = button({30, 120, 615, 615}, {}, u"送信");
    Command1 = button({720, 120, 615, 615}, u"文字", u"文字数確認");
    Command4[0] = button({1440, 120, 615, 615}, {}, u"imode p501i ﾌﾟﾚﾋﾞｭｰ");
    Command4[1] = button({2040, 120, 615, 615}, {}, u"署名");
    Command7 = button({2640, 120, 615, 615}, {}, u"縦書き変換！");
    Command2 = button({3240, 120, 615, 615}, {}, u"ベッキーのアドレス帳");
    Check2.caption = u"i-mode設定";
    // Wide enough for their captions in the window's font.
    Check2.rect = {3960, 240, 1290, 195};
    Combo2.rect = {5280, 150, 1215, 300};
    Combo2.toolTip = u"送信アカウント";

    List1.rect = {0, 5040, 5895, 1500};
    List1.visible = false;

    Picture1 = control({0, 6600, 7935, 375}, {}, u"○表示は、OFF　●表示はONを表します。");
    Label5 = control({0, 0, 7695, 375});
    Label5.visible = false;
    // Laid out as the editor lays the bar out for these captions (each label as wide as its text).
    Label1 = control({5690, 60, 2160, 255}, u"\\≒0.0円 000.0文字 (000)");
    Label6 = control({4140, 60, 1350, 255}, u"草稿：0_ログ：0");
    Label3[0] = control({60, 60, 1830, 255}, u"・制限：");
    Label3[1] = control({2040, 60, 1350, 255}, u"・署名追加：OFF");

    Command6 = button({0, 840, 1215, 300}, u"アドレス(&A)", {});
    Combo1.rect = {1200, 840, 4695, 300};
    Label2 = control({0, 1200, 1095, 255}, u"件名：：");
    Text2.rect = {1200, 1200, 4695, 270};
    Text1.rect = {0, 1560, 5895, 3375};
    Text1.fontName = u"ＭＳ 明朝";
    Text1.fontSize = 12;

    Frame3 = control({5880, 640, 2055, 5895});
    Combo3.rect = {120, 120, 1815, 300};
    Text3.rect = {120, 480, 1755, 1710};
    // The box is 180 twips a column and a row: a face a little smaller than the window's fits a
    // row of the phone's columns beside the scroll bar, and every row in its height.
    Text3.fontSize = 8;
    Command5 = button({600, 2280, 1215, 375}, u"送信イメージ", {});
    Check3.caption = u"縦書きﾌﾟﾚﾋﾞｭｰﾓｰﾄﾞ";
    Check3.rect = {120, 2760, 1905, 255};
    Label4 = control({120, 3120, 1815, 2675},
                     u"　実際の簡易的な送信イメージ画面です。\r\n"
                     u"　署名など詳細な点まで再現する場合は、送信イメージボタンを押してください。\r\n"
                     u"\r\n"
                     u"　\uE6ECなどの絵文字を送信すると、相手側には、文字化けした物が届く可能性があります。");

    Mnufile = menu(u"ファイル(&F)");
    openfile = menu(u"開く(&O)");
    newfile = menu(u"新規作成（&N）");
    TotyuuSave = menu(u"草稿に保存(&S)");
    ReadingBecky = {menu(u"草稿から読み込み(&R)"), menu(u"ログから読み込み(&L)")};
    Mnuexit = menu(u"終了(&E)");

    mainmnu = menu(u"編集(&C)");
    CopyDisp = {menu(u"表示アドレスコピー(&A)"), menu(u"表示タイトルコピー(&T)"), menu(u"表示件名コピー(&S)")};
    mojisize = menu(u"文字ｻｲｽﾞ(&M)");
    SizeFontChg = {menu(u"小"), menu(u"中"), menu(u"大")};
    SizeFontChg[1].checked = true; // the body starts at 12 points
    static const char16_t* const nukiCaptions[9] = {u"改行抜き", u"→変換>",   u"←変換<", u"↑変換\\", u"×変換x",
                                                    u"SP抜き",   u"半角変換", u"(抜き",  u")抜き"};
    for (int i = 0; i < 9; ++i)
        nuki[i] = menu(nukiCaptions[i]);
    Cmero = menu(u"上記処理連続動作", u"Ctrl+M");

    Mnucode = menu(u"コード登録(&C)");
    mojio = menu(u"文字コード登録(&M)");
    MnuTouroku = {menu(u"置換(&T)", u"Ctrl+T"), menu(u"絵文字消去(&D)")};
    EmojiChk = menu(u"絵文字チェック(&E)", u"Ctrl+E");
    Aouttikan = menu(u"自動置換(&A)");
    PutChar = {menu(u"なし")};

    imenu = menu(u"i-mode(&I)");
    IOutNO = menu(u"送信時確認なし(&O)");
    IOutput = menu(u"送信後新規画面(&N)");
    IOutEnd = menu(u"送信後終了確認(&E)");
    OutBcc = menu(u"送信ｱｶｳﾝﾄｱﾄﾞﾚｽにもBCCで送信(&M)");
    OutAccuntChg = menu(u"送信ｱｶｳﾝﾄ変更動作(&A)");
    OutAdrChg = {menu(u"送信ｱﾄﾞﾚｽ変更しない(&N)"), menu(u"送信ｱﾄﾞﾚｽも変更(&A)"),
                 menu(u"送信ｱﾄﾞﾚｽ変更確認ﾒｯｾｰｼﾞを出す(&M)")};
    OutAdr = {menu(u"なし")};

    MnuWindow = menu(u"ｳｨﾝﾄﾞｳ(&W)");
    ViewPre = {menu(u"ﾌﾟﾚﾋﾞｭｰ画面表示(&P)"), menu(u"ログor草稿画面(&L)"), menu(u"制限画面表示(&S)")};
    YokoPre = menu(u"無理矢理横書き(&Y)");
    MnuTATE = menu(u"無理矢理縦書き(&T)");
    PreTate = {menu(u"TEXT_Viewモード(&T)"), menu(u"送信_TEXTモード(&S)")};

    MnuHelp = menu(u"ヘルプ(&H)");
    kotori = menu(u"ことり便について(&W)");
    ReadMe = menu(u"ReadMe(&R)");
    ReSetSave = menu(u"再設定(&S)");
    MnuOpenHelp = menu(u"ヘルプ(&H)");
    MnuOpenHelp.enabled = false; // it has no action
}

namespace {

const ListEntry* selectedEntry(const ComboBox& box) {
    if (box.listIndex < 0 || box.listIndex >= static_cast<int>(box.items.size()))
        return nullptr;
    return &box.items[static_cast<std::size_t>(box.listIndex)];
}

std::u16string captionAt(const std::vector<MenuItem>& items, long long index) {
    if (index < 0 || index >= static_cast<long long>(items.size()))
        return {};
    return items[static_cast<std::size_t>(index)].caption;
}

} // namespace

std::optional<int> MainState::selectedAccountNo() const {
    const ListEntry* entry = selectedEntry(Combo2);
    if (!entry)
        return std::nullopt;
    return entry->data;
}

std::u16string MainState::selectedAccountName() const {
    const ListEntry* entry = selectedEntry(Combo2);
    return entry ? entry->text : Combo2.text;
}

std::u16string MainState::senderAddress() const {
    return captionAt(OutAdr, senderIndex);
}

std::u16string MainState::accountOwnAddress() const {
    if (accountIndex < 0)
        return {};
    // Entry 0 is the i-mode address; account i owns entry i + 1.
    return captionAt(OutAdr, static_cast<long long>(accountIndex) + 1);
}

} // namespace core
