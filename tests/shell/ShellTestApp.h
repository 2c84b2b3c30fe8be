#pragma once
#include <QApplication>

namespace glimt::test {

// The one QApplication of the shell tests, made by the first test that needs it.
inline void EnsureShellApplication()
{
    if (!qApp) {
        static int argc = 1;
        static char name[] = "glimt_shell_tests";
        static char* argv[] = {name, nullptr};
        new QApplication(argc, argv);
    }
}

} // namespace glimt::test
