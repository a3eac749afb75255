// The main window's menu bar: entries, their commands, and the entries made at run time.
#include "ui/Fonts.h"
#include "ui/MainWindow.h"

#include "ui/Convert.h"

#include <QMenu>
#include <QMenuBar>

namespace ui {

namespace {

QAction* entry(QMenu* menu, const char* name) {
    auto* a = menu->addAction(QString());
    a->setObjectName(QLatin1String(name));
    return a;
}

QAction* entry(QMenu* menu, const char* name, int index) {
    auto* a = menu->addAction(QString());
    a->setObjectName(QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index));
    return a;
}

template <std::size_t N> void entries(QMenu* menu, const char* name, std::array<QAction*, N>& actions) {
    for (std::size_t i = 0; i < N; ++i)
        actions[i] = entry(menu, name, int(i));
}

QMenu* submenu(QWidget* owner, QMenu* parent, const char* name) {
    QMenu* m = parent ? parent->addMenu(QString()) : static_cast<QMainWindow*>(owner)->menuBar()->addMenu(QString());
    m->setObjectName(QLatin1String(name));
    m->menuAction()->setObjectName(QLatin1String(name));
    // The window's face, not the desktop's: spaces beside Japanese and Latin text are then the
    // same width, and the emoji menu's keywords line up.
    m->setFont(japaneseFont(u"ＭＳ ゴシック", 9));
    return m;
}

} // namespace

void MainWindow::buildMenus() {
    core::MainState& s = m_editor.s;

    Mnufile = submenu(this, nullptr, "Mnufile");
    openfile = entry(Mnufile, "openfile");
    newfile = entry(Mnufile, "newfile");
    TotyuuSave = entry(Mnufile, "TotyuuSave");
    entries(Mnufile, "ReadingBecky", ReadingBecky);
    Mnufile->addSeparator();
    Mnuexit = entry(Mnufile, "Mnuexit");

    mainmnu = submenu(this, nullptr, "mainmnu");
    entries(mainmnu, "CopyDisp", CopyDisp);
    mojisize = submenu(this, mainmnu, "mojisize");
    entries(mojisize, "SizeFontChg", SizeFontChg);
    mainmnu->addSeparator();
    entries(mainmnu, "nuki", nuki);
    mainmnu->addSeparator();
    Cmero = entry(mainmnu, "Cmero");

    Mnucode = submenu(this, nullptr, "Mnucode");
    mojio = entry(Mnucode, "mojio");
    entries(Mnucode, "MnuTouroku", MnuTouroku);
    EmojiChk = entry(Mnucode, "EmojiChk");
    Aouttikan = entry(Mnucode, "Aouttikan");
    Mnucode->addSeparator(); // PutChar entries follow

    imenu = submenu(this, nullptr, "imenu");
    IOutNO = entry(imenu, "IOutNO");
    IOutput = entry(imenu, "IOutput");
    IOutEnd = entry(imenu, "IOutEnd");
    OutBcc = entry(imenu, "OutBcc");
    OutAccuntChg = submenu(this, imenu, "OutAccuntChg");
    entries(OutAccuntChg, "OutAdrChg", OutAdrChg);
    imenu->addSeparator(); // OutAdr entries follow

    MnuWindow = submenu(this, nullptr, "MnuWindow");
    entries(MnuWindow, "ViewPre", ViewPre);
    MnuWindow->addSeparator();
    YokoPre = entry(MnuWindow, "YokoPre");
    MnuTATE = submenu(this, MnuWindow, "MnuTATE");
    entries(MnuTATE, "PreTate", PreTate);

    MnuHelp = submenu(this, nullptr, "MnuHelp");
    kotori = entry(MnuHelp, "kotori");
    ReadMe = entry(MnuHelp, "ReadMe");
    MnuHelp->addSeparator();
    ReSetSave = entry(MnuHelp, "ReSetSave");
    MnuHelp->addSeparator();
    MnuOpenHelp = entry(MnuHelp, "MnuOpenHelp");

    bind(Mnufile->menuAction(), s.Mnufile);
    bind(openfile, s.openfile);
    bind(newfile, s.newfile);
    bind(TotyuuSave, s.TotyuuSave);
    bind(Mnuexit, s.Mnuexit);
    bind(mainmnu->menuAction(), s.mainmnu);
    bind(mojisize->menuAction(), s.mojisize);
    bind(Cmero, s.Cmero);
    bind(Mnucode->menuAction(), s.Mnucode);
    bind(mojio, s.mojio);
    bind(EmojiChk, s.EmojiChk);
    bind(Aouttikan, s.Aouttikan);
    bind(imenu->menuAction(), s.imenu);
    bind(IOutNO, s.IOutNO);
    bind(IOutput, s.IOutput);
    bind(IOutEnd, s.IOutEnd);
    bind(OutBcc, s.OutBcc);
    bind(OutAccuntChg->menuAction(), s.OutAccuntChg);
    bind(MnuWindow->menuAction(), s.MnuWindow);
    bind(YokoPre, s.YokoPre);
    bind(MnuTATE->menuAction(), s.MnuTATE);
    bind(MnuHelp->menuAction(), s.MnuHelp);
    bind(kotori, s.kotori);
    bind(ReadMe, s.ReadMe);
    bind(ReSetSave, s.ReSetSave);
    bind(MnuOpenHelp, s.MnuOpenHelp);
    for (std::size_t i = 0; i < 2; ++i) {
        bind(ReadingBecky[i], s.ReadingBecky[i]);
        bind(MnuTouroku[i], s.MnuTouroku[i]);
        bind(PreTate[i], s.PreTate[i]);
    }
    for (std::size_t i = 0; i < 3; ++i) {
        bind(CopyDisp[i], s.CopyDisp[i]);
        bind(SizeFontChg[i], s.SizeFontChg[i]);
        bind(OutAdrChg[i], s.OutAdrChg[i]);
        bind(ViewPre[i], s.ViewPre[i]);
    }
    for (std::size_t i = 0; i < 9; ++i)
        bind(nuki[i], s.nuki[i]);
    // Entries that show a check mark.
    for (QAction* a : {Aouttikan, IOutNO, IOutput, IOutEnd, OutBcc, OutAdrChg[0], OutAdrChg[1], OutAdrChg[2],
                       SizeFontChg[0], SizeFontChg[1], SizeFontChg[2]})
        a->setCheckable(true);
}

