// brptool layout FILE [--report NAME] [--data NAME=FILE.csv]...: reads a report
// definition (or the named report inside a window's definition), lays it out
// and prints the band order with every band's and printable's place and size
// in pixels and native units. A lone report's data sets come at run time: the
// ones given are read as `run` reads them, the others are listed as such.
#include "BRReportReader.h"
#include "BandRpt.h"
#include "BrpCommand.h"
#include "CsvDataSet.h"
#include "ClassRegistry.h"
#include "DatabaseClasses.h"
#include "TMemDataSet.h"

#include <QFile>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

void printLine(const char* indent, const QString& name, const QString& what, const QRect& px,
               const QList<BRNative>& native)
{
    QString nat;
    for (BRNative v : native)
        nat += QString::asprintf(" %.3Lf", v);
    std::printf("%s%-20s %-16s left %d top %d width %d height %d px; native%s\n", indent, qPrintable(name),
                qPrintable(what), px.left(), px.top(), px.width(), px.height(), qPrintable(nat));
}

// The window's other top-level components that a report may name (data
// sets): created bare, without their properties.
void createSiblings(const DefinitionObject& window, const DefinitionObject* report, TComponent& root)
{
    brp::RegisterDatabaseClasses();
    for (const DefinitionObject& child : window.children) {
        if (&child == report)
            continue;
        const ClassFactory factory = brp::FindClass(child.className);
        if (!factory)
            continue;
        QObject* object = factory(&root);
        if (!qobject_cast<TComponent*>(object) || qobject_cast<QWidget*>(object)) {
            delete object;
            continue;
        }
        object->setParent(&root);
        object->setObjectName(child.name);
    }
}

// The objects a definition declares, by name, upper case.
void declaredNames(const DefinitionObject& object, QStringList& names)
{
    names << object.name.toUpper();
    for (const DefinitionObject& child : object.children)
        declaredNames(child, names);
}

// Data sets named by DataSet properties and declared nowhere in the text.
void runTimeDataSets(const DefinitionObject& object, const QStringList& declared, QStringList& names)
{
    for (const DefinitionProperty& p : object.properties) {
        if (p.name.compare(QLatin1String("DataSet"), Qt::CaseInsensitive) != 0 || !p.value ||
            p.value->kind != DefinitionValue::Identifier)
            continue;
        const QString name = p.value->text;
        if (!declared.contains(name.toUpper()) &&
            std::none_of(names.begin(), names.end(), [&](const QString& n) { return n.compare(name, Qt::CaseInsensitive) == 0; }))
            names << name;
    }
    for (const DefinitionObject& child : object.children)
        runTimeDataSets(child, declared, names);
}

int runLayout(const QStringList& args)
{
    QString fileName, reportName;
    QList<QPair<QString, QString>> data;
    bool bad = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--report")) {
            if (i + 1 < args.size() && !args[i + 1].isEmpty())
                reportName = args[++i];
            else
                bad = true;
        } else if (args[i] == QLatin1String("--data")) {
            const QString value = i + 1 < args.size() ? args[++i] : QString();
            const qsizetype eq = value.indexOf(u'=');
            if (eq <= 0 || eq == value.size() - 1)
                bad = true;
            else
                data.append({value.left(eq), value.mid(eq + 1)});
        } else if (args[i].startsWith(QLatin1String("--")) || !fileName.isEmpty()) {
            bad = true;
        } else {
            fileName = args[i];
        }
    }
    if (bad || fileName.isEmpty()) {
        std::fprintf(stderr, "usage: brptool layout FILE [--report NAME] [--data NAME=FILE.csv]...\n");
        return 2;
    }
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "brptool: cannot open \"%s\": %s\n", qPrintable(fileName), qPrintable(file.errorString()));
        return 1;
    }
    try {
        const DefinitionObject tree = brp::ReadDefinition(brp::DefinitionText(file.readAll()));
        const DefinitionObject* def = BRReportReader::FindReport(tree, reportName);
        if (!def) {
            std::fprintf(stderr, "brptool: %s: no report%s%s\n", qPrintable(fileName),
                         reportName.isEmpty() ? "" : " named ", qPrintable(reportName));
            return 1;
        }
        // The report is read into a form holding the data sets it may name.
        auto root = std::make_unique<TComponent>();
        root->SetName(def != &tree ? tree.name : QStringLiteral("Form"));
        QStringList dataSetLines; // printed once the report is read
        if (def != &tree)
            createSiblings(tree, def, *root);
        for (const auto& [name, csv] : data) {
            auto* dataSet = new TMemDataSet(root.get());
            dataSet->SetName(name);
            const QString error = brp::LoadCsvDataSet(csv, *dataSet);
            if (!error.isEmpty()) {
                std::fprintf(stderr, "brptool: %s\n", qPrintable(error));
                return 1;
            }
            dataSetLines << QString::asprintf("data set %-11s from %s, %d rows", qPrintable(name), qPrintable(csv),
                                              dataSet->RecordCount());
        }
        if (def == &tree) {
            // A lone report gets its data sets when it runs: those not given
            // are empty stand-ins here.
            QStringList declared, runTime;
            declaredNames(tree, declared);
            for (const auto& d : data)
                declared << d.first.toUpper();
            runTimeDataSets(tree, declared, runTime);
            for (const QString& name : runTime) {
                auto* dataSet = new TMemDataSet(root.get());
                dataSet->SetName(name);
                dataSetLines << QString::asprintf("data set %-11s supplied at run time", qPrintable(name));
            }
        }
        TCustomBandReport* report = BRReportReader::Read(*def, root.get());
        for (const QString& line : std::as_const(dataSetLines))
            std::printf("%s\n", qPrintable(line));
        const TBRUnit units = report->Units();
        report->SetUnits(TBRUnit::Native);
        printLine("", report->Name(), QString::fromLatin1(report->metaObject()->className()), report->Bounds(),
                  report->Page()->StoreValues());
        for (TBRCustomBand* band : report->BandList()) {
            printLine("  ", band->Name(), brp::BandTypeName(band->BandType()), band->Bounds(), band->Size()->StoreValues());
            for (TBRPrintable* p : band->Printables())
                printLine("    ", p->Name(), QString::fromLatin1(p->metaObject()->className()), p->Bounds(),
                          p->Size()->StoreValues());
        }
        for (TBRPrintable* p : report->Printables())
            printLine("  ", p->Name(), QString::fromLatin1(p->metaObject()->className()), p->Bounds(),
                      p->Size()->StoreValues());
        report->SetUnits(units);
    } catch (const PlatformError& e) {
        std::fprintf(stderr, "brptool: %s: %s\n", qPrintable(fileName), qPrintable(e.Message()));
        return 1;
    }
    return 0;
}

BrpCommandRegistrar reg("layout",
                        "layout FILE [--report NAME] [--data NAME=FILE.csv]...   band order and places of a report definition",
                        runLayout);

} // namespace
