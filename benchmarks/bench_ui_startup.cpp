// Start-up of the program's window on a full program folder, beside the start-up of a plain Qt
// window with the same widgets. Each run is a fresh process: this program runs itself as a child.
#include "BenchWindow.h"
#include "QuickCore.h"
#include "Ratio.h"

#include "core/app/Clock.h"
#include "core/app/Editor.h"
#include "platform/Cp932.h"
#include "platform/Paths.h"
#include "ui/MainWindow.h"

#include <QApplication>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

void writeCp932(const fs::path& path, const std::u16string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    std::string bytes = platform::encodeCp932(text);
    out.write(bytes.data(), std::streamsize(bytes.size()));
}

std::u16string number(int n, int width) {
    std::string s = std::to_string(n);
    while (int(s.size()) < width)
        s.insert(s.begin(), '0');
    return platform::fromUtf8(s);
}

fs::path makeProgramFolder() {
    fs::path dir = fs::temp_directory_path() / ("kotori-bench-" + std::to_string(getpid()));
    fs::create_directories(dir / "becky" / "User1");
    fs::create_directories(dir / "wine");
    std::u16string core = platform::fromUtf8(dir.string());

    std::u16string models;
    for (int i = 0; i < 100; ++i)
        models += u"機種" + number(i, 3) + u"#" + number(800 + 100 * (i % 5) + 6 + i % 4, 4) + u"\r\n";
    writeCp932(dir / "Keitai.pre", models);

    std::u16string book;
    for (int i = 0; i < 2000; ++i)
        book += u"user" + number(i, 4) + u"@docomo.ne.jp\t友達" + number(i, 4) + u"\t機種" + number(i % 100, 3) +
                u"\t.\t.\t.\r\n";
    writeCp932(dir / "addr.adr", book);

    std::u16string emoji;
    for (int i = 0; i < 207; ++i)
        emoji += std::u16string(1, char16_t(0xE63E + i)) + u"\tきーわーど" + number(i, 3) + u"\r\n";
    writeCp932(dir / "Emoji.code", emoji);

    writeCp932(dir / "Kotori.ini", u"Xsiz=8010\r\nYsiz=8190\r\nSei0=0\r\nSei1=0\r\nSei2=0\r\nSei3=0\r\nSei4=0\r\n"
                                   u"Sei5=0\r\nSei6=0\\0\r\nSei7=0\r\nSei8=0\r\nSnam=\r\nSsyo=0\r\nimde=1\r\naddr=0\r\n"
                                   u"ATTI=True\r\nFont=12\r\nIONO=False\r\nIPUT=False\r\nIEND=False\r\nAcnt=0\r\n"
                                   u"AcOp=0\r\nMyad=0\r\nBcOp=False\r\nLogD=草稿：0_ログ：0\r\nLook=True\r\n");
    writeCp932(dir / "Becky.mil", core + u"\\becky\\\r\nme@docomo.ne.jp\r\nメイン,1\r\nmain@example.jp\r\n");
    return dir;
}

// Start-up ends when the window is on screen: its first paint happens as it is exposed. The CPU
// time the process has used by then goes to the parent through the pipe named on the command line.
void waitShown(QApplication& app, QWidget& window, int reportTo) {
    window.show();
    while (!window.windowHandle() || !window.windowHandle()->isExposed())
        app.processEvents(QEventLoop::AllEvents, 5);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto nanoseconds = [](const timeval& t) { return double(t.tv_sec) * 1e9 + double(t.tv_usec) * 1e3; };
    const double ns = nanoseconds(usage.ru_utime) + nanoseconds(usage.ru_stime);
    if (write(reportTo, &ns, sizeof ns) != sizeof ns)
        std::_Exit(2);
    app.processEvents(); // what waits for the first paint runs too, unmeasured
}

int runKotori(int argc, char** argv, const std::string& dir, int reportTo) {
    QApplication app(argc, argv);
    bench::AutoPrompts prompts;
    core::SystemClock clock;
    core::Editor editor(prompts, clock, platform::fromUtf8(dir));
    ui::MainWindow window(editor);
    editor.setView(&window);
    editor.startup(u"");
    editor.s.window.visible = true;
    window.refresh();
    waitShown(app, window, reportTo);
    editor.setView(nullptr);
    return 0;
}

int runBare(int argc, char** argv, int reportTo) {
    QApplication app(argc, argv);
    QMainWindow window;
    bench::buildBareWindow(window);
    waitShown(app, window, reportTo);
    return 0;
}

// The CPU time (user and system) one run of this program as a child takes to put its window on
// screen.
double runChild(const char* self, std::vector<std::string> args) {
    int report[2];
    if (pipe(report) != 0) {
        std::perror("pipe");
        std::exit(1);
    }
    args.push_back(std::to_string(report[1]));
    pid_t pid = fork();
    if (pid == 0) {
        close(report[0]);
        // Qt's notes on the offscreen platform, once per child, would bury the figures.
        if (int null = open("/dev/null", O_WRONLY); null >= 0)
            dup2(null, 2);
        std::vector<char*> argv{const_cast<char*>(self)};
        for (const auto& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(self, argv.data());
        _exit(127);
    }
    close(report[1]);
    double ns = 0;
    const bool reported = read(report[0], &ns, sizeof ns) == sizeof ns;
    close(report[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (!reported || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "child %s failed\n", args[0].c_str());
        std::exit(1);
    }
    return ns;
}

} // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    if (argc >= 4 && std::string(argv[1]) == "--child-kotori")
        return runKotori(1, argv, argv[2], std::atoi(argv[3]));
    if (argc >= 3 && std::string(argv[1]) == "--child-bare")
        return runBare(1, argv, std::atoi(argv[2]));

    fs::path dir = makeProgramFolder();
    setenv("WINEPREFIX", (dir / "wine").c_str(), 1); // no Becky! lookup outside the folder
    std::string self = fs::canonical("/proc/self/exe").string();
    runChild(self.c_str(), {"--child-bare"}); // warm the caches once
    runChild(self.c_str(), {"--child-kotori", dir.string()});
    // Rounds of four starts each, taking turns.
    bench::Rounds rounds;
    for (int r = 0; r < bench::Repetitions; ++r) {
        bench::useQuickestCore("startup_vs_bare_window"); // the children start there too
        double ours = 0, bare = 0;
        for (int i = 0; i < 4; ++i) {
            bare += runChild(self.c_str(), {"--child-bare"});
            ours += runChild(self.c_str(), {"--child-kotori", dir.string()});
        }
        rounds.ours.push_back(ours / 4);
        rounds.baseline.push_back(bare / 4);
    }
    std::printf("startup CPU: kotori %.1f ms, bare window %.1f ms\n", rounds.oursNs() / 1e6, rounds.baselineNs() / 1e6);
    bench::printRatio("startup_vs_bare_window", rounds);
    fs::remove_all(dir);
    return 0;
}
