// Start-up of the main window against real database files: where the
// database is found, the four outcomes with their messages, and a listing on
// each kind of connection.
#include "DemoDatabaseFolder.h"
#include "FbConnection.h"
#include "RecordingMessageService.h"
#include "TDatabase.h"
#include "TMaskEdit.h"
#include "TQuery.h"
#include "TSQLConnection.h"
#include "TSQLQuery.h"
#include "TStatusBar.h"
#include "TempFirebird.h"
#include "UPrincipal.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <memory>

namespace {

const QString kRecuperacao =
    QStringLiteral("Você passou o caminho errado para o BDE, e será restaurdado a configuração anterior");
const QString kVazio =
    QStringLiteral("Não foram encontrados pedidos sem contas a receber no banco de dados com estes filtros. ");
const QString kErroConsulta = QStringLiteral("Ocorreu o seguinte erro ao consultar os pedidos no banco de dados: ");

class Janela : public TFPrincipal {
public:
    using TFPrincipal::BuscarPedidos;
    int linhasMostradas = -1;
    QString statusDuranteRelatorio;

protected:
    void MostrarRelatorio() override
    {
        linhasMostradas = QryRel->RecordCount();
        statusDuranteRelatorio = BarraStatus->PanelText(0);
    }
};

} // namespace

class Inicio : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir = new TempFirebirdDir;
        DemoDatabase::Options o;
        o.orders = 60;
        brp::CreateDemoDatabase(*dir, o, false);
        FbConnection vazio;
        vazio.Create(dir->path(QStringLiteral("dados/vazio.fdb")), QStringLiteral("SYSDBA"), QString());
        vazio.Detach();
        TempFirebirdDir::writeFile(dir->path(QStringLiteral("dados/texto.fdb")), QStringLiteral("texto\n"));
    }
    static void TearDownTestSuite()
    {
        delete dir;
        dir = nullptr;
    }

    void SetUp() override
    {
        m_anterior = QDir::currentPath();
        m_trabalho = std::make_unique<QTemporaryDir>();
        QDir::setCurrent(m_trabalho->path());
        aliases(true);
    }
    void TearDown() override
    {
        janela.reset();
        QDir::setCurrent(m_anterior);
    }

    static QString banco() { return dir->path(QStringLiteral("dados/Kavrano.gdb")); }

    // The alias points at the demo database; the path map, when present,
    // sends "C:\" to the same folder.
    static void aliases(bool comMapa, const QString& servidor = banco())
    {
        QString texto = QStringLiteral("[Kavrano]\nDRIVER=INTRBASE\nSERVER NAME=%1\nUSER NAME=SYSDBA\n").arg(servidor);
        if (comMapa)
            texto += QStringLiteral("[Path map]\nC:\\=%1/\n").arg(dir->path(QStringLiteral("dados")));
        dir->writeAliases(texto);
    }

    void caminho(const QByteArray& conteudo)
    {
        QFile f(m_trabalho->path() + QStringLiteral("/Caminho.Dir"));
        f.open(QIODevice::WriteOnly);
        f.write(conteudo);
    }

    void abrir()
    {
        mensagens.Clear();
        janela = std::make_unique<Janela>();
    }

    static TempFirebirdDir* dir;
    RecordingMessageService mensagens;
    std::unique_ptr<Janela> janela;

private:
    QString m_anterior;
    std::unique_ptr<QTemporaryDir> m_trabalho;
};

TempFirebirdDir* Inicio::dir = nullptr;

TEST_F(Inicio, AliasWithoutLocationFileOpensEverything)
{
    abrir();
    EXPECT_TRUE(mensagens.Messages().isEmpty()) << mensagens.Texts().join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(janela->DbKavrano->Connected());
    EXPECT_TRUE(janela->CnKavrano->Connected());
    EXPECT_EQ(janela->CnKavrano->Params().Value(QStringLiteral("DataBase")), banco());
    EXPECT_EQ(janela->CnKavrano->Params().Value(QStringLiteral("User_Name")), QStringLiteral("SYSDBA"));
    EXPECT_EQ(janela->CnKavrano->Params().Value(QStringLiteral("Trim Char")), QStringLiteral("False"));
    EXPECT_TRUE(janela->RelatorP->Active());
    EXPECT_TRUE(janela->RelatorP->IsEmpty());   // its parameters are null
    EXPECT_TRUE(janela->RlPadrao->Active());
    EXPECT_EQ(janela->RlPadrao->RecordCount(), 1);

    // A listing on the open connection: status text while it runs, then the
    // report with the rows, and a clean window afterwards.
    janela->BtImpClick();
    EXPECT_TRUE(mensagens.Messages().isEmpty());
    EXPECT_GT(janela->linhasMostradas, 0);
    EXPECT_EQ(janela->statusDuranteRelatorio, QStringLiteral("Buscando pedidos. Isto poderá levar alguns instantes..."));
    EXPECT_FALSE(janela->QryRel->Active());
    EXPECT_EQ(janela->BarraStatus->PanelText(0), QString());
}

