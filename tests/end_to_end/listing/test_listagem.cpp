// The listing end to end, as the operator meets it: the window on a demo
// database, "&Imprimir", the preview with the pending orders, then from the
// preview the pages saved to a file and printed through a CUPS queue that
// writes PDF. The saved file is read back with brptool and emf2svg-conv, the
// PDF with pdftotext. A screenshot of the preview is kept as an artefact.
#include "CupsQueue.h"
#include "DemoDatabaseFolder.h"
#include "PrinterService.h"
#include "ProgramLocale.h"
#include "RecordedPage.h"
#include "RecordingMessageService.h"
#include "TBRPageList.h"
#include "TBRPrinter.h"
#include "TBRStandardPreview.h"
#include "TBandReport.h"
#include "TBandReportPrinterSettings.h"
#include "TMaskEdit.h"
#include "TSQLQuery.h"
#include "TempFirebird.h"
#include "UPrincipal.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>

namespace {

const QString kTitulo = QStringLiteral("Listagem de pedidos sem contas a receber");

class Janela : public TFPrincipal {
public:
    int linhas = -1;

protected:
    void MostrarRelatorio() override
    {
        linhas = QryRel->RecordCount();
        TFPrincipal::MostrarRelatorio();
    }
};

// What happened inside the preview while the workflow waited for it.
struct NaPrevia {
    bool vista = false;
    bool impressa = false;
    int paginas = 0;
    QImage tela;
};

QString artefato(const QString& nome)
{
    const QString dir = qEnvironmentVariable("BRP_BINARY_DIR", QStringLiteral(BRP_DEFAULT_BINARY_DIR)) +
                        QStringLiteral("/artifacts");
    QDir().mkpath(dir);
    return dir + QLatin1Char('/') + nome + qEnvironmentVariable("BRP_SCREENSHOT_SUFFIX") + QStringLiteral(".png");
}

QList<RecordedPage> lerPaginas(const QString& arquivo)
{
    TBRPageList lista;
    lista.OpenFile(arquivo);
    QList<RecordedPage> paginas;
    for (int n = 1; n <= lista.Count(); ++n)
        paginas << RecordedPage::Read(lista.FetchPage(n).value());
    return paginas;
}

} // namespace

class Listagem : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        // The locale as the program sets it; with the tests' C locale its
        // numbers read 1.234,500.
        brp::SetUpProgramLocale();
        dir = new TempFirebirdDir;
        DemoDatabase::Options o;
        o.orders = 900;
        brp::CreateDemoDatabase(*dir, o);
    }
    static void TearDownTestSuite()
    {
        delete dir;
        dir = nullptr;
        QLocale::setDefault(QLocale::system());
    }
    void SetUp() override
    {
        m_anterior = QDir::currentPath();
        QDir::setCurrent(m_trabalho.path());
    }
    void TearDown() override { QDir::setCurrent(m_anterior); }

    // Presses "&Imprimir" and acts in the preview once its run has ended:
    // screenshot, save, and print when a queue is given; then closes it.
    NaPrevia imprimir(Janela& janela, const QString& salvarEm, const QString& fila)
    {
        NaPrevia previa;
        janela.BRRelatorio->AfterPrint = [&](QObject*) { previa.impressa = true; };
        if (!fila.isEmpty())
            janela.BRRelatorio->PrinterSettings()->PrinterIndex =
                brp::ApplicationPrinter().Printers().indexOf(fila);
        QElapsedTimer relogio;
        relogio.start();
        QTimer observador;
        observador.setInterval(20);
        QObject::connect(&observador, &QTimer::timeout, [&] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* janelaPrevia = qobject_cast<TBRStandardPreview*>(w);
                if (!janelaPrevia || !janelaPrevia->isVisible() || !janelaPrevia->BRPrinter())
                    continue;
                TBRPrinter* alvo = janelaPrevia->BRPrinter();
                if (!previa.vista && alvo->State() == jsFinished) {
                    previa.vista = true;
                    previa.paginas = alvo->PageTotal();
                    previa.tela = janelaPrevia->grab().toImage();
                    alvo->SaveReportFile(salvarEm);
                    if (!fila.isEmpty())
                        janelaPrevia->PrintClick();
                } else if (previa.vista && janela.BRRelatorio->Available() &&
                           (fila.isEmpty() || previa.impressa || relogio.elapsed() > 120000)) {
                    janelaPrevia->ExitClick();
                }
            }
        });
        observador.start();
        janela.BtImp->click();
        observador.stop();
        return previa;
    }

    QString m_trabalhoPath() const { return m_trabalho.path(); }

    static TempFirebirdDir* dir;
    RecordingMessageService mensagens;

private:
    QTemporaryDir m_trabalho;
    QString m_anterior;
};

TempFirebirdDir* Listagem::dir = nullptr;

