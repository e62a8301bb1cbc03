#include "UPrincipal.h"

#include "Application.h"
#include "BRReportReader.h"
#include "ButtonPictures.h"
#include "DatabaseClasses.h"
#include "DefinitionReader.h"
#include "FirstStartSetup.h"
#include "FormBuilder.h"
#include "MessageService.h"
#include "TBRLabel.h"
#include "TBandReport.h"
#include "TDatabase.h"
#include "TMaskEdit.h"
#include "TQuery.h"
#include "TSQLConnection.h"
#include "TSQLQuery.h"
#include "TStatusBar.h"
#include "UFuncoes.h"
#include "VirtualKeys.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScreen>

TFPrincipal* FPrincipal = nullptr;

namespace {

const QString kDataVazia = QStringLiteral("  /  /    ");

template <class T>
T* Controle(QWidget* form, const char* nome)
{
    T* c = form->findChild<T*>(QString::fromLatin1(nome));
    if (!c)
        throw PlatformError(
            QStringLiteral("Component %1 missing from the window definition").arg(QString::fromUtf8(nome)));
    return c;
}

} // namespace

static void CarregarRecursos()
{
    Q_INIT_RESOURCE(resources);
}

TFPrincipal::TFPrincipal(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    // The global refers to the window from the start, FormCreate included.
    if (!FPrincipal)
        FPrincipal = this;
    CriarControles();
    CriarComponentes();
    InstalarPrevisaoTeclas();
    FirstStartSetup::RunIfNeeded(this, BarraStatus);
    // A failure while starting up is reported and the window still opens.
    Application::Guard([this] { FormCreate(); });
}

TFPrincipal::~TFPrincipal()
{
    // Focus leaving a field while the window is torn down validates nothing.
    for (QWidget* w : findChildren<QWidget*>())
        w->removeEventFilter(this);
    if (FPrincipal == this)
        FPrincipal = nullptr;
}

void TFPrincipal::CriarControles()
{
    CarregarRecursos();
    TPrintFast::Register();
    brp::RegisterDatabaseClasses();
    QFile arquivo(QStringLiteral(":/UPrincipal.def"));
    if (!arquivo.open(QIODevice::ReadOnly))
        throw PlatformError(QStringLiteral("Resource UPrincipal.def not found"));
    const DefinitionObject definicao = brp::ReadDefinition(QString::fromUtf8(arquivo.readAll()));

    FormBuilderHooks hooks;
    hooks.bindEvent = [this](QObject* o, const QString& e, const QString& h) { LigarEvento(o, e, h); };
    hooks.picture = [](const QString& nome) {
        if (nome == QLatin1String("Impressora"))
            return ButtonPictures::Impressora();
        if (nome == QLatin1String("PaginaNova"))
            return ButtonPictures::PaginaNova();
        if (nome == QLatin1String("PortaAberta"))
            return ButtonPictures::PortaAberta();
        throw PlatformError(QStringLiteral("Picture %1 not found").arg(nome));
    };
    // The listing report is read by the engine's own rules (band order, lengths
    // applied after the paper, references to the window's data sets).
    hooks.buildObject = [this](QObject* pai, const DefinitionObject& objeto) {
        if (objeto.className != QLatin1String("TBandReport"))
            return false;
        BRReportReader::Read(objeto, pai, [this](QObject* o, const QString& e, const QString& h) { LigarEvento(o, e, h); });
        return true;
    };
    setObjectName(definicao.name);
    const auto proprias = FormBuilder::Build(this, definicao, hooks);

    Label3 = Controle<QLabel>(this, "Label3");
    DataIni = Controle<TMaskEdit>(this, "DataIni");
    Label6 = Controle<QLabel>(this, "Label6");
    DataFim = Controle<TMaskEdit>(this, "DataFim");
    BtImp = Controle<QPushButton>(this, "BtImp");
    BtNovoRel = Controle<QPushButton>(this, "BtNovoRel");
    BtSair = Controle<QPushButton>(this, "BtSair");
    gbTipoPedido = Controle<QGroupBox>(this, "gbTipoPedido");
    P51 = Controle<QCheckBox>(this, "P51");
    P55 = Controle<QCheckBox>(this, "P55");
    P56 = Controle<QCheckBox>(this, "P56");
    BarraStatus = Controle<TStatusBar>(this, "BarraStatus");

    // The window's own settings.
    const auto valor = [&](const char* nome) { return proprias.value(QString::fromLatin1(nome)); };
    if (valor("BorderStyle").text == QLatin1String("bsSingle") ||
        valor("BorderStyle").text == QLatin1String("bsDialog"))
        setFixedSize(size());
    const QStringList icones = valor("BorderIcons").set;
    Qt::WindowFlags flags = windowFlags() & ~(Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint);
    if (icones.contains(QStringLiteral("biMinimize")))
        flags |= Qt::WindowMinimizeButtonHint;
    if (icones.contains(QStringLiteral("biMaximize")))
        flags |= Qt::WindowMaximizeButtonHint;
    setWindowFlags(flags);
    m_centrada = valor("Position").text != QLatin1String("poScreenCenter");
    m_previsaoTeclas = valor("KeyPreview").ToBool();
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
    DataIni->setFocus();
}

