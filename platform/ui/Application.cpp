#include "Application.h"

#include "MessageService.h"
#include "PlatformError.h"
#include "ProgramStop.h"

#include <QFont>
#include <QFontDatabase>
#include <QWidget>

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

Application::~Application()
{
    for (const auto& form : m_forms)
        delete form.data();
}

void Application::Initialize()
{
    InstallFontSubstitutes();
    // A stop during start-up (a message box of the database set-up) too.
    ProgramStop::Install();
}

void Application::InstallFontSubstitutes()
{
    // The windows were designed with a bitmap sans font that is not here;
    // take the first sans font that is.
    const QStringList candidates = {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans"),
                                    QStringLiteral("Arial")};
    const QStringList families = QFontDatabase::families();
    for (const QString& family : candidates) {
        if (families.contains(family)) {
            QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), family);
            return;
        }
    }
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Sans Serif"));
}

int Application::Run()
{
    if (!m_mainForm)
        return 0;
    setQuitOnLastWindowClosed(false);
    m_mainForm->setAttribute(Qt::WA_DeleteOnClose, false);
    // The loop ends when the main window closes, whatever else is open.
    connect(m_mainForm, &QObject::destroyed, this, &QCoreApplication::quit);
    // Taken back from the database client, which may have claimed the
    // signals while the main window connected.
    ProgramStop::Install();
    if (ProgramStop::Requested())
        return ProgramStop::ExitCode();
    m_mainForm->show();
    m_mainForm->activateWindow();
    const int rc = exec();
    return ProgramStop::Requested() ? ProgramStop::ExitCode() : rc;
}

void Application::ProcessMessages()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void Application::ShowException(const std::exception& error)
{
    MessageService::Instance().Show(QCoreApplication::applicationName(), brp::ExceptionText(error), QMessageBox::Critical,
                                    QMessageBox::Ok);
}

void Application::HandleCurrentException()
{
    try {
        throw;
    } catch (const std::exception& error) {
        ShowException(error);
    } catch (...) {
        MessageService::Instance().Show(QCoreApplication::applicationName(),
                                        QStringLiteral("Unknown failure."), QMessageBox::Critical,
                                        QMessageBox::Ok);
    }
}

bool Application::notify(QObject* receiver, QEvent* event)
{
    try {
        const bool result = QApplication::notify(receiver, event);
        if (event->type() == QEvent::Close && receiver == m_mainForm && event->isAccepted())
            QMetaObject::invokeMethod(this, &QCoreApplication::quit, Qt::QueuedConnection);
        return result;
    } catch (...) {
        HandleCurrentException();
        return false;
    }
}
