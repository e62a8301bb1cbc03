// Program start: initialize the application object, create the main window,
// run the message loop until it closes.
#include "Application.h"
#include "UPrincipal.h"

int main(int argc, char** argv)
{
    Application app(argc, argv);
    app.Initialize();
    app.CreateForm<TFPrincipal>(); // sets FPrincipal
    return app.Run();
}