TEST_F(Listagem, ImprimirShowsPendingOrdersThatCanBeSavedAndPrinted)
{
    Janela janela;
    janela.show();
    ASSERT_TRUE(mensagens.Messages().isEmpty()) << mensagens.Texts().join(QLatin1Char('|')).toStdString();
    janela.P55->setChecked(true);
    janela.P56->setChecked(true);

    const CupsQueue& cups = brp::cupsQueue();
    const QString token = QStringLiteral("listagem%1").arg(QCoreApplication::applicationPid());
    janela.BRRelatorio->SetReportTitle(token);
    const QString salvo = m_trabalhoPath() + QStringLiteral("/listagem.BRP");
    const NaPrevia previa = imprimir(janela, salvo, cups.queue);

    ASSERT_TRUE(previa.vista) << "the preview never showed a finished run";
    ASSERT_GT(janela.linhas, 40) << "the demo database should list a few pages of orders";
    EXPECT_FALSE(previa.tela.isNull());
    previa.tela.save(artefato(QStringLiteral("listagem-preview")));
    // The workflow cleaned up after the preview closed.
    EXPECT_EQ(janela.DataIni->Text(), QStringLiteral("  /  /    "));
    EXPECT_TRUE(janela.BtImp->isEnabled());

    // The saved pages: the header on every page with its page number, the
    // period and types as completed by the window, one line per order, and
    // the note after the last line.
    const QList<RecordedPage> paginas = lerPaginas(salvo);
    ASSERT_EQ(paginas.size(), previa.paginas);
    ASSERT_GE(paginas.size(), 2);
    const QRegularExpression total(QStringLiteral("^\\d{1,3}(\\.\\d{3})*,\\d{3}$"));
    int linhas = 0;
    for (int n = 0; n < paginas.size(); ++n) {
        SCOPED_TRACE(n + 1);
        const QStringList textos = paginas[n].Texts();
        EXPECT_TRUE(textos.contains(kTitulo));
        EXPECT_TRUE(textos.contains(QStringLiteral("Página:")));
        EXPECT_TRUE(textos.contains(QString::number(n + 1)));
        EXPECT_TRUE(textos.contains(QStringLiteral("55,56")));
        EXPECT_TRUE(textos.contains(QStringLiteral("01/01/1950")));
        EXPECT_TRUE(textos.contains(QStringLiteral("01/01/2999")));
        linhas += int(textos.filter(total).size());
    }
    EXPECT_EQ(linhas, janela.linhas);
    const RecordedPage& ultima = paginas.last();
    int ultimaLinha = 0, nota = -1;
    for (const RecordedText& t : ultima.texts) {
        if (total.match(t.text).hasMatch())
            ultimaLinha = std::max(ultimaLinha, t.y);
        if (t.text.startsWith(QStringLiteral("Observação:")))
            nota = t.y;
    }
    EXPECT_GT(nota, ultimaLinha) << "the note follows the last order";

    // The file as other tools read it.
    const QString brptool = qEnvironmentVariable("BRP_BINARY_DIR", QStringLiteral(BRP_DEFAULT_BINARY_DIR)) +
                            QStringLiteral("/tools/brptool");
    EXPECT_FALSE(brp::run(brptool, {QStringLiteral("info"), salvo}).isEmpty());
    const QString emf = m_trabalhoPath() + QStringLiteral("/pagina1.emf");
    EXPECT_FALSE(brp::run(brptool, {QStringLiteral("extract"), salvo, QStringLiteral("1"), emf}).isEmpty());
    const QString svg = m_trabalhoPath() + QStringLiteral("/pagina1.svg");
    QProcess conversor;
    conversor.start(QStringLiteral("emf2svg-conv"), {QStringLiteral("-i"), emf, QStringLiteral("-o"), svg});
    if (conversor.waitForFinished(30000) && conversor.exitCode() == 0) {
        QFile f(svg);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_TRUE(QString::fromUtf8(f.readAll()).contains(QStringLiteral("Listagem de pedidos")));
    } else {
        ADD_FAILURE() << "emf2svg-conv could not read page 1";
    }

    // Printed from the preview through the PDF queue.
    if (cups.queue.isEmpty()) {
        GTEST_SKIP() << "no CUPS queue: " << cups.unavailable.toStdString();
    }
    EXPECT_TRUE(previa.impressa);
    const QString pdf = brp::waitForPdf(cups.outDir, token);
    ASSERT_FALSE(pdf.isEmpty()) << "no PDF from the queue within 60 s";
    EXPECT_EQ(brp::pdfPages(brp::run(QStringLiteral("pdfinfo"), {pdf})), previa.paginas);
    const QString texto = brp::run(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    EXPECT_TRUE(texto.contains(kTitulo));
    EXPECT_TRUE(texto.contains(QStringLiteral("Observação:")));
    EXPECT_TRUE(texto.contains(QStringLiteral("Tipo de Pedido:")));
    QFile::remove(pdf);
}

TEST_F(Listagem, HeaderShowsTheTypesAndThePeriodAsTyped)
{
    struct Caso {
        const char* nome;
        bool p51, p55, p56;
        const char* inicio;
        const char* fim;
        QStringList esperados;
    };
    const Caso casos[] = {
        {"no type ticked", false, false, false, "  /  /    ", "  /  /    ",
         {QStringLiteral("TODOS"), QStringLiteral("01/01/1950"), QStringLiteral("01/01/2999")}},
        {"type 51, a typed period", true, false, false, "01/01/2011", "31/12/2026",
         {QStringLiteral("51"), QStringLiteral("01/01/2011"), QStringLiteral("31/12/2026")}},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        Janela janela;
        janela.P51->setChecked(c.p51);
        janela.P55->setChecked(c.p55);
        janela.P56->setChecked(c.p56);
        janela.DataIni->SetText(QString::fromLatin1(c.inicio));
        janela.DataFim->SetText(QString::fromLatin1(c.fim));
        const QString salvo = m_trabalhoPath() + QStringLiteral("/cabecalho.BRP");
        const NaPrevia previa = imprimir(janela, salvo, QString());
        ASSERT_TRUE(previa.vista);
        const QStringList textos = lerPaginas(salvo).first().Texts();
        for (const QString& e : c.esperados)
            EXPECT_TRUE(textos.contains(e)) << e.toStdString();
    }
}
