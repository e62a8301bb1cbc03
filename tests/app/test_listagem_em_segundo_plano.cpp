// The window while the listing's statement runs for seconds (a demo database
// of 4,500 orders over the default period: 3 to 8 s): it keeps painting, shows the
// time spent beside the status text, and Escape or closing it cancels the
// statement in the database. Also run under Xvfb with a window manager.
#include "ConsultaPedidos.h"
#include "ConsultaPedidosAcelerada.h"
#include "ConsultaPedidosCsv.h"
#include "DemoDatabaseFolder.h"
#include "FbConnection.h"
#include "RecordingMessageService.h"
#include "TMaskEdit.h"
#include "TSQLConnection.h"
#include "TSQLQuery.h"
#include "TStatusBar.h"
#include "TempFirebird.h"
#include "UPrincipal.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

namespace {

const QString kBuscando = QStringLiteral("Buscando pedidos. Isto poderá levar alguns instantes...");

class Janela : public TFPrincipal {
public:
    FbResult mostradas;
    bool mostrou = false;

protected:
    void MostrarRelatorio() override
    {
        mostrou = true;
        mostradas.rows.clear();
        for (QryRel->First(); !QryRel->Eof(); QryRel->Next()) {
            QVariantList linha;
            for (int i = 0; i < QryRel->FieldCount(); ++i)
                linha << QryRel->FieldValue(i);
            mostradas.rows.push_back(linha);
        }
    }
};

// What the window looked like while the statement ran.
struct Ocupada {
    bool vista = false;
    bool controlesDesabilitados = false;
    QString status;
    QString tempo;
    bool tempoAoLado = false;
    int pinturas = 0;
};

// A picture of the busy window, kept with the build's artefacts.
void guardarImagem(QWidget* janela)
{
    const QString dir = qEnvironmentVariable("BRP_BINARY_DIR", QStringLiteral(BRP_DEFAULT_BINARY_DIR)) +
                        QStringLiteral("/artifacts");
    QDir().mkpath(dir);
    janela->grab().save(dir + QStringLiteral("/listagem-ocupada-") + QGuiApplication::platformName() +
                        QStringLiteral(".png"));
}

class ContaPinturas : public QObject {
public:
    int n = 0;
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::Paint && o->isWidgetType())
            ++n;
        return false;
    }
};

} // namespace

class ListagemEmSegundoPlano : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir = new TempFirebirdDir;
        DemoDatabase::Options o;
        o.orders = 4500;
        o.forcedWrites = false;
        brp::CreateDemoDatabase(*dir, o);
    }
    static void TearDownTestSuite()
    {
        delete dir;
        dir = nullptr;
    }
    void SetUp() override
    {
        QFile::remove(preferencias());
        m_anterior = QDir::currentPath();
        QDir::setCurrent(m_trabalho.path());
        m_sairAoFechar = QGuiApplication::quitOnLastWindowClosed();
        QGuiApplication::setQuitOnLastWindowClosed(false);
        janela = std::make_unique<Janela>();
        janela->show();
        QApplication::setActiveWindow(janela.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(janela.get()));
        ASSERT_TRUE(janela->CnKavrano->Connected());
        mensagens.Clear();
    }
    void TearDown() override
    {
        janela.reset();
        QGuiApplication::setQuitOnLastWindowClosed(m_sairAoFechar);
        QFile::remove(preferencias());
        QDir::setCurrent(m_anterior);
    }

    static QString preferencias() { return dir->path(QStringLiteral("config/pedidos/pedidos.conf")); }

    // Presses "&Imprimir" over the default period; after `depois` ms looks at
    // the busy window and runs `acao`. Returns the ms from `acao` to the end
    // of the workflow.
    qint64 imprimirE(int depois, const std::function<void()>& acao, Ocupada* ocupada)
    {
        QElapsedTimer desdeAcao;
        ContaPinturas pinturas;
        QObject contexto; // the timers below die with it
        // Paints of the window's widgets from a moment after the start.
        QTimer::singleShot(300, &contexto, [&] { qApp->installEventFilter(&pinturas); });
        QTimer::singleShot(depois, &contexto, [&] {
            qApp->removeEventFilter(&pinturas);
            ocupada->vista = true;
            ocupada->pinturas = pinturas.n;
            ocupada->controlesDesabilitados = !janela->BtImp->isEnabled() && !janela->DataIni->isEnabled();
            ocupada->status = janela->BarraStatus->PanelText(0);
            if (auto* tempo = janela->BarraStatus->findChild<QLabel*>(QStringLiteral("TempoDecorrido"));
                tempo && tempo->isVisible()) {
                ocupada->tempo = tempo->text();
                // Beside the panel, whole and inside the bar.
                ocupada->tempoAoLado = !tempo->geometry().intersects(janela->BarraStatus->PanelGeometry(0)) &&
                                       janela->BarraStatus->rect().contains(tempo->geometry()) &&
                                       tempo->width() >= tempo->sizeHint().width();
            }
            if (ocupada->tempo.size() > 0)
                guardarImagem(janela.get());
            desdeAcao.start();
            acao();
        });
        janela->BtImp->click();
        return desdeAcao.isValid() ? desdeAcao.elapsed() : -1;
    }

    static TempFirebirdDir* dir;
    RecordingMessageService mensagens;
    std::unique_ptr<Janela> janela;

