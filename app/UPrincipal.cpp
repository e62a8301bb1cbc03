#include "UPrincipal.h"

#include "Application.h"
#include "ButtonPictures.h"
#include "MessageService.h"
#include "TMaskEdit.h"
#include "TStatusBar.h"
#include "UFuncoes.h"
#include "VirtualKeys.h"

#include <QCheckBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QStyleFactory>

#include <algorithm>

TFPrincipal* FPrincipal = nullptr;

namespace {

const QString kDataVazia = QStringLiteral("  /  /    ");
const QString kMascaraData = QStringLiteral("!99/99/9999;1;_");

void Posicionar(QWidget* w, int left, int top, int width, int height)
{
    w->setGeometry(left, top, width, height);
}

// Labels size themselves to their text, so a font a little wider than the
// designed one does not cut the caption.
void PosicionarRotulo(QLabel* l, int left, int top, int width, int height)
{
    Posicionar(l, left, top, std::max(width, l->sizeHint().width()), height);
}

} // namespace

TFPrincipal::TFPrincipal(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("FPrincipal"));
    CriarControles();
    CriarComponentes();
    InstalarPrevisaoTeclas();
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
    setWindowTitle(QStringLiteral("Listagem de Pedidos sem Contas a Receber"));
    // Designed at 96 pixels per inch with 13-pixel text: kept in pixels.
    QFont fonte(QStringLiteral("MS Sans Serif"));
    fonte.setPixelSize(11);
    setFont(fonte);
    setFixedSize(395, 147);
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);

    // Left, top, width and height are the designed ones, in client pixels.
    Label3 = new QLabel(QStringLiteral("Período de Faturamento"), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    PosicionarRotulo(Label3, 12, 20, 115, 13);

    auto criarData = [this](const QString& nome) {
        auto* edit = new TMaskEdit(this);
        edit->setObjectName(nome);
        edit->SetEditMask(kMascaraData);
        edit->setMaxLength(10);
        edit->SetText(kDataVazia);
        return edit;
    };
    DataIni = criarData(QStringLiteral("DataIni"));
    Posicionar(DataIni, 137, 18, 65, 21);

    Label6 = new QLabel(QStringLiteral("a"), this);
    Label6->setObjectName(QStringLiteral("Label6"));
    PosicionarRotulo(Label6, 211, 23, 6, 13);

    DataFim = criarData(QStringLiteral("DataFim"));
    Posicionar(DataFim, 225, 18, 65, 21);

    auto criarBotao = [this](const QString& nome, const QString& texto, const QIcon& figura) {
        auto* bt = new QPushButton(figura, texto, this);
        bt->setObjectName(nome);
        bt->setIconSize(QSize(16, 16));
        bt->setAutoDefault(false);
        return bt;
    };
    BtImp = criarBotao(QStringLiteral("BtImp"), QStringLiteral("&Imprimir"), ButtonPictures::Impressora());
    Posicionar(BtImp, 109, 101, 90, 25);
    BtNovoRel = criarBotao(QStringLiteral("BtNovoRel"), QStringLiteral("&Limpar"), ButtonPictures::PaginaNova());
    Posicionar(BtNovoRel, 201, 101, 90, 25);
    BtSair = criarBotao(QStringLiteral("BtSair"), QStringLiteral("&Sair"), ButtonPictures::PortaAberta());
    Posicionar(BtSair, 293, 101, 90, 25);

    gbTipoPedido = new QGroupBox(QStringLiteral("Tipo Pedido"), this);
    gbTipoPedido->setObjectName(QStringLiteral("gbTipoPedido"));
    Posicionar(gbTipoPedido, 51, 47, 278, 36);
    // The boxes sit 14 pixels down a 36-pixel frame: that needs the caption
    // drawn on the frame line, not above it.
    if (QStyle* classico = QStyleFactory::create(QStringLiteral("Windows"))) {
        classico->setParent(gbTipoPedido);
        gbTipoPedido->setStyle(classico);
    }

    auto criarTipo = [this](const QString& nome, const QString& texto) {
        auto* cb = new QCheckBox(texto, gbTipoPedido);
        cb->setObjectName(nome);
        cb->setChecked(false);
        return cb;
    };
    P51 = criarTipo(QStringLiteral("P51"), QStringLiteral("51 - NF"));
    Posicionar(P51, 19, 15, 63, 13);
    P55 = criarTipo(QStringLiteral("P55"), QStringLiteral("55 - PDV"));
    Posicionar(P55, 99, 14, 74, 13);
    P56 = criarTipo(QStringLiteral("P56"), QStringLiteral("56 - ECF"));
    Posicionar(P56, 187, 14, 78, 13);

    BarraStatus = new TStatusBar(this);
    BarraStatus->setObjectName(QStringLiteral("BarraStatus"));
    Posicionar(BarraStatus, 0, 147 - 19, 395, 19);
    BarraStatus->AddPanel(50);

    // Tab order: the two dates, the group's boxes, then the buttons.
    setTabOrder(DataIni, DataFim);
    setTabOrder(DataFim, P51);
    setTabOrder(P51, P55);
    setTabOrder(P55, P56);
    setTabOrder(P56, BtImp);
    setTabOrder(BtImp, BtNovoRel);
    setTabOrder(BtNovoRel, BtSair);
    BarraStatus->setFocusPolicy(Qt::NoFocus);
    gbTipoPedido->setFocusPolicy(Qt::NoFocus);

    auto ligar = [this](QPushButton* bt, void (TFPrincipal::*handler)()) {
        connect(bt, &QPushButton::clicked, this, [this, handler] { Application::Guard([&] { (this->*handler)(); }); });
    };
    ligar(BtImp, &TFPrincipal::BtImpClick);
    ligar(BtNovoRel, &TFPrincipal::BtNovoRelClick);
    ligar(BtSair, &TFPrincipal::BtSairClick);

    DataIni->setFocus();
}