void TFPrincipal::CriarComponentes()
{
    // The non-visual components, created with the window's definition.
    CnKavrano = Controle<TSQLConnection>(this, "CnKavrano");
    DbKavrano = Controle<TDatabase>(this, "DbKavrano");
    PFRel = Controle<TPrintFast>(this, "PFRel");
    QryRel = Controle<TSQLQuery>(this, "QryRel");
    RelatorP = Controle<TQuery>(this, "RelatorP");
    RlPadrao = Controle<TQuery>(this, "RlPadrao");
    BRRelatorio = Controle<TBandReport>(this, "BRRelatorio");
    BRLDataIni = Controle<TBRLabel>(this, "BRLDataIni");
    BRLDataFim = Controle<TBRLabel>(this, "BRLDataFim");
    BRLTipo = Controle<TBRLabel>(this, "BRLTipo");
}

void TFPrincipal::LigarEvento(QObject* objeto, const QString& evento, const QString& handler)
{
    static const QHash<QString, void (TFPrincipal::*)()> handlers = {
        {QStringLiteral("DataIniExit"), &TFPrincipal::DataIniExit},
        {QStringLiteral("DataFimExit"), &TFPrincipal::DataFimExit},
        {QStringLiteral("BtImpClick"), &TFPrincipal::BtImpClick},
        {QStringLiteral("BtNovoRelClick"), &TFPrincipal::BtNovoRelClick},
        {QStringLiteral("BtSairClick"), &TFPrincipal::BtSairClick},
    };
    if (objeto == this) {
        // FormCreate runs when the window is complete; FormKeyDown through
        // the key preview.
        if ((evento == QLatin1String("OnCreate") && handler == QLatin1String("FormCreate")) ||
            (evento == QLatin1String("OnKeyDown") && handler == QLatin1String("FormKeyDown")))
            return;
    } else if (handlers.contains(handler)) {
        const auto metodo = handlers.value(handler);
        if (evento == QLatin1String("OnClick")) {
            if (auto* botao = qobject_cast<QAbstractButton*>(objeto)) {
                connect(botao, &QAbstractButton::clicked, this,
                        [this, metodo] { Application::Guard([&] { (this->*metodo)(); }); });
                return;
            }
        } else if (evento == QLatin1String("OnExit")) {
            m_aoSair.append({objeto, metodo});
            return;
        }
    }
    throw PlatformError(QStringLiteral("Event %1 = %2 of %3 cannot be bound").arg(evento, handler, objeto->objectName()));
}

void TFPrincipal::InstalarPrevisaoTeclas()
{
    // The window looks at every key of its controls first (the platform's
    // dialog keys, then the key preview) and sees the focus leave them.
    for (QWidget* w : findChildren<QWidget*>())
        if (w->focusPolicy() != Qt::NoFocus)
            w->installEventFilter(this);
    // Keys that reach the window itself: no control has the focus, as while
    // a listing runs with every control disabled.
    installEventFilter(this);
}

