// Start-up connection, the listing query and the report hand-over.
#include "UPrincipal.h"

#include "Application.h"
#include "ConsultaEmSegundoPlano.h"
#include "ConsultaPedidos.h"
#include "ConsultaPedidosAcelerada.h"
#include "ConsultaPedidosPreferencia.h"
#include "FbConnection.h"
#include "MessageService.h"
#include "ParameterList.h"
#include "PlatformError.h"
#include "TBRLabel.h"
#include "TBandReport.h"
#include "TDatabase.h"
#include "TQuery.h"
#include "TSQLConnection.h"
#include "TSQLQuery.h"
#include "TSession.h"
#include "TStatusBar.h"
#include "TMaskEdit.h"
#include "Win1252Text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace {

const QString kLocalPadrao = QStringLiteral("C:\\Kavrano.gdb");
const QString kArquivoCaminho = QStringLiteral("Caminho.Dir");

// The location file of `dir`. The name is matched without regard to case, as
// the file systems the program was made for do; an exact match comes first.
QString arquivoCaminho(const QString& dir)
{
    const QString exato = dir + kArquivoCaminho;
    if (QFileInfo(exato).isFile())
        return exato;
    const QStringList nomes = QDir(dir).entryList(QDir::Files | QDir::Hidden);
    for (const QString& nome : nomes)
        if (nome.compare(kArquivoCaminho, Qt::CaseInsensitive) == 0)
            return dir + nome;
    return QString();
}

// The first line, without its line break and without trimming. UTF-8 as the
// platform writes it; a file written in Windows-1252 reads as such.
QString primeiraLinha(const QString& arquivo)
{
    QFile f(arquivo);
    if (!f.open(QIODevice::ReadOnly))
        throw PlatformError(QStringLiteral("Cannot open file \"%1\". %2").arg(arquivo, f.errorString()));
    QByteArray linha = f.readLine(64 * 1024);
    f.close();
    while (linha.endsWith('\n') || linha.endsWith('\r'))
        linha.chop(1);
    if (const qsizetype cr = linha.indexOf('\r'); cr >= 0)
        linha.truncate(cr);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString texto = decoder(linha);
    if (decoder.hasError())
        texto = brp::win1252ToQString(linha);
    return texto;
}

} // namespace

void TFPrincipal::FormCreate()
{
    CnKavrano->Params().Remove(QStringLiteral("Database"));
    bool conectou = true;
    try {
        // The program's working directory, not its own folder.
        QString dir = QDir::currentPath().trimmed();
        if (!dir.isEmpty() && !dir.endsWith(QLatin1Char('/')))
            dir += QLatin1Char('/');
        const QString arquivo = arquivoCaminho(dir);
        if (!arquivo.isEmpty()) {
            const QString local = primeiraLinha(arquivo);
            DbKavrano->Close();
            DbKavrano->SetParam(QStringLiteral("SERVER NAME"), local);
            DbKavrano->Open();
        } else {
            DbKavrano->Open();
        }
    } catch (const std::exception&) {
        conectou = false;
    }
    if (!conectou) {
        // A failure here is not caught: it ends start-up and reaches the
        // standard error display.
        DbKavrano->Close();
        DbKavrano->SetParam(QStringLiteral("SERVER NAME"), kLocalPadrao);
        DbKavrano->Open();
        MessageService::Instance().Show(
            QStringLiteral("Atenção"),
            QStringLiteral("Você passou o caminho errado para o BDE, e será restaurdado a configuração anterior"),
            QMessageBox::Critical, QMessageBox::Ok);
    } else {
        ConectarBanco();
    }
    RelatorP->Open();
    RlPadrao->Open();
}