private:
    QString m_anterior;
    QTemporaryDir m_trabalho;
    bool m_sairAoFechar = true;
};

TempFirebirdDir* ListagemEmSegundoPlano::dir = nullptr;

TEST_F(ListagemEmSegundoPlano, EscapeCancelsTheStatementAndASecondListingWorks)
{
    Ocupada ocupada;
    const qint64 ms = imprimirE(1300, [&] { QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget()
                                                                                         : janela.get(),
                                                            Qt::Key_Escape); },
                                &ocupada);
    ASSERT_TRUE(ocupada.vista) << "the statement ended before the window was looked at";
    EXPECT_TRUE(ocupada.controlesDesabilitados);
    EXPECT_EQ(ocupada.status, kBuscando);
    EXPECT_EQ(ocupada.tempo, QStringLiteral("0:01"));
    EXPECT_TRUE(ocupada.tempoAoLado);
    EXPECT_GT(ocupada.pinturas, 0) << "the window did not paint while the statement ran";
    ASSERT_GE(ms, 0) << "the statement ended before Escape";
    EXPECT_LT(ms, 1000);
    ASSERT_EQ(mensagens.Messages().size(), 1) << mensagens.Texts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(mensagens.Messages()[0].caption, QStringLiteral("Informação"));
    EXPECT_EQ(mensagens.Messages()[0].text, QStringLiteral("A listagem foi cancelada."));
    EXPECT_FALSE(janela->mostrou);
    // Back to idle.
    EXPECT_TRUE(janela->BtImp->isEnabled());
    EXPECT_EQ(janela->BarraStatus->PanelText(0), QString());
    EXPECT_EQ(janela->DataIni->Text(), QStringLiteral("  /  /    "));
    const auto* tempo = janela->BarraStatus->findChild<QLabel*>(QStringLiteral("TempoDecorrido"));
    EXPECT_TRUE(!tempo || !tempo->isVisible());
    EXPECT_TRUE(janela->CnKavrano->Connected());

    // The same connection lists again, here one month.
    mensagens.Clear();
    janela->DataIni->SetText(QStringLiteral("01/06/2020"));
    janela->DataFim->SetText(QStringLiteral("30/06/2020"));
    janela->BtImp->click();
    EXPECT_TRUE(mensagens.Messages().isEmpty()) << mensagens.Texts().join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(janela->mostrou);
    EXPECT_FALSE(janela->mostradas.rows.empty());
}

TEST_F(ListagemEmSegundoPlano, ClosingTheWindowCancelsTheStatement)
{
    Ocupada ocupada;
    const qint64 ms = imprimirE(500, [&] { janela->close(); }, &ocupada);
    ASSERT_GE(ms, 0) << "the statement ended before the window was closed";
    EXPECT_LT(ms, 1000);
    // The program is ending: no message, no report.
    EXPECT_TRUE(mensagens.Messages().isEmpty()) << mensagens.Texts().join(QLatin1Char('|')).toStdString();
    EXPECT_FALSE(janela->mostrou);
    EXPECT_FALSE(janela->isVisible());
}

TEST_F(ListagemEmSegundoPlano, AcceleratedSettingGivesTheDocumentedRows)
{
    TempFirebirdDir::writeFile(preferencias(), QStringLiteral("# listagem\n[listagem]\nconsulta = Acelerada\n"));
    QElapsedTimer relogio;
    relogio.start();
    janela->BtImp->click();
    const qint64 ms = relogio.elapsed();
    ASSERT_TRUE(janela->mostrou) << mensagens.Texts().join(QLatin1Char('|')).toStdString();

    FbConnection db;
    db.Attach(dir->path(QStringLiteral("dados/Kavrano.gdb")), QStringLiteral("SYSDBA"), QString());
    QElapsedTimer documentada;
    documentada.start();
    const FbResult esperado = ConsultaPedidos::ListagemDocumentada(
        db, ConsultaPedidos::FiltroDosTextos(QStringLiteral("01/01/1950"), QStringLiteral("01/01/2999"), QString()));
    EXPECT_LT(ms * 4, documentada.elapsed()) << "the window did not take the accelerated path";
    EXPECT_EQ(ConsultaPedidos::DiferencasEntre(esperado, janela->mostradas), QStringList());
    EXPECT_EQ(janela->mostradas.rows.size(), esperado.rows.size());
}
