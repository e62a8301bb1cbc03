#pragma once
// Runs the listing's statement away from the user-interface thread, so that
// the window keeps painting its busy state and the operator can stop it.
//
// Threading: Executar starts one worker thread and waits for it in a loop
// that handles this thread's events. The worker gets only the attachment
// (FbConnection, not a Qt object; used by no one else meanwhile, since the
// window's controls are disabled during a listing) and copied values (texts,
// dates, variants); it touches no widget and no QObject, and announces its
// end with QCoreApplication::postEvent, which is thread-safe. Its result or
// failure is read here after the thread is joined. Escape in the window, or
// closing it, calls FbConnection::Cancel from this thread, the one call the
// client allows from another thread while a statement runs.

#include "FbConnection.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <functional>

class QLabel;
class QStatusBar;
class QTimer;
class QWidget;

class ConsultaEmSegundoPlano : public QObject {
public:
    // `janela` is watched for Escape and closing; the elapsed time is shown
    // beside the panels of `barra`.
    ConsultaEmSegundoPlano(QWidget* janela, QStatusBar* barra);
    ~ConsultaEmSegundoPlano() override;

    // Runs trabalho(conexao) on a worker thread and returns its result, or
    // raises its failure. When the operator cancelled, raises QueryCancelled
    // whatever the worker gave. The connection is usable again afterwards.
    FbResult Executar(FbConnection& conexao, std::function<FbResult(FbConnection&)> trabalho);

    bool Cancelada() const { return m_cancelada; }
    // The window was closed while the statement ran.
    bool JanelaFechada() const { return m_fechada; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;

private:
    void Cancelar();
    void MostrarTempo();

    QPointer<QWidget> m_janela;
    QPointer<QStatusBar> m_barra;
    QPointer<QLabel> m_tempo;
    QTimer* m_relogio = nullptr;
    QElapsedTimer m_decorrido;
    FbConnection* m_conexao = nullptr;
    bool m_cancelada = false;
    bool m_fechada = false;
};
