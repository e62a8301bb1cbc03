#pragma once
// The program's one window: a billing period, the order types, and the
// buttons that list, clear and leave.

#include "printfast.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QWidget>
#include <cstdint>

class QCheckBox;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QPushButton;
class TBandReport;
class TBRLabel;
class TDatabase;
class TMaskEdit;
class TQuery;
class TSQLConnection;
class TSQLQuery;
class TStatusBar;

class TFPrincipal : public QWidget {
    Q_OBJECT
public:
    explicit TFPrincipal(QWidget* parent = nullptr);
    ~TFPrincipal() override;

    // Controls and components, owned by the window.
    QLabel* Label3 = nullptr;
    TMaskEdit* DataIni = nullptr;
    QLabel* Label6 = nullptr;
    TMaskEdit* DataFim = nullptr;
    QPushButton* BtImp = nullptr;
    QPushButton* BtNovoRel = nullptr;
    QPushButton* BtSair = nullptr;
    QGroupBox* gbTipoPedido = nullptr;
    QCheckBox* P51 = nullptr;
    QCheckBox* P55 = nullptr;
    QCheckBox* P56 = nullptr;
    TStatusBar* BarraStatus = nullptr;
    TSQLConnection* CnKavrano = nullptr;
    TDatabase* DbKavrano = nullptr;
    TPrintFast* PFRel = nullptr;
    TSQLQuery* QryRel = nullptr;
    TQuery* RelatorP = nullptr;
    TQuery* RlPadrao = nullptr;
    // The listing report; its header labels take the period and the types.
    TBandReport* BRRelatorio = nullptr;
    TBRLabel* BRLDataIni = nullptr;
    TBRLabel* BRLDataFim = nullptr;
    TBRLabel* BRLTipo = nullptr;

    // Event handlers.
    void FormCreate();
    void FormKeyDown(QObject* Sender, std::uint16_t& Key, Qt::KeyboardModifiers Shift);
    void DataIniExit();
    void DataFimExit();
    void BtImpClick();
    void BtNovoRelClick();
    void BtSairClick();

protected:
    bool ValidarDataIni();
    bool ValidarDataFim();
    void LimparCampos();
    void DesabilitarControles();
    void HabilitarControles();
    void ConectarBanco();
    void CopiarParametros(TSQLConnection* Conexao, TDatabase* Banco);
    virtual void BuscarPedidos();
    virtual void MostrarRelatorio();
    // Whether the listing query found nothing; a query that is not open
    // counts as empty.
    virtual bool ConsultaVazia();
    virtual void FecharConsulta();

    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

    std::uint16_t UltimaTecla = 0;
    QString TiposPedido;
    // Set by BuscarPedidos when the operator stopped the query.
    bool m_listagemCancelada = false;

private:
    void CriarControles();
    void CriarComponentes();
    void InstalarPrevisaoTeclas();
    // The platform's own dialog keys for the focused control; true when the
    // key was one of them, and then the window's key handler never sees it.
    // Tab is left to Qt; the others are done here and go no further.
    bool TeclaDeDialogo(QWidget* control, QKeyEvent* event);
    void ProximoControleIrmao(QWidget* control, bool avancar);
    // After an exit handler ran while the focus moved to `destino`: keeps the
    // focus where the handler put it, if elsewhere.
    void ManterFocoPedido(QWidget* destino);
    void ProximoControle(bool anterior);
    void Limpeza();
    void DefinirControlesHabilitados(bool habilitar);
    void LigarEvento(QObject* objeto, const QString& evento, const QString& handler);

    bool m_centrada = false;
    bool m_previsaoTeclas = false;
    bool m_emSaida = false; // an exit handler is running
    QList<QPair<QObject*, void (TFPrincipal::*)()>> m_aoSair;
};

extern TFPrincipal* FPrincipal;
