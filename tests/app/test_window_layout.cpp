// The window as designed: controls, captions, places, tab order and the
// stored settings of its components.
#include "ButtonPictures.h"
#include "DefinitionReader.h"
#include "FormBuilder.h"
#include "PrincipalFixture.h"
#include "TDatabase.h"
#include "TQuery.h"
#include "TSQLConnection.h"
#include "TSQLQuery.h"

#include <QBitmap>
#include <QFile>

namespace {

using LayoutTest = PrincipalTest;

TEST_F(LayoutTest, ControlsCaptionsAndPlaces)
{
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Listagem de Pedidos sem Contas a Receber"));
    EXPECT_EQ(w->size(), QSize(395, 147));
    EXPECT_EQ(w->minimumSize(), w->maximumSize()); // not resizable
    EXPECT_FALSE(w->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(w->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_EQ(w->font().pixelSize(), 11);
    EXPECT_EQ(QFontInfo(w->font()).family(), QStringLiteral("Liberation Sans"));

    const struct {
        QWidget* control;
        QWidget* parent;
        QRect rect;
        QString caption;
    } controls[] = {
        {w->Label3, w, {12, 20, 115, 13}, QStringLiteral("Período de Faturamento")},
        {w->DataIni, w, {137, 18, 65, 21}, QString()},
        {w->Label6, w, {211, 23, 6, 13}, QStringLiteral("a")},
        {w->DataFim, w, {225, 18, 65, 21}, QString()},
        {w->gbTipoPedido, w, {51, 47, 278, 36}, QStringLiteral("Tipo Pedido")},
        {w->P51, w->gbTipoPedido, {19, 15, 63, 13}, QStringLiteral("51 - NF")},
        {w->P55, w->gbTipoPedido, {99, 14, 74, 13}, QStringLiteral("55 - PDV")},
        {w->P56, w->gbTipoPedido, {187, 14, 78, 13}, QStringLiteral("56 - ECF")},
        {w->BtImp, w, {109, 101, 90, 25}, QStringLiteral("&Imprimir")},
        {w->BtNovoRel, w, {201, 101, 90, 25}, QStringLiteral("&Limpar")},
        {w->BtSair, w, {293, 101, 90, 25}, QStringLiteral("&Sair")},
        {w->BarraStatus, w, {0, 128, 395, 19}, QString()},
    };
    for (const auto& c : controls) {
        SCOPED_TRACE(c.control->objectName().toStdString());
        EXPECT_EQ(c.control->parentWidget(), c.parent);
        if (qobject_cast<QLabel*>(c.control)) {
            // labels grow to their text, without reaching the next control
            EXPECT_EQ(c.control->geometry().topLeft(), c.rect.topLeft());
            EXPECT_EQ(c.control->height(), c.rect.height());
            EXPECT_GE(c.control->width(), c.rect.width());
            EXPECT_LE(c.control->geometry().right(), c.rect.right() + 9);
        } else {
            EXPECT_EQ(c.control->geometry(), c.rect);
        }
        QString caption;
        if (auto* l = qobject_cast<QLabel*>(c.control))
            caption = l->text();
        else if (auto* b = qobject_cast<QAbstractButton*>(c.control))
            caption = b->text();
        else if (auto* g = qobject_cast<QGroupBox*>(c.control))
            caption = g->title();
        EXPECT_EQ(caption, c.caption);
    }
    for (QCheckBox* cb : {w->P51, w->P55, w->P56})
        EXPECT_FALSE(cb->isChecked());
    for (TMaskEdit* e : {w->DataIni, w->DataFim}) {
        EXPECT_EQ(e->Text(), QStringLiteral("  /  /    "));
        EXPECT_EQ(e->EditMask(), QStringLiteral("!99/99/9999;1;_"));
    }
    EXPECT_EQ(w->BarraStatus->PanelCount(), 1);
    EXPECT_EQ(w->BarraStatus->PanelWidth(0), 50);
    EXPECT_EQ(w->BarraStatus->PanelText(0), QString());
    EXPECT_EQ(w->UltimaTecla, 0);
    EXPECT_EQ(focado(), w->DataIni);
}

// The one status panel keeps its stored 50 pixels but runs on to the bar's
// right edge, so the query's progress text can be read. BRP_SCREENSHOT names
// a PNG to save the window to.
TEST_F(LayoutTest, StatusTextHasTheRoomUpToTheRightEdge)
{
    const QString texto = QStringLiteral("Buscando pedidos. Isto poderá levar alguns instantes...");
    w->BarraStatus->SetPanelText(0, texto);
    QApplication::processEvents();
    const QRect painel = w->BarraStatus->PanelGeometry(0);
    EXPECT_EQ(w->BarraStatus->PanelWidth(0), 50);
    EXPECT_GE(painel.right(), w->BarraStatus->width() - 4);
    EXPECT_GE(painel.width(), w->BarraStatus->fontMetrics().horizontalAdvance(texto));
    if (const QByteArray arquivo = qgetenv("BRP_SCREENSHOT"); !arquivo.isEmpty()) {
        EXPECT_TRUE(w->grab().save(QString::fromLocal8Bit(arquivo)));
    }
}

TEST_F(LayoutTest, TabOrderRunsThroughEveryEntryAndWraps)
{
    QList<QWidget*> order;
    for (int i = 0; i < 9; ++i) {
        order << focado();
        QTest::keyClick(focado(), Qt::Key_Tab);
    }
    const QList<QWidget*> expected = {w->DataIni, w->DataFim, w->P51, w->P55, w->P56,
                                      w->BtImp, w->BtNovoRel, w->BtSair, w->DataIni};
    EXPECT_EQ(order, expected);
    EXPECT_EQ(w->UltimaTecla, 0); // Tab belongs to the platform
}

TEST_F(LayoutTest, ButtonPicturesAreSixteenPixelsWithGreyedVersionAndTransparency)
{
    for (QPushButton* bt : {w->BtImp, w->BtNovoRel, w->BtSair}) {
        SCOPED_TRACE(bt->objectName().toStdString());
        const QPixmap normal = ButtonPictures::Normal(bt->icon());
        const QPixmap greyed = ButtonPictures::Acinzentada(bt->icon());
        EXPECT_EQ(normal.size(), QSize(16, 16));
        EXPECT_EQ(greyed.size(), QSize(16, 16));
        EXPECT_NE(normal.toImage(), greyed.toImage());
        const QImage img = normal.toImage().convertToFormat(QImage::Format_ARGB32);
        EXPECT_EQ(qAlpha(img.pixel(0, 15)), 0); // magenta corner is see-through
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                EXPECT_NE(img.pixel(x, y) & 0xFFFFFF, 0xFF00FFu) << x << "," << y;
    }
}

TEST_F(LayoutTest, PFRelStoredSettings)
{
    TPrintFast* pf = w->PFRel;
    ASSERT_NE(pf, nullptr);
    EXPECT_EQ(pf->Name(), QStringLiteral("PFRel"));
    EXPECT_EQ(pf->Owner(), nullptr); // owned by the window, which is no component
    EXPECT_EQ(pf->parent(), w);
    EXPECT_EQ(pf->PageNumber(), 0);
    EXPECT_EQ(pf->LineNumber(), 0);
    EXPECT_EQ(pf->PrinterName(), TPrintFast::pfEpson9pinos);
    EXPECT_EQ(pf->HeaderData()->FirstPage(), 1);
    EXPECT_EQ(pf->QtLines(), 60);
    EXPECT_EQ(pf->PageWidth(), 80);
    EXPECT_FALSE(pf->Windows()->PrintForWindows());
    EXPECT_EQ(pf->Windows()->Font().family(), QStringLiteral("Courier New"));
    EXPECT_EQ(pf->Windows()->Font().pixelSize(), 11);
    EXPECT_EQ(pf->Windows()->LineSpace(), 20);
    EXPECT_EQ(pf->Windows()->Orientation(), TPrintWin::poPortrait);
    EXPECT_FALSE(pf->PrinterTermic());
    EXPECT_FALSE(pf->Paisagem());
    EXPECT_EQ(pf->Zoom(), 0);
}

const QStringList kCnKavranoParams = {
    QStringLiteral("DriverName=Informix"), QStringLiteral("HostName=ServerName"), QStringLiteral("DataBase="), QStringLiteral("User_Name=user"), QStringLiteral("Password=password"), QStringLiteral("BlobSize=-1"),
    QStringLiteral("ErrorResourceFile="), QStringLiteral("LocaleCode=0000"), QStringLiteral("Informix TransIsolation=ReadCommited"), QStringLiteral("Trim Char=False")};

TEST_F(LayoutTest, DatabaseComponentsComeFromTheDefinition)
{
    const struct {
        QObject* member;
        const char* name;
        const char* className;
    } components[] = {
        {w->CnKavrano, "CnKavrano", "TSQLConnection"}, {w->DbKavrano, "DbKavrano", "TDatabase"},
        {w->QryRel, "QryRel", "TSQLQuery"},            {w->RelatorP, "RelatorP", "TQuery"},
        {w->RlPadrao, "RlPadrao", "TQuery"},
    };
    for (const auto& c : components) {
        ASSERT_NE(c.member, nullptr) << c.name;
        EXPECT_EQ(c.member->objectName(), QString::fromLatin1(c.name));
        EXPECT_STREQ(c.member->metaObject()->className(), c.className);
        EXPECT_EQ(c.member->parent(), w);
        EXPECT_EQ(w->findChildren<QObject*>(QString::fromLatin1(c.name)).size(), 1) << c.name;
    }

    // Start-up has already run here (without a database): it took the
    // "DataBase" line out and set the alias database's location.
    TSQLConnection* cn = w->CnKavrano;
    EXPECT_EQ(cn->ConnectionName(), QStringLiteral("InformixConnection"));
    EXPECT_EQ(cn->DriverName(), QStringLiteral("Interbase"));
    EXPECT_EQ(cn->GetDriverFunc(), QStringLiteral("getSQLDriverINTERBASE"));
    EXPECT_EQ(cn->LibraryName(), QStringLiteral("dbexpint.dll"));
    EXPECT_EQ(cn->VendorLib(), QStringLiteral("gds32.dll"));
    EXPECT_FALSE(cn->LoginPrompt());
    QStringList semBanco = kCnKavranoParams;
    semBanco.removeAll(QStringLiteral("DataBase="));
    EXPECT_EQ(cn->Params().Lines(), semBanco);

    TDatabase* db = w->DbKavrano;
    EXPECT_EQ(db->AliasName(), QStringLiteral("Kavrano"));
    EXPECT_EQ(db->DatabaseName(), QStringLiteral("DbKavrano"));
    EXPECT_EQ(db->SessionName(), QStringLiteral("Default"));
    EXPECT_FALSE(db->LoginPrompt());
    EXPECT_EQ(db->Params().Value(QStringLiteral("USER NAME")), QStringLiteral("SYSDBA"));
    EXPECT_FALSE(db->Params().Value(QStringLiteral("PASSWORD")).isEmpty());
    EXPECT_EQ(TDatabase::FindDatabase(QStringLiteral("dbkavrano")), db);

    EXPECT_TRUE(w->QryRel->SQL().Lines().isEmpty());
    EXPECT_EQ(w->QryRel->ParamCount(), 0);

    TQuery* rp = w->RelatorP;
    EXPECT_EQ(rp->DatabaseName(), QStringLiteral("dbKavrano"));
    EXPECT_EQ(rp->SQL().Lines(), (QStringList{QStringLiteral("select *"), QStringLiteral("from RelatorP"), QStringLiteral("where"), QStringLiteral("    Sistema = :Sistema and"),
                                              QStringLiteral("    OpcaoMenu = :OpcaoMenu and"), QStringLiteral("    ConfigLocal = :ConfigLocal")}));
    EXPECT_TRUE(rp->CachedUpdates());
    ASSERT_EQ(rp->ParamCount(), 3);
    const char* nomes[] = {"Sistema", "OpcaoMenu", "ConfigLocal"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(rp->Params().Items(i)->Name(), QString::fromLatin1(nomes[i]));
        EXPECT_EQ(rp->Params().Items(i)->DataType(), TFieldType::ftString) << nomes[i];
        EXPECT_TRUE(rp->Params().Items(i)->IsNull()) << nomes[i];
    }

    TQuery* rl = w->RlPadrao;
    EXPECT_EQ(rl->DatabaseName(), QStringLiteral("DbKavrano"));
    EXPECT_EQ(rl->SQL().Lines(), QStringList{QStringLiteral("Select * from RlPadrao")});
    EXPECT_FALSE(rl->CachedUpdates());
    EXPECT_EQ(rl->ParamCount(), 0);
}

TEST_F(LayoutTest, ConnectionParametersAsStoredInTheDefinition)
{
    // The definition alone, built on a bare widget: no start-up touches it.
    QFile arquivo(QStringLiteral(":/UPrincipal.def"));
    ASSERT_TRUE(arquivo.open(QIODevice::ReadOnly));
    QWidget form;
    FormBuilderHooks hooks;
    hooks.bindEvent = [](QObject*, const QString&, const QString&) {};
    hooks.picture = [](const QString&) { return QIcon(); };
    hooks.buildObject = [](QObject*, const DefinitionObject& o) { return o.className == QLatin1String("TBandReport"); };
    FormBuilder::Build(&form, brp::ReadDefinition(QString::fromUtf8(arquivo.readAll())), hooks);
    auto* cn = form.findChild<TSQLConnection*>(QStringLiteral("CnKavrano"));
    auto* db = form.findChild<TDatabase*>(QStringLiteral("DbKavrano"));
    ASSERT_TRUE(cn && db);
    EXPECT_EQ(cn->Params().Lines(), kCnKavranoParams);
    ASSERT_EQ(db->Params().Count(), 2);
    EXPECT_EQ(db->Params().Name(0), QStringLiteral("USER NAME"));
    EXPECT_EQ(db->Params().Name(1), QStringLiteral("PASSWORD"));
    EXPECT_EQ(db->Params().Value(QStringLiteral("SERVER NAME")), QString()); // set by start-up only
}

} // namespace
