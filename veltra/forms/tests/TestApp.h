#pragma once

#include <QApplication>

namespace veltrana {

// One application object for every widget test of this program; it lives until exit.
inline void EnsureTestApp() {
    static int argc = 1;
    static char name[] = "tst_veltra_forms";
    static char* argv[] = {name, nullptr};
    if (!QApplication::instance())
        new QApplication(argc, argv);
}

} // namespace veltrana
