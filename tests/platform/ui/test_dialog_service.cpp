// The dialog service: platform filters become Qt's, and the recording double
// answers in turn and puts the previous service back.
#include "RecordingDialogService.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {

TEST(DialogService, PlatformFiltersAsQtFilters)
{
    struct Case {
        QString filter;
        QStringList expected;
    };
    const Case cases[] = {
        {QStringLiteral("Report file(*.BRP)|*.BRP"), {QStringLiteral("Report file (*.BRP *.brp)")}},
        {QStringLiteral("Report file (*.BRP)|*.BRP"), {QStringLiteral("Report file (*.BRP *.brp)")}},
        {QStringLiteral("Report file(*.BRP)|*.BRP|Text (*.txt)|*.txt"), {QStringLiteral("Report file (*.BRP *.brp)"), QStringLiteral("Text (*.txt)")}},
        {QStringLiteral("Pictures|*.png;*.EMF"), {QStringLiteral("Pictures (*.png *.EMF *.emf)")}},
        {QStringLiteral("dangling"), {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DialogService::QtFilters(c.filter), c.expected) << c.filter.toStdString();
}

TEST(DialogService, RecorderAnswersInTurn)
{
    DialogService* before = &DialogService::Instance();
    {
        RecordingDialogService rec;
        EXPECT_EQ(&DialogService::Instance(), &rec);
        rec.QueueAnswer(QStringLiteral("7"));
        rec.QueueCancel();
        rec.QueueAnswer(QStringLiteral("/tmp/a.BRP"), 2);
        QString value = QStringLiteral("1");
        EXPECT_TRUE(DialogService::Instance().InputQuery(QStringLiteral("Caption"), QStringLiteral("Prompt"), value));
        EXPECT_EQ(value, QStringLiteral("7"));
        EXPECT_FALSE(DialogService::Instance().InputQuery(QStringLiteral("Caption"), QStringLiteral("Prompt"), value));
        EXPECT_EQ(value, QStringLiteral("7"));
        QString name;
        int index = 1;
        EXPECT_TRUE(DialogService::Instance().SaveFileName(QStringLiteral("Save"), QStringLiteral("A|*.a|B|*.b"), QStringLiteral("a"), name, index));
        EXPECT_EQ(name, QStringLiteral("/tmp/a.BRP"));
        EXPECT_EQ(index, 2);
        EXPECT_FALSE(DialogService::Instance().OpenFileName(QStringLiteral("Open"), QStringLiteral("A|*.a"), QStringLiteral(""), name, index)); // none queued
        ASSERT_EQ(rec.Requests().size(), 4);
        EXPECT_EQ(rec.Requests()[0].prompt, QStringLiteral("Prompt"));
        EXPECT_EQ(rec.Requests()[1].value, QStringLiteral("7"));
        EXPECT_EQ(rec.Requests()[2].kind, RecordingDialogService::Kind::Save);
        EXPECT_EQ(rec.Requests()[2].defaultExt, QStringLiteral("a"));
        EXPECT_EQ(rec.Requests()[3].kind, RecordingDialogService::Kind::Open);
    }
    EXPECT_EQ(&DialogService::Instance(), before);
}

TEST(DialogService, ATypedNameTakesTheChosenTypesExtension)
{
    const QString filter = QStringLiteral("Report file(*.BRP)|*.BRP|PDF document (*.pdf)|*.pdf|Pictures|*.png;*.jpg|"
                                          "Anything|*.*|Odd|*.[ab]");
    struct Case {
        int index;
        const char* expected;
    } cases[] = {{1, "BRP"}, {2, "pdf"}, {3, "BRP"}, {4, "BRP"}, {5, "BRP"}, {0, "BRP"}, {9, "BRP"}};
    for (const Case& c : cases)
        EXPECT_EQ(DialogService::ExtensionFor(filter, c.index, QStringLiteral("BRP")), QString::fromLatin1(c.expected))
            << c.index;
}

// The real save dialog, answered as the operator does: a type chosen in its
// list, a name typed without extension, Enter.
TEST(DialogService, TheSaveDialogNamesTheFileByTheTypeChosen)
{
    QTemporaryDir dir;
    const QString filter = QStringLiteral("Report file(*.BRP)|*.BRP|PDF document (*.pdf)|*.pdf|Plain text (*.txt)|*.txt");
    struct Case {
        int typesDown; // Down presses in the type list
        const char* typed;
        const char* expected;
        int index;
    } cases[] = {
        {1, "relpdf3", "relpdf3.pdf", 2},
        {2, "relatorio", "relatorio.txt", 3},
        {0, "relatorio", "relatorio.BRP", 1},
        {1, "mesmo.BRP", "mesmo.BRP", 2}, // an extension typed stays
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        bool answered = false;
        QTimer operador;
        operador.setInterval(10);
        QObject::connect(&operador, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog || answered)
                return;
            answered = true;
            auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_TRUE(types && name);
            for (int i = 0; i < c.typesDown; ++i)
                QTest::keyClick(types, Qt::Key_Down);
            name->clear();
            QTest::keyClicks(name, QString::fromLatin1(c.typed));
            QTest::keyClick(name, Qt::Key_Return);
        });
        operador.start();
        QtDialogService service;
        QString fileName = dir.filePath(QStringLiteral("inicial"));
        int index = 1;
        ASSERT_TRUE(service.SaveFileName(QStringLiteral("Save report"), filter, QStringLiteral("BRP"), fileName, index));
        EXPECT_EQ(fileName, dir.filePath(QString::fromLatin1(c.expected)));
        EXPECT_EQ(index, c.index);
    }
}

} // namespace
