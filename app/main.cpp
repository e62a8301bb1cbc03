// Program start: initialize the application object, create the main window,
// run the message loop until it closes.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QString::fromUtf8("Listagem de Pedidos sem Contas a Receber"));
    window.show();
    return app.exec();
}