void TFPrincipal::showEvent(QShowEvent* event)
{
    if (!m_centrada) {
        m_centrada = true;
        if (QScreen* tela = screen()) {
            QRect r = frameGeometry();
            r.moveCenter(tela->availableGeometry().center());
            move(r.topLeft());
        }
    }
    QWidget::showEvent(event);
}

bool TFPrincipal::eventFilter(QObject* watched, QEvent* event)
{
    auto* control = qobject_cast<QWidget*>(watched);
    if (!control)
        return QWidget::eventFilter(watched, event);

    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (control == this) {
            // A key a control ignored comes up to the window after the
            // preview saw it at the control: only keys sent to the window
            // itself are new here.
            QWidget* foco = QApplication::focusWidget();
            if (foco && foco != this && foco->window() == this)
                return QWidget::eventFilter(watched, event);
            if (m_previsaoTeclas) {
                std::uint16_t codigo = brp::VirtualKeyOf(*key);
                Application::Guard([&] { FormKeyDown(this, codigo, key->modifiers()); });
            }
            return false;
        }
        if (TeclaDeDialogo(control, key))
            return key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab;
        if (m_previsaoTeclas) {
            std::uint16_t codigo = brp::VirtualKeyOf(*key);
            Application::Guard([&] { FormKeyDown(control, codigo, key->modifiers()); });
        }
        return false; // the control still gets the key
    }

    if (event->type() == QEvent::FocusOut && !m_emSaida) {
        // Only the operator leaves a field: the focus moving to another
        // window, or put back by a validator on the field its message names,
        // runs no exit handler. Without this, a validator's focus change made
        // the field just entered run its own handler too.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        const bool peloOperador = reason == Qt::MouseFocusReason || reason == Qt::TabFocusReason ||
                                  reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason;
        if (peloOperador)
            for (const auto& [objeto, metodo] : m_aoSair)
                if (objeto == control) {
                    QWidget* destino = focusWidget();
                    {
                        const QScopedValueRollback<bool> emSaida(m_emSaida, true);
                        Application::Guard([this, m = metodo] { (this->*m)(); });
                    }
                    ManterFocoPedido(destino);
                }
    }
    return QWidget::eventFilter(watched, event);
}

void TFPrincipal::ManterFocoPedido(QWidget* destino)
{
    // A validator that put the focus back on its field (after confirming a
    // message box) wants it there when this focus change is over. Qt finishes
    // moving the focus to `destino` after the handler returns, and once a real
    // message box has closed the window, reactivated, takes that widget again.
    QWidget* pedido = focusWidget();
    if (!pedido || pedido == destino)
        return;
    QMetaObject::invokeMethod(
        this,
        [alvo = QPointer<QWidget>(pedido)] {
            if (alvo && alvo->isEnabled() && alvo->isVisible())
                alvo->setFocus();
        },
        Qt::QueuedConnection);
}

bool TFPrincipal::TeclaDeDialogo(QWidget* control, QKeyEvent* event)
{
    const int key = event->key();
    const bool semCtrlAlt = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if ((key == Qt::Key_Tab || key == Qt::Key_Backtab) && semCtrlAlt)
        return true; // the control passes it to Qt's own tab handling
    auto* botao = qobject_cast<QAbstractButton*>(control);
    if (!botao || !semCtrlAlt)
        return false;
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_Right:
    case Qt::Key_Down:
        ProximoControleIrmao(control, key == Qt::Key_Right || key == Qt::Key_Down);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (qobject_cast<QPushButton*>(control)) {
            botao->click();
            return true;
        }
        return false;
    default:
        return false;
    }
}

void TFPrincipal::ProximoControleIrmao(QWidget* control, bool avancar)
{
    // Next or previous control of the same parent, in tab order, wrapping.
    QWidget* parent = control->parentWidget();
    QList<QWidget*> irmaos;
    QWidget* w = control;
    do {
        if (w->parentWidget() == parent && (w->focusPolicy() & Qt::TabFocus) && w->isEnabled() &&
            w->isVisibleTo(parent))
            irmaos.append(w);
        w = w->nextInFocusChain();
    } while (w && w != control);
    if (irmaos.size() < 2)
        return;
    QWidget* alvo = avancar ? irmaos[1] : irmaos.last();
    alvo->setFocus(avancar ? Qt::TabFocusReason : Qt::BacktabFocusReason);
}

