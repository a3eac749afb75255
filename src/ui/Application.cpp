#include "ui/Application.h"

#include <QApplication>
#include <QMainWindow>

namespace ui {

int runApplication(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("ことり便"));
    window.resize(530, 466);
    window.show();
    return app.exec();
}

} // namespace ui
