// Trovecart tests - one QApplication for all widget tests (offscreen platform).
#pragma once

#include <QApplication>

inline void EnsureApplication() {
    static int argc = 1;
    static char name[] = "tc_gui_tests";
    static char* argv[] = {name, nullptr};
    if (!QApplication::instance())
        new QApplication(argc, argv);
}
