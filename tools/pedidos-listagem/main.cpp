// pedidos-listagem LOCATION [--de DD/MM/AAAA] [--ate DD/MM/AAAA] [--tipos 51,55,56]
//                  [--consulta documentada|acelerada|ambas]
// The listing's rows as CSV on standard output, read as the window reads
// them: the location as the window takes it, the dates completed and checked
// by the window's own rules. With "ambas" both ways of reading them run, each
// one's time and any row in which they differ go to standard error, and a
// difference ends with exit code 1.
#include "AliasConfig.h"
#include "ConsultaPedidos.h"
#include "ConsultaPedidosAcelerada.h"
#include "ConsultaPedidosCsv.h"
#include "ConsultaPedidosPreferencia.h"
#include "EConvertError.h"
#include "FbConnection.h"
#include "MessageService.h"
#include "ReportEngine.h"
#include "TMaskEdit.h"
#include "UFuncoes.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <cstdio>

namespace {

// A database failure and a difference both end with 1, as its manual says.
enum Saida { kOk = 0, kDiferenca = 1, kBanco = 1, kUso = 2 };

void erro(const QString& texto)
{
    std::fprintf(stderr, "pedidos-listagem: %s\n", texto.toUtf8().constData());
}

int uso()
{
    std::fprintf(stderr,
                 "uso: pedidos-listagem LOCAL [--de DD/MM/AAAA] [--ate DD/MM/AAAA] [--tipos 51,55,56]\n"
                 "                        [--consulta documentada|acelerada|ambas]\n"
                 "  LOCAL       o banco, como a janela o recebe: um arquivo ou servidor:/caminho\n"
                 "  --de/--ate  o período, completado e conferido como na janela (vazio: 01/01/1950 a 01/01/2999)\n"
                 "  --tipos     tipos de pedido entre 51, 55 e 56 (nenhum: todos)\n"
                 "  --consulta  a instrução documentada (padrão), a acelerada, ou ambas comparadas\n"
                 "saída: 0 sem erro, 1 erro do banco ou as duas consultas diferem, 2 argumentos ou datas inválidos\n");
    return kUso;
}

// The window's message boxes, as lines on standard error.
class MensagensNoTerminal : public MessageService {
public:
    QMessageBox::StandardButton Show(const QString& caption, const QString& text, QMessageBox::Icon,
                                     QMessageBox::StandardButtons) override
    {
        QString t = text;
        t.replace(QLatin1Char('\r'), QLatin1Char(' '));
        erro(caption + QStringLiteral(": ") + t);
        return QMessageBox::Ok;
    }
};

// A date as typed into the masked field: day, month and year in their
// places, blanks where nothing was typed. False when it cannot be typed there.
bool textoDoCampo(const QString& argumento, QString* texto)
{
    static const QRegularExpression forma(QStringLiteral("^(\\d{1,2})(?:/(\\d{1,2})(?:/(\\d{1,4}))?)?$"));
    if (argumento.trimmed().isEmpty()) {
        *texto = QStringLiteral("  /  /    ");
        return true;
    }
    const QRegularExpressionMatch m = forma.match(argumento.trimmed());
    if (!m.hasMatch())
        return false;
    *texto = m.captured(1).leftJustified(2) + QLatin1Char('/') + m.captured(2).leftJustified(2) + QLatin1Char('/') +
             m.captured(3).leftJustified(4);
    return true;
}

// The window's checks of "&Imprimir": the start field, then the end field.
bool conferirPeriodo(TMaskEdit& ini, TMaskEdit& fim)
{
    const QString vazia = QStringLiteral("  /  /    ");
    if (ini.Text() == vazia)
        ini.SetText(QStringLiteral("01/01/1950"));
    else if (!ValidarPeriodo(ini, fim, QStringLiteral("Data inicial"), QStringLiteral("data final"),
                             QStringLiteral("Ini")))
        return false;
    if (fim.Text() == vazia) {
        fim.SetText(QStringLiteral("01/01/2999"));
        return true;
    }
    return ValidarPeriodo(ini, fim, QStringLiteral("data inicial"), QStringLiteral("Data final"), QStringLiteral("Fim"));
}

// "51,56" and the like, in the window's order; false for anything else.
bool tiposDoTexto(const QString& texto, QString* tipos)
{
    QStringList marcados;
    for (const QString& parte : texto.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString t = parte.trimmed();
        if (t != QLatin1String("51") && t != QLatin1String("55") && t != QLatin1String("56"))
            return false;
        if (!marcados.contains(t))
            marcados << t;
    }
    std::sort(marcados.begin(), marcados.end());
    *tipos = marcados.join(QLatin1Char(','));
    return true;
}

void imprimir(const FbResult& r)
{
    std::fputs((ConsultaPedidos::CabecalhoCsv() + QLatin1Char('\n')).toUtf8().constData(), stdout);
    for (const QVariantList& linha : r.rows)
        std::fputs((ConsultaPedidos::LinhaCsv(linha) + QLatin1Char('\n')).toUtf8().constData(), stdout);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    // The date fields are the window's own controls, never shown.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    brp::StartReportEngine(QCoreApplication::applicationName());
    MensagensNoTerminal mensagens;
    MessageService::SetInstance(&mensagens);

    const QStringList args = app.arguments().mid(1);
    QString local, de, ate, tiposTexto, consulta;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool temValor = i + 1 < args.size();
        if (a == QLatin1String("--de") && temValor)
            de = args[++i];
        else if (a == QLatin1String("--ate") && temValor)
            ate = args[++i];
        else if (a == QLatin1String("--tipos") && temValor)
            tiposTexto = args[++i];
        else if (a == QLatin1String("--consulta") && temValor)
            consulta = args[++i];
        else if (!a.startsWith(QLatin1String("--")) && local.isEmpty())
            local = a;
        else
            return uso();
    }
    if (local.trimmed().isEmpty())
        return uso();

