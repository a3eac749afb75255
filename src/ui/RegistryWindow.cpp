#include "ui/RegistryWindow.h"

#include "ui/Convert.h"
#include "ui/Fonts.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>

namespace ui {

namespace {

template <typename W> W* make(QWidget* parent, const QString& name, const QRect& geometry) {
    auto* w = new W(parent);
    w->setObjectName(name);
    w->setGeometry(geometry);
    return w;
}

QPushButton* button(QWidget* parent, const QString& name, const QString& caption, const QRect& geometry) {
    auto* b = make<QPushButton>(parent, name, geometry);
    b->setText(caption);
    return b;
}

} // namespace

RegistryWindow::RegistryWindow(core::Prompts& prompts, core::EmojiBody& body, std::u16string tablePath, QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_registry(dynamic_cast<QtPrompts*>(&prompts) ? m_boxes : prompts, body, std::move(tablePath)) {
    // The window's questions open over it, not over the main window.
    m_boxes.setParentWidget(this);
    setObjectName(QStringLiteral("Form2"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(japaneseFont(u"ＭＳ ゴシック", 9));
    build();
    connectControls();
    m_registry.open();
    refresh();
}

void RegistryWindow::build() {
    setFixedSize(400, 390);
    Frame1 = make<QGroupBox>(this, QStringLiteral("Frame1"), {8, 6, 384, 84});
    Frame1->setTitle(QStringLiteral("コード登録"));
    HScroll1 = make<QScrollBar>(Frame1, QStringLiteral("HScroll1"), {10, 22, 364, 18});
    HScroll1->setOrientation(Qt::Horizontal);
    HScroll1->setRange(0, core::CodeBrowserMax);
    HScroll1->setPageStep(10);
    // Browsed with the keys too, as a scroll bar of its own window is: arrows, pages, ends.
    HScroll1->setFocusPolicy(Qt::StrongFocus);
    HScroll1->installEventFilter(this);
    Label1 = make<QLabel>(Frame1, QStringLiteral("Label1"), {10, 50, 56, 24});
    Text1 = make<QLineEdit>(Frame1, QStringLiteral("Text1"), {66, 46, 40, 30});
    Text1->setFont(japaneseFont(u"ＭＳ ゴシック", 14));
    Text1->setAlignment(Qt::AlignCenter);
    Label2 = make<QLabel>(Frame1, QStringLiteral("Label2"), {110, 50, 78, 24});
    Label2->setText(QStringLiteral("： キーワード"));
    Text2 = make<QLineEdit>(Frame1, QStringLiteral("Text2"), {188, 48, 126, 26});
    Command1 = button(Frame1, QStringLiteral("Command1"), QStringLiteral("登録"), {318, 46, 56, 30});
    for (QLabel* l : {Label1, Label2}) {
        l->setTextFormat(Qt::PlainText);
        l->setCursor(Qt::PointingHandCursor);
        l->installEventFilter(this);
    }

    List1 = make<QListWidget>(this, QStringLiteral("List1"), {8, 98, 300, 284});
    List1->setFont(japaneseFont(u"ＭＳ ゴシック", 11));
    Command4[0] = button(this, QStringLiteral("Command4(0)"), QStringLiteral("▲"), {316, 98, 36, 28});
    Command4[1] = button(this, QStringLiteral("Command4(1)"), QStringLiteral("▼"), {356, 98, 36, 28});
    const QString captions[6] = {QStringLiteral("削除"), QStringLiteral("ソ ｜ ト"),   QStringLiteral("本文 記入"),
                                 QStringLiteral("適用"), QStringLiteral("キャンセル"), QStringLiteral("ＯＫ")};
    const int tops[6] = {138, 172, 206, 282, 316, 350};
    for (int i = 0; i < 6; ++i)
        Command2[std::size_t(i)] =
            button(this, QStringLiteral("Command2(%1)").arg(i), captions[i], {316, tops[i], 76, 30});
}

template <typename F> void RegistryWindow::act(F&& command) {
    if (m_syncing)
        return;
    command();
    refresh();
}

void RegistryWindow::connectControls() {
    core::EmojiRegistry& r = m_registry;
    connect(HScroll1, &QScrollBar::valueChanged, this, [this, &r](int v) { act([&] { r.browse(v); }); });
    connect(Text1, &QLineEdit::textEdited, this,
            [this, &r](const QString& text) { act([&] { r.characterEdited(u16(text)); }); });
    connect(Text2, &QLineEdit::textEdited, this,
            [this, &r](const QString& text) { act([&] { r.keywordEdited(u16(text)); }); });
    connect(List1, &QListWidget::currentRowChanged, this, [this, &r](int row) { act([&] { r.rowClicked(row); }); });
    // A click on the row already selected fills the boxes again too.
    connect(List1, &QListWidget::itemClicked, this,
            [this, &r](QListWidgetItem* item) { act([&] { r.rowClicked(List1->row(item)); }); });
    connect(List1, &QListWidget::itemDoubleClicked, this, [this, &r] { act([&] { r.putIntoBody(); }); });
    connect(Command1, &QPushButton::clicked, this, [this, &r] { act([&] { r.registerEntry(); }); });
    for (int d = 0; d < 2; ++d)
        connect(Command4[std::size_t(d)], &QPushButton::clicked, this, [this, &r, d] { act([&] { r.move(d); }); });
    connect(Command2[0], &QPushButton::clicked, this, [this, &r] { act([&] { r.deleteRow(); }); });
    connect(Command2[1], &QPushButton::clicked, this, [this, &r] { act([&] { r.sort(); }); });
    connect(Command2[2], &QPushButton::clicked, this, [this, &r] { act([&] { r.putIntoBody(); }); });
    connect(Command2[3], &QPushButton::clicked, this, [this, &r] { act([&] { r.apply(); }); });
    connect(Command2[4], &QPushButton::clicked, this, [this, &r] {
        r.cancel();
        close();
    });
    connect(Command2[5], &QPushButton::clicked, this, [this] { close(); });
}

void RegistryWindow::refresh() {
    const core::RegistryState& f = m_registry.f;
    bool was = m_syncing;
    m_syncing = true;
    if (windowTitle() != qv(f.caption))
        setWindowTitle(qs(f.caption));
    if (HScroll1->value() != f.HScroll1)
        HScroll1->setValue(f.HScroll1);
    if (Label1->text() != qv(f.Label1))
        Label1->setText(qs(f.Label1));
    if (Text1->text() != qv(f.Text1))
        Text1->setText(qs(f.Text1));
    if (Text2->text() != qv(f.Text2))
        Text2->setText(qs(f.Text2));
    if (m_shownRows != f.List1) {
        List1->clear();
        for (const std::u16string& row : f.List1)
            List1->addItem(qs(row));
        m_shownRows = f.List1;
    }
    if (List1->currentRow() != f.listIndex)
        List1->setCurrentRow(f.listIndex);
    m_syncing = was;
}

void RegistryWindow::closeEvent(QCloseEvent* event) {
    if (m_registry.requestClose()) {
        event->accept();
        return;
    }
    event->ignore();
    refresh();
}

bool RegistryWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == HScroll1 && event->type() == QEvent::KeyPress) {
        // A code a press of an arrow, ten a page, or the first and the last.
        static const std::pair<int, QAbstractSlider::SliderAction> keys[] = {
            {Qt::Key_Left, QAbstractSlider::SliderSingleStepSub},
            {Qt::Key_Up, QAbstractSlider::SliderSingleStepSub},
            {Qt::Key_Right, QAbstractSlider::SliderSingleStepAdd},
            {Qt::Key_Down, QAbstractSlider::SliderSingleStepAdd},
            {Qt::Key_PageUp, QAbstractSlider::SliderPageStepSub},
            {Qt::Key_PageDown, QAbstractSlider::SliderPageStepAdd},
            {Qt::Key_Home, QAbstractSlider::SliderToMinimum},
            {Qt::Key_End, QAbstractSlider::SliderToMaximum}};
        const int key = static_cast<QKeyEvent*>(event)->key();
        for (const auto& [k, action] : keys)
            if (k == key) {
                HScroll1->triggerAction(action);
                return true;
            }
    }
    if ((watched == Label1 || watched == Label2) && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        act([&] {
            if (watched == Label1)
                m_registry.findByCharacter();
            else
                m_registry.findByKeyword();
        });
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace ui
