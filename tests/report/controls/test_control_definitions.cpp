// The listing's report definition, as the program's window definition holds
// it: its controls created by class name, their properties set (the stored
// point size after loading), written back unchanged; bad values refused with
// their line.
#include "BRReportReader.h"
#include "ControlsFixture.h"
#include "ListingDefinition.h"
#include "TBREvEnvironment.h"
#include "TMemDataSet.h"

#include <QRegularExpression>
#include <algorithm>

namespace {
class ControlDefinitions : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        // The window's own report is not used: the definition brings one.
        delete report;
        report = nullptr;
        window = std::make_unique<TComponent>();
        window->SetName(QStringLiteral("FrmPrincipal"));
        data = new TMemDataSet(window.get());
        data->SetName(QStringLiteral("QryRel"));
    }
    void TearDown() override
    {
        target.reset();
        window.reset();
        ControlsTest::TearDown();
    }
    TCustomBandReport* read(const DefinitionObject& definition)
    {
        return BRReportReader::Read(definition, window.get(), [this](QObject*, const QString& event,
                                                                     const QString& handler) {
            events << event + u'=' + handler;
        });
    }
    TCustomBandReport* read(const QString& text) { return read(brp::ReadDefinition(text)); }

    // The listing report as the program's window definition holds it.
    TCustomBandReport* readListing()
    {
        const DefinitionObject definition = brp::listingWindowDefinition();
        const DefinitionObject* stored = BRReportReader::FindReport(definition, QStringLiteral("BRRelatorio"));
        EXPECT_NE(stored, nullptr);
        return stored ? read(*stored) : nullptr;
    }
    // The listing report in the form the writer gives it, for the cases that
    // edit its text.
    QString listingText()
    {
        std::unique_ptr<TCustomBandReport> r(readListing());
        events.clear();
        return r ? BRDefinitionWriter::Write(*r) : QString();
    }
    template <class T>
    T* find(const QString& name) const
    {
        return window->findChild<T*>(name);
    }

    std::unique_ptr<TComponent> window;
    TMemDataSet* data = nullptr;
    QStringList events;
};

// The listing report's lines as the window definition stores them, one
// level of indentation less.
QString storedListingText()
{
    const QStringList lines = brp::listingWindowDefinitionText().split(u'\n');
    const auto begin = std::find_if(lines.begin(), lines.end(),
                                    [](const QString& l) { return l.startsWith(u"  object BRRelatorio:"); });
    const auto end = std::find(begin, lines.end(), QStringLiteral("  end"));
    QString text;
    for (auto it = begin; it != lines.end() && it <= end; ++it)
        text += it->mid(2) + u'\n';
    return text;
}

// Lines in sorted order, the numbers of stored sizes to 12 digits.
QStringList comparableLines(const QString& text)
{
    static const QRegularExpression sizes(QStringLiteral("^(\\s*Size\\.Values = \\()(.*)\\)$"));
    QStringList out;
    for (const QString& line : text.split(u'\n', Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch m = sizes.match(line);
        if (!m.hasMatch()) {
            out << line;
            continue;
        }
        QStringList numbers;
        for (const QString& n : m.captured(2).split(u' '))
            numbers << QString::number(n.toDouble(), 'g', 12);
        out << m.captured(1) + numbers.join(u' ') + u')';
    }
    out.sort();
    return out;
}

} // namespace