void TFPrincipal::ConectarBanco()
{
    try {
        CnKavrano->Close();
        CopiarParametros(CnKavrano, DbKavrano);
        CnKavrano->Open();
    } catch (const std::exception& e) {
        // The line break of the message box on this platform is "\n".
        MessageService::Instance().Show(
            QStringLiteral("Informação"),
            QStringLiteral("Impossível conectar ao banco de dados pelo seguinte motivo: ") + QLatin1Char('\n')
                + brp::ExceptionText(e),
            QMessageBox::Information, QMessageBox::Ok);
    }
}

void TFPrincipal::CopiarParametros(TSQLConnection* Conexao, TDatabase* Banco)
{
    QString local = Banco->Params().Value(QStringLiteral("SERVER NAME"));
    const QString usuario = Banco->Params().Value(QStringLiteral("USER NAME"));
    const QString senha = Banco->Params().Value(QStringLiteral("PASSWORD"));
    if (local.trimmed().isEmpty()) {
        ParameterList alias;
        TSession::Default()->GetAliasParams(QStringLiteral("Kavrano"), alias);
        local = alias.Value(QStringLiteral("SERVER NAME"));
    }
    if (local.trimmed().isEmpty())
        local = kLocalPadrao;
    Conexao->Params().SetValue(QStringLiteral("DataBase"), local);
    Conexao->Params().SetValue(QStringLiteral("User_Name"), usuario);
    Conexao->Params().SetValue(QStringLiteral("Password"), senha);
}

void TFPrincipal::BuscarPedidos()
{
    try {
        BarraStatus->SetPanelText(0, QStringLiteral("Buscando pedidos. Isto poderá levar alguns instantes..."));
        Application::ProcessMessages();
        QryRel->SetSQLConnection(CnKavrano);
        QryRel->Close();
        ConsultaPedidos::MontarInstrucao(QryRel->SQL(), TiposPedido);
        ConsultaPedidos::DefinirPeriodo(QryRel->Params(), DataIni->Text(), DataFim->Text());
        // The statement runs on a worker thread: only values go there.
        const bool acelerada = ConsultaPedidos::ConsultaPreferida() == ConsultaPedidos::Consulta::Acelerada;
        const ConsultaPedidos::Filtro filtro{QryRel->ParamByName(QStringLiteral("DataInicial"))->AsDate(),
                                             QryRel->ParamByName(QStringLiteral("DataFinal"))->AsDate(), TiposPedido};
        ConsultaEmSegundoPlano espera(this, BarraStatus);
        try {
            QryRel->OpenWith([&](FbConnection& conexao, const QString& sql, const QVariantList& valores) {
                return espera.Executar(conexao, [acelerada, filtro, sql, valores](FbConnection& c) {
                    return acelerada ? ConsultaPedidos::ListagemAcelerada(c, filtro) : c.Query(sql, valores);
                });
            });
        } catch (const QueryCancelled&) {
            if (!espera.Cancelada())
                throw;
            QryRel->Close();
            m_listagemCancelada = true;
            // Closing the window ends the program: nobody to tell.
            if (!espera.JanelaFechada())
                MessageService::Instance().Show(QStringLiteral("Informação"), QStringLiteral("A listagem foi cancelada."),
                                                QMessageBox::Information, QMessageBox::Ok);
        }
    } catch (const std::exception& e) {
        QryRel->Close();
        MessageService::Instance().Warning(
            QStringLiteral("Ocorreu o seguinte erro ao consultar os pedidos no banco de dados: ") + brp::ExceptionText(e));
    }
}

void TFPrincipal::MostrarRelatorio()
{
    BRLDataIni->SetCaption(DataIni->Text());
    BRLDataFim->SetCaption(DataFim->Text());
    if (TiposPedido.isEmpty())
        TiposPedido = QStringLiteral("TODOS");
    BRLTipo->SetCaption(TiposPedido);
    // Returns when the operator has closed the preview.
    BRRelatorio->Preview();
}

bool TFPrincipal::ConsultaVazia()
{
    return QryRel->IsEmpty();
}

void TFPrincipal::FecharConsulta()
{
    QryRel->Close();
}
