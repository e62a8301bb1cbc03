// The application object's own loop: a failure that reaches it is shown in
// the standard error display and the program goes on; closing the main window
// ends Run.
#include "Application.h"
#include "PlatformError.h"
#include "RecordingMessageService.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>
#include <functional>
#include <memory>
#include <stdexcept>

namespace {

const auto kAcao = static_cast<QEvent::Type>(QEvent::User + 1);

// An event that carries what its handler does.
class Acao : public QEvent {
public:
    explicit Acao(std::function<void()> f) : QEvent(kAcao), acao(std::move(f)) {}
    std::function<void()> acao;
};

class Receptor : public QObject {
protected:
    bool event(QEvent* e) override
    {
        if (e->type() != kAcao)
            return QObject::event(e);
        static_cast<Acao*>(e)->acao();
        return true;
    }
};

// Ends a loop that failed to end by itself, so a fault fails the test
// instead of hanging it.
class Vigia {
public:
    Vigia() : m_timer(new QTimer)
    {
        m_timer->setSingleShot(true);
        QObject::connect(m_timer.get(), &QTimer::timeout, [] { QCoreApplication::exit(99); });
        m_timer->start(10000);
    }

private:
    std::unique_ptr<QTimer> m_timer;
};

Application& App()
{
    auto* app = dynamic_cast<Application*>(QCoreApplication::instance());
    if (!app)
        throw std::logic_error("this test needs the program's application object");
    return *app;
}

TEST(Application, FailureInAnEventHandlerIsShownAndTheLoopGoesOn)
{
    const struct {
        const char* caso;
        std::function<void()> falha;
        const char* texto;
    } casos[] = {
        {"platform error", [] { throw PlatformError(QStringLiteral("Tabela não encontrada: RelatorP")); },
         "Tabela não encontrada: RelatorP"},
        {"standard exception", [] { throw std::runtime_error("disk full"); }, "disk full"},
        {"anything else", [] { throw 42; }, "Unknown failure."},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.caso);
        RecordingMessageService mensagens;
        QWidget* form = App().CreateForm<QWidget>();
        ASSERT_EQ(App().MainForm(), form);
        Receptor receptor;
        QStringList visto;
        int mensagensAntesDoSeguinte = -1;
        QCoreApplication::postEvent(&receptor, new Acao([&] {
            visto << QStringLiteral("falha");
            c.falha();
            visto << QStringLiteral("depois da falha");
        }));
        QCoreApplication::postEvent(&receptor, new Acao([&] {
            visto << QStringLiteral("seguinte");
            mensagensAntesDoSeguinte = static_cast<int>(mensagens.Messages().size());
            form->close();
        }));

        Vigia vigia;
        EXPECT_EQ(App().Run(), 0);

        EXPECT_EQ(visto, (QStringList{QStringLiteral("falha"), QStringLiteral("seguinte")}));
        EXPECT_EQ(mensagensAntesDoSeguinte, 1); // shown before the loop went on
        ASSERT_EQ(mensagens.Messages().size(), 1);
        const auto& m = mensagens.Messages().first();
        EXPECT_EQ(m.text, QString::fromUtf8(c.texto));
        EXPECT_EQ(m.caption, QCoreApplication::applicationName());
        EXPECT_EQ(m.icon, QMessageBox::Critical);
        EXPECT_EQ(m.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        EXPECT_FALSE(form->isVisible());
        delete form;
    }
}

TEST(Application, ClosingTheMainWindowEndsRunWhateverElseIsOpen)
{
    RecordingMessageService mensagens;
    QWidget* principal = App().CreateForm<QWidget>();
    QWidget* outra = App().CreateForm<QWidget>();
    ASSERT_EQ(App().MainForm(), principal);
    Receptor receptor;
    bool principalVisivel = false;
    bool outraVisivel = false;
    QCoreApplication::postEvent(&receptor, new Acao([&] {
        principalVisivel = principal->isVisible();
        outra->show();
        outraVisivel = outra->isVisible();
        principal->close();
    }));

    Vigia vigia;
    EXPECT_EQ(App().Run(), 0);

    EXPECT_TRUE(principalVisivel); // Run showed it
    EXPECT_TRUE(outraVisivel);     // and the loop still ended
    EXPECT_TRUE(mensagens.Messages().isEmpty());
    delete outra;
    delete principal;
}

} // namespace