TEST_F(Inicio, LocationFileNamingADatabaseIsUsedByBoth)
{
    aliases(true, QStringLiteral("/nao/existe.gdb"));
    const QString outro = dir->path(QStringLiteral("dados/vazio.fdb"));
    caminho(outro.toUtf8() + "\r\nsegunda linha ignorada\r\n");
    abrir();
    EXPECT_EQ(janela->DbKavrano->OpenedLocation(), outro);
    EXPECT_TRUE(janela->CnKavrano->Connected());
    EXPECT_EQ(janela->CnKavrano->Params().Value(QStringLiteral("DataBase")), outro);
    // That database lacks the configuration tables: the standard error
    // display shows the database's own text.
    ASSERT_EQ(mensagens.Messages().size(), 1);
    EXPECT_EQ(mensagens.Messages()[0].icon, QMessageBox::Critical);
    EXPECT_TRUE(mensagens.Messages()[0].text.contains(QStringLiteral("RELATORP"))) << mensagens.Texts()[0].toStdString();
    EXPECT_FALSE(janela->RelatorP->Active());

    // And a listing reports the missing table, then the empty result.
    mensagens.Clear();
    janela->BtImpClick();
    ASSERT_EQ(mensagens.Messages().size(), 2);
    EXPECT_TRUE(mensagens.Messages()[0].text.startsWith(kErroConsulta));
    EXPECT_TRUE(mensagens.Messages()[0].text.contains(QStringLiteral("PEDIDOC")));
    EXPECT_EQ(mensagens.Messages()[1].text, kVazio);
    EXPECT_EQ(janela->linhasMostradas, -1);
}

