// Program start: the application object and the program's locale, the report
// engine's start-up (its windows, classes, export filters, expression engine and
// default units), then the main window and the message loop until it closes.
#include "Application.h"
#include "FirstStartSetup.h"
#include "ProgramLocale.h"
#include "ReportEngine.h"
#include "UPrincipal.h"

#include <QIcon>
#include <QLocale>

int main(int argc, char** argv)
{
    Application app(argc, argv);
    // The window manager matches the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("pedidos"));
    QIcon icon;
    for (const char* size : {"16", "32", "48", "256"})
        icon.addFile(QStringLiteral(":/desktop/pedidos-%1.png").arg(QLatin1String(size)));
    QApplication::setWindowIcon(icon);
    // No application title is set: the expression engine's AppName is the
    // program's own name.
    // Formats from LANG / LC_*, Brazilian Portuguese under C or POSIX.
    brp::SetUpProgramLocale();
    brp::StartReportEngine(QCoreApplication::applicationName());
    app.Initialize();
    FirstStartSetup::Enable(); // a first start makes the demo database
    app.CreateForm<TFPrincipal>(); // sets FPrincipal
    const int rc = app.Run();
    brp::StopReportEngine();
    return rc;
}
