#pragma once
// The offscreen GUI application a fuzz target needs for painting and fonts,
// made once on the first input. `beforeApp` runs just before it is made (for
// services that must be in place when the application starts).
#include <QGuiApplication>

namespace brp {

template <typename Setup>
inline void EnsureFuzzGuiApp(Setup beforeApp)
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = [&] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        beforeApp();
        return new QGuiApplication(argc, argv);
    }();
    (void)app;
}

inline void EnsureFuzzGuiApp()
{
    EnsureFuzzGuiApp([] {});
}

} // namespace brp
