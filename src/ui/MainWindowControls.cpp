// The main window's controls: creation and the signals that become editor commands.
#include "ui/MainWindow.h"

#include "ui/Colours.h"
#include "ui/Convert.h"
#include "ui/CountLabel.h"
#include "ui/DraftList.h"
#include "ui/ItemListModel.h"
#include "ui/PhoneInput.h"
#include "ui/TabStopDelegate.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

// The icons live in a static library, whose resources the linker keeps only when asked for.
static void initIconResources() {
    Q_INIT_RESOURCE(icons);
}

namespace ui {

namespace {

template <typename W> W* make(QWidget* parent, const QString& name) {
    auto* w = new W(parent);
    w->setObjectName(name);
    return w;
}

QPushButton* pictureButton(QWidget* parent, const QString& name, const QString& icon) {
    auto* b = make<QPushButton>(parent, name);
    b->setIcon(QIcon(icon));
    b->setIconSize(QSize(32, 32));
    return b;
}

template <typename Label = QLabel> Label* label(QWidget* parent, const QString& name) {
    auto* l = make<Label>(parent, name);
    l->setTextFormat(Qt::PlainText);
    return l;
}

} // namespace

void MainWindow::bind(QWidget* widget, const core::Control& state) {
    ControlBinding b;
    b.widget = widget;
    b.state = &state;
    b.label = qobject_cast<QLabel*>(widget);
    b.button = qobject_cast<QAbstractButton*>(widget);
    b.group = qobject_cast<QGroupBox*>(widget);
    m_controls.push_back(std::move(b));
}

void MainWindow::buildControls() {
    initIconResources();
    core::MainState& s = m_editor.s;
    QWidget* c = m_client;

    Frame2 = make<QGroupBox>(c, QStringLiteral("Frame2"));
    bind(Frame2, s.Frame2);
    Command3 = pictureButton(Frame2, QStringLiteral("Command3"), QStringLiteral(":/icons/send.png"));
    Command1 = make<QPushButton>(Frame2, QStringLiteral("Command1"));
    Command4[0] = pictureButton(Frame2, QStringLiteral("Command4(0)"), QStringLiteral(":/icons/preview.png"));
    Command4[1] = pictureButton(Frame2, QStringLiteral("Command4(1)"), QStringLiteral(":/icons/signature.png"));
    Command7 = pictureButton(Frame2, QStringLiteral("Command7"), QStringLiteral(":/icons/vertical.png"));
    Command2 = pictureButton(Frame2, QStringLiteral("Command2"), QStringLiteral(":/icons/addressbook.png"));
    Check2 = make<QCheckBox>(Frame2, QStringLiteral("Check2"));
    Combo2 = make<QComboBox>(Frame2, QStringLiteral("Combo2"));
    m_combo2Model = new ItemListModel(Combo2);
    Combo2->setModel(m_combo2Model);
    bind(Command3, s.Command3);
    bind(Command1, s.Command1);
    bind(Command4[0], s.Command4[0]);
    bind(Command4[1], s.Command4[1]);
    bind(Command7, s.Command7);
    bind(Command2, s.Command2);
    bind(Check2, s.Check2);
    bind(Combo2, s.Combo2);

    Command6 = make<QPushButton>(c, QStringLiteral("Command6"));
    Combo1 = make<QComboBox>(c, QStringLiteral("Combo1"));
    m_combo1Model = new ItemListModel(Combo1);
    Combo1->setModel(m_combo1Model);
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    Combo1->setCompleter(nullptr);
    Label2 = label(c, QStringLiteral("Label2"));
    Text2 = make<QLineEdit>(c, QStringLiteral("Text2"));
    new PhoneInput(Text2, true);
    new PhoneInput(Combo1->lineEdit(), false, Combo1);
    Text1 = make<BodyEdit>(c, QStringLiteral("Text1"));
    Text1->useLineLayout(MarkedEdit::EditedLines::AtOnce);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    List1 = make<DraftListView>(c, QStringLiteral("List1"));
    m_listDelegate = new TabStopDelegate(List1);
    List1->setItemDelegate(m_listDelegate);
    m_listModel = new DraftListModel(s.List1, List1);
    List1->setModel(m_listModel);
    bind(Command6, s.Command6);
    bind(Combo1, s.Combo1);
    bind(Label2, s.Label2);
    bind(Text2, s.Text2);
    bind(Text1, s.Text1);
    bind(List1, s.List1);

    Frame3 = make<QGroupBox>(c, QStringLiteral("Frame3"));
    Combo3 = make<QComboBox>(Frame3, QStringLiteral("Combo3"));
    m_combo3Model = new ItemListModel(Combo3);
    Combo3->setModel(m_combo3Model);
    Text3 = make<MarkedEdit>(Frame3, QStringLiteral("Text3"));
    Text3->useLineLayout(MarkedEdit::EditedLines::WhenShown);
    Text3->setReadOnly(true);
    Text3->setUndoRedoEnabled(false);
    // The box is as wide as a row of the phone's columns in its font, the scroll bar beside it,
    // and as tall as the rows: a thin margin leaves them their room.
    Text3->document()->setDocumentMargin(1);
    Text3->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text3->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    Command5 = make<QPushButton>(Frame3, QStringLiteral("Command5"));
    Check3 = make<QCheckBox>(Frame3, QStringLiteral("Check3"));
    Label4 = label(Frame3, QStringLiteral("Label4"));
    Label4->setWordWrap(true);
    Label4->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    bind(Frame3, s.Frame3);
    bind(Combo3, s.Combo3);
    bind(Text3, s.Text3);
    bind(Command5, s.Command5);
    bind(Check3, s.Check3);
    bind(Label4, s.Label4);

    Picture1 = make<QFrame>(c, QStringLiteral("Picture1"));
    Picture1->setFrameShape(QFrame::Panel);
    Picture1->setFrameShadow(QFrame::Sunken);
    Label3[0] = label(Picture1, QStringLiteral("Label3(0)"));
    Label3[1] = label(Picture1, QStringLiteral("Label3(1)"));
    Label6 = label(Picture1, QStringLiteral("Label6"));
    Label1 = label<CountLabel>(Picture1, QStringLiteral("Label1"));
    Label5 = label<CountLabel>(Picture1, QStringLiteral("Label5")); // last: the banner covers the others
    // Opaque status labels: a new count repaints the label alone, not the window beneath it.
    for (QLabel* l : {Label3[0], Label3[1], Label6, Label1})
        l->setAutoFillBackground(true);
    // The banner is drawn again at every keystroke past the limit: filled with an opaque colour
    // (no style sheet), what lies under it is not drawn, and its text (digits and fixed words)
    // goes unshaped.
    QPalette banner = Label5->palette();
    banner.setColor(QPalette::Window, colours::BannerBack);
    banner.setColor(QPalette::WindowText, colours::BannerText);
    Label5->setPalette(banner);
    Label5->setAutoFillBackground(true);
    QFont bannerFont = Label5->font();
    bannerFont.setStyleStrategy(QFont::PreferNoShaping);
    Label5->setFont(bannerFont);
    bind(Picture1, s.Picture1);
    bind(Label3[0], s.Label3[0]);
    bind(Label3[1], s.Label3[1]);
    bind(Label6, s.Label6);
    bind(Label1, s.Label1);
    bind(Label5, s.Label5);

    // The filter frame hangs over the destination, title and body when expanded.
    Frame1 = make<QGroupBox>(c, QStringLiteral("Frame1"));
    Frame1->setAutoFillBackground(true); // opaque over what it covers
    bind(Frame1, s.Frame1);
    for (int i = 0; i < 9; ++i) {
        Check1[std::size_t(i)] = make<QCheckBox>(Frame1, QStringLiteral("Check1(%1)").arg(i));
        bind(Check1[std::size_t(i)], s.Check1[std::size_t(i)]);
    }
    Frame1->raise();
    Frame1->installEventFilter(this);
}

void MainWindow::connectControls() {
    core::MainState& s = m_editor.s;
    for (int i = 0; i < 9; ++i)
        connect(Check1[std::size_t(i)], &QCheckBox::toggled, this, [this, i](bool on) {
            if (on != m_editor.s.Check1[std::size_t(i)].checked)
                act([&] { m_editor.setOptionBox(i, on); });
        });
    connect(Check2, &QCheckBox::toggled, this, [this, &s](bool on) {
        if (on != s.Check2.checked)
            act([&] { m_editor.setImode(on); });
    });
    connect(Check3, &QCheckBox::toggled, this, [this, &s](bool on) {
        if (on != s.Check3.checked)
            act([&] { m_editor.setVerticalPreview(on); });
    });
    connect(Combo2, &QComboBox::currentIndexChanged, this, [this, &s](int index) {
        if (index != s.Combo2.listIndex)
            act([&] { m_editor.accountPicked(index); });
    });
    connect(Combo3, &QComboBox::currentIndexChanged, this, [this, &s](int index) {
        if (index != s.Combo3.listIndex)
            act([&] { m_editor.modelSelected(index); });
    });
    connect(Combo1, &QComboBox::editTextChanged, this, [this, &s](const QString& text) {
        if (QStringView(text) != qv(s.Combo1.text))
            act([&] {
                destinationSelectionMoved();
                m_editor.destinationTextChanged(u16(text));
            });
    });
    connect(Combo1, &QComboBox::activated, this,
            [this](int index) { act([&] { m_editor.destinationItemPicked(index); }); });
    connect(Combo1->lineEdit(), &QLineEdit::cursorPositionChanged, this, [this] { destinationSelectionMoved(); });
    connect(Combo1->lineEdit(), &QLineEdit::selectionChanged, this, [this] { destinationSelectionMoved(); });
    connect(Text2, &QLineEdit::textChanged, this, [this, &s](const QString& text) {
        if (QStringView(text) != qv(s.Text2.text))
            act([&] {
                lineSelectionMoved(Text2, s.Text2);
                m_editor.titleChanged(u16(text));
            });
    });
    connect(Text2, &QLineEdit::cursorPositionChanged, this, [this, &s] { lineSelectionMoved(Text2, s.Text2); });
    connect(Text2, &QLineEdit::selectionChanged, this, [this, &s] { lineSelectionMoved(Text2, s.Text2); });
    connect(Text2, &QLineEdit::returnPressed, this, [this] { Text1->setFocus(); });

    connect(Command3, &QPushButton::clicked, this, [this] { act([&] { m_editor.send(); }); });
    connect(Command1, &QPushButton::clicked, this, [this] { act([&] { m_editor.countRun(); }); });
    connect(Command4[0], &QPushButton::clicked, this, [this] { act([&] { m_editor.previewAreaToggle(); }); });
    connect(Command4[1], &QPushButton::clicked, this, [this] { act([&] { m_editor.signatureButton(); }); });
    connect(Command7, &QPushButton::clicked, this, [this] { act([&] { m_editor.verticalModeButton(); }); });
    connect(Command5, &QPushButton::clicked, this, [this] { act([&] { m_editor.sendImage(); }); });
    connect(List1, &DraftListView::rowChosen, this, [this](int row) { act([&] { m_editor.listRowClicked(row); }); });
    connect(List1, &QAbstractItemView::doubleClicked, this, [this] { act([&] { m_editor.listDoubleClicked(); }); });

    connect(Text1->document(), &QTextDocument::contentsChange, this,
            [this](int pos, int removed, int added) { bodyDocumentChanged(pos, removed, added); });
    connect(Text1, &QPlainTextEdit::cursorPositionChanged, this, [this] { bodySelectionMoved(); });
    connect(Text1, &QPlainTextEdit::selectionChanged, this, [this] { bodySelectionMoved(); });
    Text1->keyPressed = [this](const core::BodyKey& key) {
        if (m_syncing)
            return false;
        beginCommand();
        bool consumed = m_editor.bodyKeyPress(key);
        m_inCommand = false;
        // A plain key that the editor let through changes the text; the mirroring after that
        // edit shows whatever the key did.
        if (consumed || key.kind != core::BodyKey::Other)
            refresh();
        return consumed;
    };
    Text1->keyDone = [this] { releaseQuestions(); };
    Text1->keyReleased = [this] {
        if (m_syncing)
            return;
        beginCommand();
        const bool ran = m_editor.bodyKeyRelease();
        m_inCommand = false;
        // Most releases do nothing: what their key did was mirrored as it went in.
        if (!ran)
            return;
        m_typing = true;
        refresh();
        m_typing = false;
    };
}

} // namespace ui