void TFPrincipal::CriarComponentes()
{
    // Stored settings of the text-mode printer component; only configured.
    PFRel = new TPrintFast();
    PFRel->setParent(this);
    PFRel->SetName(QStringLiteral("PFRel"));
    PFRel->SetPageNumber(0);
    PFRel->SetLineNumber(0);
    PFRel->SetPrinterName(TPrintFast::pfEpson9pinos);
    PFRel->HeaderData()->SetFirstPage(1);
    PFRel->SetQtLines(60);
    PFRel->SetLinesHeader(0);
    PFRel->SetLinesFooter(0);
    PFRel->SetPageWidth(80);
    PFRel->Windows()->SetPrintForWindows(false);
    QFont fonte(QStringLiteral("Courier New"));
    fonte.setPixelSize(11);
    PFRel->Windows()->SetFont(fonte);
    PFRel->Windows()->SetLineSpace(20);
    PFRel->Windows()->SetOrientation(TPrintWin::poPortrait);
    PFRel->SetPrinterTermic(false);
    PFRel->SetPaisagem(false);
    PFRel->SetZoom(0);
}

void TFPrincipal::InstalarPrevisaoTeclas()
{
    // Key preview: the window looks at every key of its controls first.
    for (QWidget* w : findChildren<QWidget*>())
        if (w->focusPolicy() != Qt::NoFocus)
            w->installEventFilter(this);
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
        if (TeclaDeDialogo(control, key))
            return key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab;
        std::uint16_t codigo = VirtualKeyOf(*key);
        Application::Guard([&] { FormKeyDown(control, codigo, key->modifiers()); });
        return false; // the control still gets the key
    }

    if (event->type() == QEvent::FocusOut && (control == DataIni || control == DataFim)) {
        // Focus moving to another window is not leaving the field.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            if (control == DataIni)
                Application::Guard([this] { DataIniExit(); });
            else
                Application::Guard([this] { DataFimExit(); });
        }
    }
    return QWidget::eventFilter(watched, event);
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
        BuscarPedidos();
        if (ConsultaVazia())
            MessageService::instance().warning(
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
    for (QWidget* w : {static_cast<QWidget*>(DataIni), static_cast<QWidget*>(DataFim),
                       static_cast<QWidget*>(P51), static_cast<QWidget*>(P55), static_cast<QWidget*>(P56),
                       static_cast<QWidget*>(BtImp), static_cast<QWidget*>(BtNovoRel),
                       static_cast<QWidget*>(BtSair)})
        w->setEnabled(false);
}

void TFPrincipal::HabilitarControles()
{
    for (QWidget* w : {static_cast<QWidget*>(DataIni), static_cast<QWidget*>(DataFim),
                       static_cast<QWidget*>(P51), static_cast<QWidget*>(P55), static_cast<QWidget*>(P56),
                       static_cast<QWidget*>(BtImp), static_cast<QWidget*>(BtNovoRel),
                       static_cast<QWidget*>(BtSair)})
        w->setEnabled(true);
}