void TFPrincipal::ProximoControle(bool anterior)
{
    focusNextPrevChild(!anterior);
}

void TFPrincipal::FormKeyDown(QObject*, std::uint16_t& Key, Qt::KeyboardModifiers)
{
    UltimaTecla = Key;
    if (Key == VirtualKey::Return)
        ProximoControle(false);
    else if (Key == VirtualKey::Up)
        ProximoControle(true);
}

void TFPrincipal::DataIniExit()
{
    if (UltimaTecla == VirtualKey::Return)
        ValidarDataIni();
}

void TFPrincipal::DataFimExit()
{
    if (UltimaTecla == VirtualKey::Return)
        ValidarDataFim();
}

bool TFPrincipal::ValidarDataIni()
{
    if (DataIni->Text() == kDataVazia) {
        DataIni->SetText(QStringLiteral("01/01/1950"));
        return true;
    }
    return ValidarPeriodo(*DataIni, *DataFim, QStringLiteral("Data inicial"), QStringLiteral("data final"),
                          QStringLiteral("Ini"));
}

bool TFPrincipal::ValidarDataFim()
{
    if (DataFim->Text() == kDataVazia) {
        DataFim->SetText(QStringLiteral("01/01/2999"));
        return true;
    }
    return ValidarPeriodo(*DataIni, *DataFim, QStringLiteral("data inicial"), QStringLiteral("Data final"),
                          QStringLiteral("Fim"));
}

void TFPrincipal::BtImpClick()
{
    if (!ValidarDataIni())
        return;
    if (!ValidarDataFim())
        return;
    try {
        DesabilitarControles();
        TiposPedido.clear();
        TiposPedido += IIF(P51->isChecked(), u"51,", u"");
        TiposPedido += IIF(P55->isChecked(), u"55,", u"");
        TiposPedido += IIF(P56->isChecked(), u"56,", u"");
        TiposPedido.chop(1);
        m_listagemCancelada = false;
        BuscarPedidos();
        if (m_listagemCancelada) {
            // The operator stopped the query and has been told so.
        } else if (ConsultaVazia())
            MessageService::Instance().Warning(
                QStringLiteral("Não foram encontrados pedidos sem contas a receber no banco de dados com estes filtros. "));
        else
            MostrarRelatorio();
    } catch (...) {
        Limpeza();
        throw;
    }
    Limpeza();
}

void TFPrincipal::Limpeza()
{
    FecharConsulta();
    HabilitarControles();
    LimparCampos();
    BarraStatus->SetPanelText(0, QString());
    Application::ProcessMessages();
    DataIni->setFocus();
}

void TFPrincipal::BtNovoRelClick()
{
    LimparCampos();
    DataIni->setFocus();
}

void TFPrincipal::BtSairClick()
{
    close();
}

void TFPrincipal::LimparCampos()
{
    DataIni->SetText(kDataVazia);
    DataFim->SetText(kDataVazia);
    P51->setChecked(false);
    P55->setChecked(false);
    P56->setChecked(false);
}

void TFPrincipal::DesabilitarControles()
{
    DefinirControlesHabilitados(false);
}

void TFPrincipal::HabilitarControles()
{
    DefinirControlesHabilitados(true);
}

void TFPrincipal::DefinirControlesHabilitados(bool habilitar)
{
    for (QWidget* w : {static_cast<QWidget*>(DataIni), static_cast<QWidget*>(DataFim),
                       static_cast<QWidget*>(P51), static_cast<QWidget*>(P55), static_cast<QWidget*>(P56),
                       static_cast<QWidget*>(BtImp), static_cast<QWidget*>(BtNovoRel),
                       static_cast<QWidget*>(BtSair)})
        w->setEnabled(habilitar);
}