    ConsultaPedidos::Consulta escolhida = ConsultaPedidos::Consulta::Documentada;
    const bool ambas = consulta.compare(QLatin1String("ambas"), Qt::CaseInsensitive) == 0;
    if (!consulta.isEmpty() && !ambas && !ConsultaPedidos::ConsultaDoTexto(consulta, &escolhida))
        return uso();
    QString tipos;
    if (!tiposDoTexto(tiposTexto, &tipos)) {
        erro(QStringLiteral("tipos de pedido inválidos: %1 (use 51, 55 e 56 separados por vírgulas)").arg(tiposTexto));
        return kUso;
    }

    TMaskEdit campoIni, campoFim;
    for (TMaskEdit* campo : {&campoIni, &campoFim}) {
        campo->SetEditMask(QStringLiteral("!99/99/9999;1;_"));
        campo->setMaxLength(10);
    }
    QString textoIni, textoFim;
    if (!textoDoCampo(de, &textoIni)) {
        erro(QStringLiteral("Data inicial inválida: %1").arg(de));
        return kUso;
    }
    if (!textoDoCampo(ate, &textoFim)) {
        erro(QStringLiteral("Data final inválida: %1").arg(ate));
        return kUso;
    }
    campoIni.SetText(textoIni);
    campoFim.SetText(textoFim);
    ConsultaPedidos::Filtro filtro;
    try {
        if (!conferirPeriodo(campoIni, campoFim))
            return kUso;
        filtro = ConsultaPedidos::FiltroDosTextos(campoIni.Text(), campoFim.Text(), tipos);
    } catch (const EConvertError& e) {
        erro(e.Message());
        return kUso;
    }

    try {
        FbConnection db;
        const QString usuario = qEnvironmentVariable("ISC_USER", QStringLiteral("SYSDBA"));
        const QString senha = qEnvironmentVariable("ISC_PASSWORD", QStringLiteral("masterkey"));
        db.Attach(AliasConfig::ResolveLocation(local), usuario, senha);
        if (!ambas) {
            imprimir(escolhida == ConsultaPedidos::Consulta::Acelerada ? ConsultaPedidos::ListagemAcelerada(db, filtro)
                                                                       : ConsultaPedidos::ListagemDocumentada(db, filtro));
            return kOk;
        }
        QElapsedTimer relogio;
        relogio.start();
        const FbResult documentada = ConsultaPedidos::ListagemDocumentada(db, filtro);
        const qint64 tempoDocumentada = relogio.nsecsElapsed();
        relogio.restart();
        QString motivo;
        const FbResult acelerada = ConsultaPedidos::ListagemAcelerada(db, filtro, &motivo);
        const qint64 tempoAcelerada = relogio.nsecsElapsed();
        imprimir(documentada);
        std::fprintf(stderr, "documentada: %.3f s, %zu linhas\n", tempoDocumentada / 1e9, documentada.rows.size());
        std::fprintf(stderr, "acelerada: %.3f s, %zu linhas\n", tempoAcelerada / 1e9, acelerada.rows.size());
        if (!motivo.isEmpty())
            erro(QStringLiteral("a acelerada usou a instrução documentada: %1").arg(motivo));
        const QStringList diferencas = ConsultaPedidos::DiferencasEntre(documentada, acelerada);
        for (const QString& d : diferencas)
            std::fprintf(stderr, "%s\n", d.toUtf8().constData());
        if (!diferencas.isEmpty()) {
            erro(QStringLiteral("%1 linhas diferem (< só na documentada, > só na acelerada)").arg(diferencas.size()));
            return kDiferenca;
        }
        return kOk;
    } catch (const PlatformError& e) {
        erro(e.Message());
        return kBanco;
    }
}
