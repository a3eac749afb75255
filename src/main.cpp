#include "ui/Application.h"

int main(int argc, char** argv) {
    return ui::runApplication(argc, argv);
}
