#include "ConsultaEmSegundoPlano.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QStatusBar>
#include <QTimer>
#include <QWidget>
#include <atomic>
#include <optional>
#include <thread>

namespace {

// Posted by the worker when it has finished: wakes the waiting loop.
const QEvent::Type kTerminou = static_cast<QEvent::Type>(QEvent::registerEventType());

}

ConsultaEmSegundoPlano::ConsultaEmSegundoPlano(QWidget* janela, QStatusBar* barra) : m_janela(janela), m_barra(barra)
{
}

ConsultaEmSegundoPlano::~ConsultaEmSegundoPlano()
{
    delete m_tempo;
}

FbResult ConsultaEmSegundoPlano::Executar(FbConnection& conexao, std::function<FbResult(FbConnection&)> trabalho)
{
    struct Estado {
        std::optional<FbResult> resultado;
        std::exception_ptr falha;
        std::atomic<bool> terminou{false};
    } estado;

    m_conexao = &conexao;
    m_cancelada = m_fechada = false;
    conexao.ClearCancel();
    m_decorrido.start();
    QTimer relogio;
    m_relogio = &relogio;
    QObject::connect(&relogio, &QTimer::timeout, this, [this] { MostrarTempo(); });
    relogio.start(1000);
    QCoreApplication::instance()->installEventFilter(this);

    std::thread worker([&estado, &conexao, trabalho = std::move(trabalho), destino = this] {
        try {
            estado.resultado = trabalho(conexao);
        } catch (...) {
            estado.falha = std::current_exception();
        }
        estado.terminou.store(true);
        QCoreApplication::postEvent(destino, new QEvent(kTerminou));
    });
    while (!estado.terminou.load())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    worker.join();

    QCoreApplication::instance()->removeEventFilter(this);
    relogio.stop();
    m_relogio = nullptr;
    if (m_tempo)
        m_tempo->hide();
    m_conexao = nullptr;
    conexao.ClearCancel();
    if (m_cancelada)
        throw QueryCancelled(QStringLiteral("operation was cancelled"));
    if (estado.falha)
        std::rethrow_exception(estado.falha);
    return std::move(*estado.resultado);
}

void ConsultaEmSegundoPlano::Cancelar()
{
    if (m_cancelada || !m_conexao)
        return;
    m_cancelada = true;
    m_conexao->Cancel();
}

bool ConsultaEmSegundoPlano::event(QEvent* event)
{
    if (event->type() == kTerminou)
        return true; // processEvents has returned: the loop looks again
    return QObject::event(event);
}

bool ConsultaEmSegundoPlano::eventFilter(QObject* watched, QEvent* event)
{
    if (m_janela && m_conexao) {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            auto* alvo = qobject_cast<QWidget*>(watched);
            if (alvo && (alvo == m_janela || m_janela->isAncestorOf(alvo)))
                Cancelar();
        } else if (event->type() == QEvent::Close && watched == m_janela) {
            m_fechada = true;
            Cancelar();
        }
    }
    return QObject::eventFilter(watched, event);
}

void ConsultaEmSegundoPlano::MostrarTempo()
{
    if (!m_barra)
        return;
    if (!m_tempo) {
        m_tempo = new QLabel(m_barra);
        m_tempo->setObjectName(QStringLiteral("TempoDecorrido"));
        m_tempo->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        m_tempo->setAlignment(Qt::AlignCenter);
        // Room for "00:00" from the start, so the status text does not move.
        m_tempo->setMinimumWidth(m_tempo->fontMetrics().horizontalAdvance(QStringLiteral("00:00")) + 8);
        m_barra->addPermanentWidget(m_tempo);
    }
    // Rounded: the clock's ticks may come a little early.
    const qint64 s = (m_decorrido.elapsed() + 500) / 1000;
    m_tempo->setText(QStringLiteral("%1:%2").arg(s / 60).arg(s % 60, 2, 10, QLatin1Char('0')));
    m_tempo->show();
}