TEST_F(Inicio, UnusableLocationFileFallsBackAndLeavesTheSqlConnectionClosed)
{
    const QByteArray valido = banco().toUtf8();
    struct Caso { const char* nome; QByteArray conteudo; };
    const Caso casos[] = {
        {"empty file", QByteArray()},
        {"missing file", dir->path(QStringLiteral("dados/nada.gdb")).toUtf8()},
        {"a directory", dir->path(QStringLiteral("dados")).toUtf8()},
        {"not a database", dir->path(QStringLiteral("dados/texto.fdb")).toUtf8()},
        {"server that does not answer", "127.0.0.1/1:/dados/k.gdb"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        caminho(c.conteudo);
        abrir();
        ASSERT_EQ(mensagens.Messages().size(), 1) << mensagens.Texts().join(QLatin1Char('|')).toStdString();
        const auto& m = mensagens.Messages()[0];
        EXPECT_EQ(m.caption, QStringLiteral("Atenção"));
        EXPECT_EQ(m.icon, QMessageBox::Critical);
        EXPECT_EQ(m.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        EXPECT_EQ(m.text, kRecuperacao);
        EXPECT_TRUE(janela->DbKavrano->Connected());
        EXPECT_EQ(janela->DbKavrano->Params().Value(QStringLiteral("SERVER NAME")), QStringLiteral("C:\\Kavrano.gdb"));
        EXPECT_EQ(janela->DbKavrano->OpenedLocation(), banco());
        EXPECT_FALSE(janela->CnKavrano->Connected());
        EXPECT_EQ(janela->CnKavrano->Params().IndexOfName(QStringLiteral("DataBase")), -1);
        EXPECT_TRUE(janela->RelatorP->Active());
        EXPECT_TRUE(janela->RlPadrao->Active());
    }

    // The first listing then fails on the closed connection, then finds nothing.
    mensagens.Clear();
    janela->BtImpClick();
    ASSERT_EQ(mensagens.Messages().size(), 2);
    for (const auto& m : mensagens.Messages()) {
        EXPECT_EQ(m.caption, QStringLiteral("Warning"));
        EXPECT_EQ(m.icon, QMessageBox::Warning);
    }
    EXPECT_TRUE(mensagens.Messages()[0].text.startsWith(kErroConsulta));
    EXPECT_GT(mensagens.Messages()[0].text.size(), kErroConsulta.size());
    EXPECT_EQ(mensagens.Messages()[1].text, kVazio);
    EXPECT_EQ(janela->BarraStatus->PanelText(0), QString());
}

TEST_F(Inicio, LocationWithBlanksIsPassedUnchanged)
{
    // The client library itself ignores the blanks around a file name.
    const QString linha = QStringLiteral("  ") + banco() + QStringLiteral(" ");
    caminho(linha.toUtf8());
    abrir();
    EXPECT_TRUE(mensagens.Messages().isEmpty());
    EXPECT_EQ(janela->DbKavrano->Params().Value(QStringLiteral("SERVER NAME")), linha);
    EXPECT_EQ(janela->CnKavrano->Params().Value(QStringLiteral("DataBase")), linha);
    EXPECT_TRUE(janela->CnKavrano->Connected());
}

TEST_F(Inicio, FallbackFailingToo)
{
    aliases(false);   // no path map: "C:\Kavrano.gdb" names nothing here
    caminho("/nao/existe.gdb");
    abrir();
    ASSERT_EQ(mensagens.Messages().size(), 1);
    const auto& m = mensagens.Messages()[0];
    EXPECT_EQ(m.icon, QMessageBox::Critical);
    EXPECT_NE(m.caption, QStringLiteral("Atenção"));
    EXPECT_TRUE(m.text.contains(QStringLiteral("Kavrano.gdb"))) << m.text.toStdString();
    EXPECT_FALSE(janela->DbKavrano->Connected());
    EXPECT_FALSE(janela->CnKavrano->Connected());
    EXPECT_EQ(janela->CnKavrano->Params().IndexOfName(QStringLiteral("DataBase")), -1);
    EXPECT_FALSE(janela->RelatorP->Active());
    EXPECT_FALSE(janela->RlPadrao->Active());
    EXPECT_TRUE(janela->isEnabled());
}

TEST_F(Inicio, SqlConnectionFailing)
{
    abrir();
    ASSERT_TRUE(mensagens.Messages().isEmpty());
    // The SQL driver refuses (here: a driver it does not have).
    janela->CnKavrano->SetDriverName(QStringLiteral("Informix"));
    janela->RelatorP->Close();
    janela->RlPadrao->Close();
    janela->FormCreate();
    ASSERT_EQ(mensagens.Messages().size(), 1);
    const auto& m = mensagens.Messages()[0];
    EXPECT_EQ(m.caption, QStringLiteral("Informação"));
    EXPECT_EQ(m.icon, QMessageBox::Information);
    EXPECT_EQ(m.text, QStringLiteral("Impossível conectar ao banco de dados pelo seguinte motivo: \nUnknown driver: Informix"));
    EXPECT_TRUE(janela->DbKavrano->Connected());
    EXPECT_FALSE(janela->CnKavrano->Connected());
    EXPECT_TRUE(janela->RelatorP->Active());
}

TEST_F(Inicio, OnlyTheWorkingDirectoryIsSearched)
{
    // A location file beside the program, which is started from elsewhere,
    // names a database that does not exist: read, it would end in the
    // fallback and its message.
    const QString junto = QCoreApplication::applicationDirPath() + QStringLiteral("/Caminho.Dir");
    ASSERT_NE(QDir(QCoreApplication::applicationDirPath()), QDir::current());
    ASSERT_FALSE(QFileInfo::exists(junto));
    {
        QFile f(junto);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("/nao/existe/Kavrano.gdb\n");
    }
    const auto apagar = qScopeGuard([&] { QFile::remove(junto); });
    // A directory named like the location file is not a location file.
    QDir().mkdir(QStringLiteral("Caminho.Dir"));
    abrir();
    EXPECT_TRUE(mensagens.Messages().isEmpty());
    EXPECT_TRUE(janela->CnKavrano->Connected());
    EXPECT_EQ(janela->DbKavrano->OpenedLocation(), banco());
}
