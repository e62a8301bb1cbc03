// "Imprimir": validation, disabling, the order-type list, the empty-result
// warning, and the clean-up after success and after a failure.
#include "PrincipalFixture.h"

namespace {

const QString kVazia = QStringLiteral("  /  /    ");
const QString kSemPedidos =
    QStringLiteral("Não foram encontrados pedidos sem contas a receber no banco de dados com estes filtros. ");

using WorkflowTest = PrincipalTest;

TEST_F(WorkflowTest, OrderTypeListAndBusyStateThenCleanUp)
{
    const struct {
        bool p51, p55, p56;
        const char* tipos;
    } cases[] = {
        {false, false, false, ""},   {true, false, false, "51"},   {false, true, true, "55,56"},
        {true, false, true, "51,56"}, {true, true, true, "51,55,56"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tipos);
        messages.Clear();
        w->calls.clear();
        w->DataIni->SetText(QStringLiteral("01/03/2026"));
        w->DataFim->SetText(QStringLiteral("09/03/2026"));
        w->P51->setChecked(c.p51);
        w->P55->setChecked(c.p55);
        w->P56->setChecked(c.p56);
        QStringList disabled;
        bool othersEnabled = false;
        w->duranteBusca = [&] {
            for (QWidget* e : entradas())
                if (!e->isEnabled())
                    disabled << e->objectName();
            othersEnabled = w->gbTipoPedido->isEnabled() && w->BarraStatus->isEnabled();
            w->BarraStatus->SetPanelText(0, QStringLiteral("Buscando..."));
        };
        QTest::mouseClick(w->BtImp, Qt::LeftButton);

        EXPECT_EQ(w->TiposPedido, QString::fromUtf8(c.tipos));
        EXPECT_EQ(disabled.size(), 8) << disabled.join(QStringLiteral(",")).toStdString();
        EXPECT_TRUE(othersEnabled);
        EXPECT_EQ(w->calls, (QStringList{QStringLiteral("BuscarPedidos"), QStringLiteral("ConsultaVazia"), QStringLiteral("FecharConsulta")}));
        ASSERT_EQ(messages.Messages().size(), 1);
        EXPECT_EQ(messages.Messages()[0].text, kSemPedidos);
        EXPECT_EQ(messages.Messages()[0].caption, QStringLiteral("Warning"));
        EXPECT_EQ(messages.Messages()[0].icon, QMessageBox::Warning);
        EXPECT_EQ(messages.Messages()[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        // clean-up
        for (QWidget* e : entradas())
            EXPECT_TRUE(e->isEnabled()) << e->objectName().toStdString();
        EXPECT_EQ(w->DataIni->Text(), kVazia);
        EXPECT_EQ(w->DataFim->Text(), kVazia);
        EXPECT_FALSE(w->P51->isChecked() || w->P55->isChecked() || w->P56->isChecked());
        EXPECT_EQ(w->BarraStatus->PanelText(0), QString());
        EXPECT_EQ(focado(), w->DataIni);
    }
}

TEST_F(WorkflowTest, RowsFoundShowTheReportWithTheCompletedPeriod)
{
    w->vazia = false;
    QString periodo;
    w->duranteRelatorio = [&] { periodo = w->DataIni->Text() + QStringLiteral(" a ") + w->DataFim->Text(); };
    w->DataIni->SetText(QStringLiteral("1 /  /    "));
    w->DataFim->SetText(QStringLiteral("  /  /    "));
    QTest::mouseClick(w->BtImp, Qt::LeftButton);
    EXPECT_EQ(w->calls, (QStringList{QStringLiteral("BuscarPedidos"), QStringLiteral("ConsultaVazia"), QStringLiteral("MostrarRelatorio"), QStringLiteral("FecharConsulta")}));
    EXPECT_EQ(periodo, QStringLiteral("01/03/2026 a 01/01/2999"));
    EXPECT_TRUE(messages.Messages().isEmpty());
    EXPECT_EQ(w->DataIni->Text(), kVazia);
}

TEST_F(WorkflowTest, EmptyFieldsTakeTheWidestPeriod)
{
    QString periodo;
    w->duranteBusca = [&] { periodo = w->DataIni->Text() + QStringLiteral(" a ") + w->DataFim->Text(); };
    QTest::mouseClick(w->BtImp, Qt::LeftButton);
    EXPECT_EQ(periodo, QStringLiteral("01/01/1950 a 01/01/2999"));
}

TEST_F(WorkflowTest, BadPeriodStopsBeforeAnythingIsDisabledOrCleared)
{
    const struct {
        const char* ini;
        const char* fim;
        const char* message;
        const char* iniAfter;
        const char* fimAfter;
        bool focusIni;
    } cases[] = {
        {"31/02/2026", "09/03/2026", "Data inicial inválida.", "  /  /    ", "09/03/2026", true},
        {"10/03/2026", "09/03/2026", "Data inicial não pode ser maior que data final.", "  /  /    ",
         "09/03/2026", true},
        {"01/03/2026", "31/02/2026", "Data final inválida.", "01/03/2026", "  /  /    ", false},
        {"  /  /    ", "31/12/1949", "Data final não pode ser menor que data inicial.", "01/01/1950",
         "  /  /    ", false},
        {"15/  /2015", "  /  /    ", "Data inicial inválida.", "  /  /    ", "  /  /    ", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        messages.Clear();
        w->calls.clear();
        w->DataIni->SetText(QString::fromUtf8(c.ini));
        w->DataFim->SetText(QString::fromUtf8(c.fim));
        w->P55->setChecked(true);
        w->BtImp->setFocus();
        QTest::mouseClick(w->BtImp, Qt::LeftButton);
        EXPECT_EQ(messages.Texts(), QStringList{QString::fromUtf8(c.message)});
        EXPECT_TRUE(w->calls.isEmpty());
        EXPECT_EQ(w->DataIni->Text(), QString::fromUtf8(c.iniAfter));
        EXPECT_EQ(w->DataFim->Text(), QString::fromUtf8(c.fimAfter));
        EXPECT_TRUE(w->P55->isChecked());
        EXPECT_EQ(focado(), c.focusIni ? static_cast<QWidget*>(w->DataIni) : w->DataFim);
        for (QWidget* e : entradas())
            EXPECT_TRUE(e->isEnabled());
        w->LimparCampos();
    }
}

TEST_F(WorkflowTest, FailureAfterDisablingStillCleansUpAndReachesTheErrorDisplay)
{
    const struct {
        const char* name;
        bool inSearch;
    } cases[] = {{"search fails", true}, {"report fails", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        messages.Clear();
        w->calls.clear();
        w->vazia = false;
        w->duranteBusca = w->duranteRelatorio = nullptr;
        auto falha = [] { throw PlatformError(QStringLiteral("Falha ao gerar o relatório")); };
        (c.inSearch ? w->duranteBusca : w->duranteRelatorio) = falha;
        w->DataIni->SetText(QStringLiteral("01/03/2026"));
        w->P51->setChecked(true);
        w->BarraStatus->SetPanelText(0, QStringLiteral("x"));
        QTest::mouseClick(w->BtImp, Qt::LeftButton);

        EXPECT_EQ(w->calls.last(), QStringLiteral("FecharConsulta"));
        ASSERT_EQ(messages.Messages().size(), 1);
        EXPECT_EQ(messages.Messages()[0].text, QStringLiteral("Falha ao gerar o relatório"));
        EXPECT_EQ(messages.Messages()[0].icon, QMessageBox::Critical);
        for (QWidget* e : entradas())
            EXPECT_TRUE(e->isEnabled());
        EXPECT_EQ(w->DataIni->Text(), kVazia);
        EXPECT_EQ(w->DataFim->Text(), kVazia);
        EXPECT_FALSE(w->P51->isChecked());
        EXPECT_EQ(w->BarraStatus->PanelText(0), QString());
        EXPECT_EQ(focado(), w->DataIni);
        EXPECT_TRUE(w->isVisible()); // the window stays usable
    }
}

TEST_F(WorkflowTest, DirectCallPassesTheFailureOnAfterCleanUp)
{
    w->duranteBusca = [] { throw PlatformError(QStringLiteral("boom")); };
    w->P56->setChecked(true);
    EXPECT_THROW(w->BtImpClick(), PlatformError);
    EXPECT_FALSE(w->P56->isChecked());
    EXPECT_TRUE(w->BtImp->isEnabled());
}

TEST_F(WorkflowTest, LimparAndSair)
{
    w->DataIni->SetText(QStringLiteral("01/03/2026"));
    w->DataFim->SetText(QStringLiteral("09/03/2026"));
    w->P51->setChecked(true);
    w->P55->setChecked(true);
    w->P56->setChecked(true);
    w->BtSair->setFocus();
    QTest::mouseClick(w->BtNovoRel, Qt::LeftButton);
    EXPECT_EQ(w->DataIni->Text(), kVazia);
    EXPECT_EQ(w->DataFim->Text(), kVazia);
    EXPECT_FALSE(w->P51->isChecked() || w->P55->isChecked() || w->P56->isChecked());
    EXPECT_EQ(focado(), w->DataIni);
    EXPECT_TRUE(messages.Messages().isEmpty());

    QTest::mouseClick(w->BtSair, Qt::LeftButton);
    EXPECT_FALSE(w->isVisible());
}

TEST_F(WorkflowTest, EnableAndDisableTouchOnlyTheEightEntries)
{
    w->DesabilitarControles();
    for (QWidget* e : entradas())
        EXPECT_FALSE(e->isEnabled());
    EXPECT_TRUE(w->gbTipoPedido->isEnabled());
    EXPECT_TRUE(w->BarraStatus->isEnabled());
    // a disabled field makes the period check a no-op
    EXPECT_TRUE(w->ValidarDataFim());
    w->HabilitarControles();
    for (QWidget* e : entradas())
        EXPECT_TRUE(e->isEnabled());
}

} // namespace