TEST_F(ControlDefinitions, EveryControlOfTheListingIsReadAndWrittenBackUnchanged)
{
    std::unique_ptr<TCustomBandReport> r(readListing());
    ASSERT_NE(r, nullptr);

    auto* title = find<TBRLabel>(QStringLiteral("BRLabel1"));
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->Caption(), QStringLiteral("Listagem de pedidos sem contas a receber"));
    EXPECT_EQ(title->Font().Style, TFontStyles(fsBold));
    EXPECT_EQ(title->Font().Size(), 12);
    EXPECT_EQ(find<TBRLabel>(QStringLiteral("BRLabel3"))->Caption(), QStringLiteral("Página:"));

    auto* rule = find<TBRShape>(QStringLiteral("BRShape1"));
    ASSERT_NE(rule, nullptr);
    EXPECT_EQ(rule->Shape(), brsHorLine);
    EXPECT_EQ(rule->Pen().Style, TPenStyle::psDash);
    EXPECT_EQ(rule->Height(), 9);

    auto* date = find<TBRExpr>(QStringLiteral("BRExpr1"));
    ASSERT_NE(date, nullptr);
    EXPECT_EQ(date->Expression(), QStringLiteral("DATE"));
    EXPECT_EQ(date->Caption(), QStringLiteral("DATE"));

    auto* total = find<TBRDBText>(QStringLiteral("BRDBText6"));
    ASSERT_NE(total, nullptr);
    EXPECT_EQ(total->DataSet(), data);
    EXPECT_EQ(total->DataField(), QStringLiteral("TOTALPEDIDO"));
    EXPECT_EQ(total->Mask(), QStringLiteral("#,##0.000"));
    EXPECT_EQ(total->Alignment(), taRightJustify);
    EXPECT_FALSE(total->AutoSize());

    auto* note = find<TBRLabel>(QStringLiteral("BRLabel14"));
    ASSERT_NE(note, nullptr);
    EXPECT_FALSE(note->AutoSize());
    EXPECT_TRUE(note->WordWrap());
    EXPECT_EQ(note->Bounds(), QRect(8, 16, 698, 57));

    // Every line of the stored report is written back, in the writer's order
    // and with its own rounding of the stored sizes, except the sub-detail's
    // group bands, stored as the False they read as without them.
    const QString text = BRDefinitionWriter::Write(*r);
    r.reset();
    QStringList stored = comparableLines(storedListingText());
    for (const char* unwritten : {"    Bands.HasFooter = False", "    Bands.HasHeader = False"})
        EXPECT_TRUE(stored.removeOne(QString::fromLatin1(unwritten))) << unwritten;
    EXPECT_EQ(comparableLines(text), stored);
    // What is written reads back to the same text, with the handler of an
    // event named in it.
    EXPECT_TRUE(events.isEmpty()) << events.join(u' ').toStdString();
    const qsizetype tipo = text.indexOf(QStringLiteral("object BRLTipo: TBRLabel"));
    const qsizetype color = text.indexOf(QStringLiteral("      Color = clWhite\n"), tipo);
    ASSERT_TRUE(tipo > 0 && color > tipo);
    QString withHandler = text;
    withHandler.insert(color + 22, QStringLiteral("      OnPrint = BRLTipoPrint\n"));
    std::unique_ptr<TCustomBandReport> again(read(withHandler));
    EXPECT_EQ(events, QStringList{QStringLiteral("OnPrint=BRLTipoPrint")});
    EXPECT_EQ(BRDefinitionWriter::Write(*again), withHandler);
}

TEST_F(ControlDefinitions, PropertiesOffTheirDefaultsAreWrittenBackToo)
{
    const struct {
        const char* from;
        const char* to;
    } cases[] = {
        {"      Shape = brsHorLine\n", "      Shape = brsRoundRect\n      RoundFactor = 0.1\n"},
        {"      Pen.Style = psDash\n",
         "      Brush.Color = clSilver\n      Brush.Style = bsClear\n      Pen.Color = clRed\n      Pen.Style = psDot\n"
         "      Pen.Width = 3\n"},
        {"      AutoStretch = False\n      Caption = 'BRLTipo'\n",
         "      AutoStretch = True\n      BiDiMode = bdRightToLeft\n      ParentBiDiMode = False\n"
         "      Caption = 'BRLTipo'\n"},
        {"      Alignment = taRightJustify\n", "      Alignment = taCenter\n"},
        {"      Expression = 'DATE'\n", "      Expression = 'PAGENUMBER'\n      Mask = '000'\n"},
        {"      Height = 57\n", "      Height = 57\n      Enabled = False\n"},
    };
    for (const auto& c : cases) {
        QString text = listingText();
        ASSERT_TRUE(text.contains(QString::fromUtf8(c.from))) << c.from;
        text.replace(QString::fromUtf8(c.from), QString::fromUtf8(c.to));
        std::unique_ptr<TCustomBandReport> r(read(text));
        EXPECT_EQ(BRDefinitionWriter::Write(*r), text) << c.to;
    }
}

TEST_F(ControlDefinitions, StoredPointSizeWinsOverTheStoredHeight)
{
    const struct {
        const char* from;
        const char* to;
        int size;
        bool parentFont;
    } cases[] = {
        {"      Font.Height = -16\n", "      Font.Height = -27\n", 12, false},
        {"      FontSize = 12\n", "      FontSize = 8\n", 8, false},
        {"      FontSize = 12\n", "", 12, false},
    };
    for (const auto& c : cases) {
        QString text = listingText();
        text.replace(QString::fromUtf8(c.from), QString::fromUtf8(c.to));
        std::unique_ptr<TCustomBandReport> r(read(text));
        auto* title = find<TBRLabel>(QStringLiteral("BRLabel1"));
        EXPECT_EQ(title->Font().Size(), c.size) << c.to;
        EXPECT_EQ(title->ParentFont(), c.parentFont);
    }
    // A label that follows the report's font keeps following it when the
    // stored size is the report's.
    std::unique_ptr<TCustomBandReport> r(read(listingText()));
    EXPECT_TRUE(find<TBRLabel>(QStringLiteral("BRLabel3"))->ParentFont());
}