void MainWindow::connectMenus() {
    auto on = [this](QAction* a, auto command) {
        connect(a, &QAction::triggered, this, [this, command] { act(command); });
    };
    core::Editor& e = m_editor;
    on(newfile, [&e] { e.newMail(); });
    on(TotyuuSave, [&e] { e.saveDraft(); });
    for (int i = 0; i < 2; ++i)
        on(ReadingBecky[std::size_t(i)], [&e, i] { e.readingBecky(i); });
    on(Mnuexit, [&e] { e.exitCommand(); });
    for (int i = 0; i < 3; ++i) {
        on(CopyDisp[std::size_t(i)], [&e, i] { e.copyDisp(i); });
        on(SizeFontChg[std::size_t(i)], [&e, i] { e.fontSizeChosen(i); });
        on(OutAdrChg[std::size_t(i)], [&e, i] { e.changeModeChosen(i); });
        on(ViewPre[std::size_t(i)], [&e, i] { e.viewPre(i); });
    }
    for (int k = 0; k < 9; ++k)
        on(nuki[std::size_t(k)], [&e, k] { e.conversion(k); });
    on(Cmero, [&e] { e.conversionChain(); });
    on(IOutNO, [&e] { e.sendOptionChosen(e.s.IOutNO); });
    on(IOutput, [&e] { e.sendOptionChosen(e.s.IOutput); });
    on(IOutEnd, [&e] { e.sendOptionChosen(e.s.IOutEnd); });
    on(OutBcc, [&e] { e.sendOptionChosen(e.s.OutBcc); });
    connect(mojio, &QAction::triggered, this, [this] { openRegistry(); });
    for (int k = 0; k < 2; ++k)
        on(MnuTouroku[std::size_t(k)], [&e, k] { e.emojiReplace(k); });
    on(EmojiChk, [&e] { e.emojiCheck(); });
    on(Aouttikan, [&e] { e.s.Aouttikan.checked = !e.s.Aouttikan.checked; });
    on(YokoPre, [&e] { e.yokoPre(); });
    for (int i = 0; i < 2; ++i)
        on(PreTate[std::size_t(i)], [&e, i] { e.preTate(i); });
    on(kotori, [&e] { e.about(); });
    on(ReadMe, [&e] { e.readMe(); });
    on(ReSetSave, [&e] { e.resetSettings(); });
}

void MainWindow::syncDynamicMenu(QMenu* menu, std::vector<QAction*>& actions, const std::vector<core::MenuItem>& items,
                                 const char* name, bool toEmoji) {
    while (actions.size() > items.size()) {
        delete actions.back();
        actions.pop_back();
    }
    while (actions.size() < items.size()) {
        int n = int(actions.size());
        QAction* a = menu->addAction(QString());
        a->setObjectName(QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(n));
        a->setCheckable(!toEmoji);
        if (toEmoji)
            connect(a, &QAction::triggered, this, [this, n] { act([&] { m_editor.insertEmoji(n); }); });
        else
            connect(a, &QAction::triggered, this, [this, n] { act([&] { m_editor.ownAddressChosen(n); }); });
        actions.push_back(a);
    }
}

} // namespace ui
