#include "ui/AddressBookWindow.h"

#include "core/app/Editor.h"
#include "ui/Convert.h"
#include "ui/Fonts.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEventLoop>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QUrl>

namespace ui {

namespace {

constexpr int TwipsPerPixel = 15;
const QColor LockedBack(224, 224, 224);

int px(int twips) {
    return (twips + TwipsPerPixel / 2) / TwipsPerPixel;
}

QRect pixels(const core::Rect& r) {
    return QRect(px(r.left), px(r.top), std::max(0, px(r.width)), std::max(0, px(r.height)));
}

template <typename W> W* make(QWidget* parent, const QString& name) {
    auto* w = new W(parent);
    w->setObjectName(name);
    return w;
}

// Rebuilds a list's entries when their texts differ from what it shows.
template <typename List, typename Text>
void syncRows(List* list, const std::vector<Text>& items, std::vector<std::u16string>& shown,
              const std::u16string& (*text)(const Text&)) {
    bool same = items.size() == shown.size();
    for (std::size_t i = 0; same && i < items.size(); ++i)
        same = text(items[i]) == shown[i];
    if (same)
        return;
    list->clear();
    shown.clear();
    QStringList texts;
    texts.reserve(qsizetype(items.size()));
    for (const auto& item : items) {
        texts << qs(text(item));
        shown.push_back(text(item));
    }
    list->addItems(texts);
}

const std::u16string& entryName(const core::AddressEntry& e) {
    return e.name;
}
const std::u16string& itemText(const core::ListEntry& e) {
    return e.text;
}

// The local files of a drop, in drop order; empty when it holds anything else.
std::vector<std::u16string> droppedFiles(const QMimeData* data) {
    std::vector<std::u16string> files;
    if (!data || !data->hasUrls())
        return files;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile())
            files.push_back(u16(QDir::toNativeSeparators(url.toLocalFile())));
    return files;
}

// A label whose lines stand one detail row apart, beside the fields they name.
class RowLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QStringList lines = text().split(QLatin1Char('\n'));
        const int pitch = px(core::AddressBookForm::DetailRowPitch);
        for (int i = 0; i < lines.size(); ++i)
            painter.drawText(QRect(0, i * pitch, width(), px(300)), Qt::AlignLeft | Qt::AlignVCenter, lines[i]);
    }
};

void setBack(QWidget* w, const QColor& color) {
    QPalette p = w->palette();
    if (p.color(QPalette::Base) == color && p.color(QPalette::Button) == color)
        return;
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        p.setColor(g, QPalette::Base, color);
        p.setColor(g, QPalette::Button, color);
    }
    w->setPalette(p);
}

} // namespace