TEST_F(ControlDefinitions, BadValuesAreRefusedWithTheirLine)
{
    const struct {
        const char* from;
        const char* to;
        const char* message;
    } cases[] = {
        {"Shape = brsHorLine", "Shape = brsTriangle", "Invalid value for Shape: brsTriangle"},
        {"Pen.Style = psDash", "Pen.Style = 3", "Invalid value for Style: 3"},
        {"Alignment = taRightJustify", "Alignment = taJustify", "Invalid value for Alignment: taJustify"},
        {"DataSet = QryRel\n      DataField", "DataSet = QryNada\n      DataField", "QryNada, which does not exist"},
        {"Expression = 'DATE'", "Expression = DATE", "Invalid value for Expression: DATE"},
        {"WordWrap = True\n      FontSize = 12", "WordWrap = True\n      FontSize = 'doze'", "Invalid value for FontSize"},
    };
    for (const auto& c : cases) {
        QString text = listingText();
        ASSERT_TRUE(text.contains(QString::fromUtf8(c.from))) << c.from;
        text.replace(QString::fromUtf8(c.from), QString::fromUtf8(c.to));
        QString message;
        try {
            delete read(text);
        } catch (const PlatformError& e) {
            message = e.Message();
        }
        EXPECT_TRUE(message.startsWith(QStringLiteral("Definition error on line "))) << message.toStdString();
        EXPECT_TRUE(message.contains(QString::fromUtf8(c.message))) << message.toStdString();
    }
}

TEST_F(ControlDefinitions, TheListingsControlsPrintFromTheDefinition)
{
    data->DefineField(QStringLiteral("TOTALPEDIDO"), TFieldType::ftFloat);
    data->AppendRecord({1234.5});
    data->Open();
    data->First();
    report = static_cast<TBandReport*>(read(listingText()));
    report->Functions()->CompileAll();
    find<TBRLabel>(QStringLiteral("BRLTipo"))->OnPrint = [](TBRCustomLabel*, QString& text) { text = QStringLiteral("TODOS"); };
    QList<TBRPrintable*> all;
    for (TBRCustomBand* b : report->BandList())
        all << b->Printables();
    startPage();
    for (TBRPrintable* p : all)
        p->BeginOutput();
    for (TBRCustomBand* b : report->BandList())
        for (TBRPrintable* p : b->Printables())
            p->PrintAt(100, 100);
    for (TBRPrintable* p : all)
        p->EndOutput();
    report->Functions()->ReleaseAll();
    const RecordedPage page = finishPage();
    // Every label and expression, in band order; the data fields other than
    // the total name fields the data set does not have and print nothing.
    // Outside a run the page number is 0.
    EXPECT_EQ(page.Texts(),
              QStringList({QStringLiteral("Filial"), QStringLiteral("Cód. Cliente"), QStringLiteral("Nome Cliente"), QStringLiteral("Data Pedido"), QStringLiteral("Data Fat."), QStringLiteral("Valor Pedido"), QStringLiteral("TODOS"),
                           QStringLiteral("Tipo de Pedido:"), QStringLiteral("BRLDataIni"), QStringLiteral("a"), QStringLiteral("BRLDataFim"), QStringLiteral("Período:"),
                           QStringLiteral("Listagem de pedidos sem contas a receber"), QStringLiteral("15/03/2026"), QStringLiteral("Página:"), QStringLiteral("0"),
                           QStringLiteral("Orvik Informática"), QStringLiteral("Ferramenta de Listagem de Pedidos"), QStringLiteral("Prazo"), QStringLiteral("Cód. Pedido"),
                           QStringLiteral("1.234,500"),
                           QStringLiteral("Observação: Somente são listados os pedidos que possuem prazo de pagamento \"à prazo\" e "
                           "que o tipo de operação "),
                           QStringLiteral("dos mesmos estejam configurados para gerar contas a receber e não tenham gerado notas "
                           "fiscais que não estejam "),
                           QStringLiteral("canceladas  e pedidos que tenham sido reagrupados .")}));
    EXPECT_EQ(page.lines.size(), 1);
}