AddressBookWindow::AddressBookWindow(core::Editor& editor, QWidget* parent)
    : QWidget(parent, Qt::Window), m_host(editor, dynamic_cast<QtPrompts*>(&editor.prompts()) ? &m_boxes : nullptr),
      m_form(m_host) {
    // Until this window shows, its boxes (the opener's question) belong over the main window.
    m_boxes.setParentWidget(parent);
    setObjectName(QStringLiteral("Form3"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(japaneseFont(u"ＭＳ ゴシック", 9));
    buildControls();
    buildMenus();
    connectControls();
    m_form.setView(this);
}

void AddressBookWindow::open(core::BookKind kind) {
    refresh();
    if (kind == core::BookKind::Becky)
        m_form.openBeckyGroups();
    else
        m_form.openMyBook();
    refresh();
    moveOver(parentWidget());
    show();
    raise();
    activateWindow();
}

std::u16string AddressBookWindow::chooseFile() {
    std::u16string chosen;
    m_chosenFile = &chosen;
    QEventLoop loop;
    connect(this, &QObject::destroyed, &loop, &QEventLoop::quit);
    m_form.openFileRead();
    setWindowModality(Qt::ApplicationModal);
    setAcceptDrops(true);
    refresh();
    moveOver(parentWidget());
    show();
    loop.exec();
    return chosen;
}

void AddressBookWindow::moveOver(QWidget* parent) {
    if (!parent)
        return;
    QRect r = rect();
    r.moveCenter(parent->geometry().center());
    move(r.topLeft());
}

void AddressBookWindow::buildControls() {
    Frame1 = make<QGroupBox>(this, QStringLiteral("Frame1"));
    Frame1->setAutoFillBackground(true);
    Label2 = make<QLabel>(Frame1, QStringLiteral("Label2"));
    Label2->setWordWrap(true);
    Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    Combo1 = make<QComboBox>(this, QStringLiteral("Combo1"));
    List1 = make<QListWidget>(this, QStringLiteral("List1"));
    List1->setContextMenuPolicy(Qt::CustomContextMenu);
    List1->setUniformItemSizes(true); // thousands of one-line names lay out at once
    for (std::size_t i = 0; i < 4; ++i)
        Command3[i] = make<QPushButton>(this, QStringLiteral("Command3(%1)").arg(i));
    Frame2 = make<QGroupBox>(this, QStringLiteral("Frame2"));
    Label3 = make<RowLabel>(Frame2, QStringLiteral("Label3"));
    for (std::size_t i = 0; i < 5; ++i)
        Text1[i] = make<QLineEdit>(Frame2, QStringLiteral("Text1(%1)").arg(i));
    Combo2 = make<QComboBox>(Frame2, QStringLiteral("Combo2"));
    Command1 = make<QPushButton>(this, QStringLiteral("Command1"));
    Command2 = make<QPushButton>(this, QStringLiteral("Command2"));
    Label1 = make<QLabel>(this, QStringLiteral("Label1"));
    Label1->setTextFormat(Qt::PlainText);
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    const core::AddressBookForm& f = m_form;
    m_controls = {{Frame1, &f.Frame1},     {Label2, &f.Label2}, {Combo1, &f.Combo1}, {List1, &f.List1},
                  {Frame2, &f.Frame2},     {Label3, &f.Label3}, {Combo2, &f.Combo2}, {Command1, &f.Command1},
                  {Command2, &f.Command2}, {Label1, &f.Label1}};
    for (std::size_t i = 0; i < 4; ++i)
        m_controls.emplace_back(Command3[i], &f.Command3[i]);
    for (std::size_t i = 0; i < 5; ++i)
        m_controls.emplace_back(Text1[i], &f.Text1[i]);

    // The status line repeats the tooltips of the buttons, the detail fields and the list.
    for (QWidget* w : {static_cast<QWidget*>(List1), List1->viewport()})
        w->installEventFilter(this);
    for (QPushButton* b : Command3)
        b->installEventFilter(this);
    for (QLineEdit* t : Text1)
        t->installEventFilter(this);
}

void AddressBookWindow::buildMenus() {
    auto entry = [this](QMenu* menu, const char* name, const QString& caption) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(QLatin1String(name));
        return a;
    };
    MnuList = new QMenu(QStringLiteral("メニュー"), this);
    MnuList->setObjectName(QStringLiteral("MnuList"));
    adrchg = entry(MnuList, "adrchg", QStringLiteral("アドレス帳にインポート(&I)"));
    MyMnuList = new QMenu(QStringLiteral("Editメニュー"), this);
    MyMnuList->setObjectName(QStringLiteral("MyMnuList"));
    OnMail = entry(MyMnuList, "OnMail", QStringLiteral("メールへ(&M)"));
    Editbou = MyMnuList->addSeparator();
    Editbou->setObjectName(QStringLiteral("Editbou"));
    DelList = entry(MyMnuList, "DelList", QStringLiteral("削除(&D)"));
    NameChg = entry(MyMnuList, "NameChg", QStringLiteral("登録名変更(&N)"));
    MnuHenkou = entry(MyMnuList, "MnuHenkou", QStringLiteral("変更(&H)"));
    NewAdr = entry(MyMnuList, "NewAdr", QStringLiteral("新規作成(&N)"));
    BeckyEx = entry(MyMnuList, "BeckyEx", QStringLiteral("BECKYエクスポート(&B)"));
}

template <typename F> void AddressBookWindow::act(F&& command) {
    if (m_syncing)
        return;
    command();
    if (isVisible()) // a command may have closed the window
        refresh();
}

void AddressBookWindow::connectControls() {
    core::AddressBookForm& f = m_form;
    connect(Combo1, &QComboBox::activated, this, [this, &f](int index) { act([&] { f.kindChosen(index); }); });
    connect(List1, &QListWidget::currentRowChanged, this, [this, &f](int r) {
        if (r != f.row)
            act([&] { f.rowSelected(r); });
    });
    connect(List1, &QListWidget::itemDoubleClicked, this, [this, &f] { act([&] { f.putIntoMail(); }); });
    connect(List1, &QWidget::customContextMenuRequested, this, &AddressBookWindow::showListMenu);
    for (std::size_t i = 0; i < 5; ++i)
        connect(Text1[i], &QLineEdit::textChanged, this, [this, &f, i](const QString& text) {
            if (QStringView(text) != qv(f.Text1[i].text))
                act([&] { f.fieldEdited(i, u16(text)); });
        });
    connect(Combo2, &QComboBox::activated, this, [this, &f](int index) { act([&] { f.modelChosen(index); }); });
    connect(Command1, &QPushButton::clicked, this, [this, &f] { act([&] { f.bottomButton(); }); });
    connect(Command2, &QPushButton::clicked, this, [this] { close(); });
    connect(Command3[0], &QPushButton::clicked, this, [this, &f] { act([&] { f.newEntry(); }); });
    connect(Command3[1], &QPushButton::clicked, this, [this, &f] { act([&] { f.change(); }); });
    connect(Command3[2], &QPushButton::clicked, this, [this, &f] { act([&] { f.deleteEntry(); }); });
    connect(Command3[3], &QPushButton::clicked, this, [this, &f] { act([&] { f.importOrExport(); }); });
    connect(adrchg, &QAction::triggered, this, [this, &f] { act([&] { f.importEntry(); }); });
    connect(OnMail, &QAction::triggered, this, [this, &f] { act([&] { f.putIntoMail(); }); });
    connect(DelList, &QAction::triggered, this, [this, &f] { act([&] { f.deleteEntry(); }); });
    connect(NameChg, &QAction::triggered, this, [this, &f] { act([&] { f.rename(); }); });
    connect(MnuHenkou, &QAction::triggered, this, [this, &f] { act([&] { f.change(); }); });
    connect(NewAdr, &QAction::triggered, this, [this, &f] { act([&] { f.newEntry(); }); });
    connect(BeckyEx, &QAction::triggered, this, [this, &f] { act([&] { f.exportBook(); }); });
}

void AddressBookWindow::showListMenu(const QPoint& pos) {
    QMenu* menu = m_form.kind == core::BookKind::My      ? MyMnuList
                  : m_form.kind == core::BookKind::Becky ? MnuList
                                                         : nullptr;
    if (menu)
        menu->popup(List1->viewport()->mapToGlobal(pos));
}

void AddressBookWindow::refresh() {
    if (m_syncing)
        return;
    m_syncing = true;
    const QSize size(px(m_form.innerWidth), px(m_form.innerHeight));
    if (this->size() != size)
        resize(size);
    if (windowTitle() != qv(m_form.caption))
        setWindowTitle(qs(m_form.caption));
    syncControls();
    syncFields();
    fitStatusLine();
    m_syncing = false;
}

void AddressBookWindow::fitStatusLine() {
    // The status line shows a control's whole tip, wrapped on the lines its height holds, in a
    // smaller face when the window's is too large for them.
    const QString text = Label1->text();
    const QRect room = Label1->contentsRect();
    if (text == m_fittedText && room.size() == m_fittedRoom)
        return;
    m_fittedText = text;
    m_fittedRoom = room.size();
    QFont font = this->font();
    const auto fits = [&](const QFont& f) {
        return QFontMetrics(f).boundingRect(room, Qt::TextWordWrap, text).height() <= room.height();
    };
    while (font.pointSizeF() > 6.5 && !fits(font))
        font.setPointSizeF(font.pointSizeF() - 0.25);
    if (Label1->font() != font)
        Label1->setFont(font);
}

void AddressBookWindow::syncControls() {
    for (const auto& [widget, state] : m_controls) {
        const QRect r = pixels(state->rect);
        if (widget->geometry() != r)
            widget->setGeometry(r);
        if (widget->isHidden() == state->visible)
            widget->setVisible(state->visible);
        if (widget->testAttribute(Qt::WA_Disabled) == state->enabled)
            widget->setEnabled(state->enabled);
        if (widget->toolTip() != qv(state->toolTip))
            widget->setToolTip(displayText(state->toolTip));
        const QString caption = displayText(state->caption);
        if (auto* b = qobject_cast<QPushButton*>(widget); b && b->text() != caption)
            b->setText(caption);
        else if (auto* l = qobject_cast<QLabel*>(widget); l && l->text() != caption)
            l->setText(caption);
        else if (auto* g = qobject_cast<QGroupBox*>(widget); g && g->title() != caption)
            g->setTitle(caption);
    }
    // The file-read frame lies in front of everything else when it shows.
    Frame1->raise();

    syncRows(Combo1, m_form.Combo1.items, m_kinds, &itemText);
    if (Combo1->currentIndex() != m_form.Combo1.listIndex)
        Combo1->setCurrentIndex(m_form.Combo1.listIndex);
    syncRows(List1, m_form.entries, m_rows, &entryName);
    if (List1->currentRow() != m_form.row)
        List1->setCurrentRow(m_form.row);
    syncRows(Combo2, m_form.Combo2.items, m_models, &itemText);
    if (Combo2->currentIndex() != m_form.Combo2.listIndex)
        Combo2->setCurrentIndex(m_form.Combo2.listIndex);
}

void AddressBookWindow::syncFields() {
    const bool locked = m_form.detailsLocked;
    const QColor back = locked ? LockedBack : QApplication::palette(Text1[0]).color(QPalette::Base);
    for (std::size_t i = 0; i < 5; ++i) {
        QLineEdit* edit = Text1[i];
        if (edit->text() != qv(m_form.Text1[i].text))
            edit->setText(qs(m_form.Text1[i].text));
        if (edit->isReadOnly() != locked)
            edit->setReadOnly(locked);
        setBack(edit, back);
    }
    setBack(Combo2, back);
}

void AddressBookWindow::closeEvent(QCloseEvent* event) {
    if (!m_form.close()) {
        event->ignore();
        refresh();
        return;
    }
    if (m_form.fileChosen() && m_chosenFile)
        *m_chosenFile = m_form.fileReadChoice;
    m_chosenFile = nullptr;
    event->accept();
}

void AddressBookWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    m_boxes.setParentWidget(this);
}

void AddressBookWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (m_syncing)
        return;
    m_form.resized(width() * TwipsPerPixel, height() * TwipsPerPixel);
    refresh();
}

void AddressBookWindow::keyPressEvent(QKeyEvent* event) {
    // Esc leaves file-read mode without a file, as its label says.
    if (event->key() == Qt::Key_Escape && m_form.kind == core::BookKind::FileRead) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void AddressBookWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (m_form.kind == core::BookKind::FileRead && !droppedFiles(event->mimeData()).empty())
        event->acceptProposedAction();
}

void AddressBookWindow::dropEvent(QDropEvent* event) {
    std::vector<std::u16string> files = droppedFiles(event->mimeData());
    if (files.empty() || m_dropPending)
        return;
    event->acceptProposedAction();
    // The drag-and-drop exchange still runs through this window until the event returns: the
    // question and the closing (which deletes the window) come after it.
    m_dropPending = true;
    QMetaObject::invokeMethod(
        this,
        [this, files = std::move(files)] {
            m_dropPending = false;
            bool chosen = false;
            act([&] { chosen = m_form.filesDropped(files); });
            if (chosen)
                close();
        },
        Qt::QueuedConnection);
}

bool AddressBookWindow::eventFilter(QObject* watched, QEvent* event) {
    // A right click opens the list's menu for the selected row without selecting another.
    if (watched == List1->viewport() &&
        (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton)
        return true;
    if (event->type() == QEvent::Enter) {
        for (const auto& [widget, state] : m_controls)
            if ((watched == widget || (widget == List1 && watched == List1->viewport())) && widget->isEnabled()) {
                act([&, s = state] { m_form.pointerOver(*s); });
                break;
            }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace ui
