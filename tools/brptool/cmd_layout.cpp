// brptool layout FILE [--report NAME]: reads a report definition (or the named
// report inside a window's definition), lays it out and prints the band order
// with every band's and printable's place and size in pixels and native units.
#include "BRReportReader.h"
#include "BandRpt.h"
#include "BrpCommand.h"
#include "ClassRegistry.h"
#include "DatabaseClasses.h"

#include <QFile>
#include <QWidget>

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
    RegisterDatabaseClasses();
    for (const DefinitionObject& child : window.children) {
        if (&child == report)
            continue;
        const ClassFactory factory = FindClass(child.className);
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

int runLayout(const QStringList& args)
{
    QString fileName, reportName;
    bool bad = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--report")) {
            if (i + 1 < args.size() && !args[i + 1].isEmpty())
                reportName = args[++i];
            else
                bad = true;
        } else if (args[i].startsWith(QLatin1String("--")) || !fileName.isEmpty()) {
            bad = true;
        } else {
            fileName = args[i];
        }
    }
    if (bad || fileName.isEmpty()) {
        std::fprintf(stderr, "usage: brptool layout FILE [--report NAME]\n");
        return 2;
    }
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "brptool: cannot open \"%s\": %s\n", qPrintable(fileName), qPrintable(file.errorString()));
        return 1;
    }
    try {
        const DefinitionObject tree = ReadDefinition(DefinitionText(file.readAll()));
        const DefinitionObject* def = BRReportReader::FindReport(tree, reportName);
        if (!def) {
            std::fprintf(stderr, "brptool: %s: no report%s%s\n", qPrintable(fileName),
                         reportName.isEmpty() ? "" : " named ", qPrintable(reportName));
            return 1;
        }
        auto root = std::make_unique<TComponent>();
        if (def != &tree) {
            root->SetName(tree.name);
            createSiblings(tree, def, *root);
        }
        TCustomBandReport* report = BRReportReader::Read(*def, def != &tree ? root.get() : nullptr);
        std::unique_ptr<TCustomBandReport> own(def == &tree ? report : nullptr);
        const TBRUnit units = report->Units();
        report->SetUnits(TBRUnit::Native);
        printLine("", report->Name(), QString::fromLatin1(report->metaObject()->className()), report->Bounds(),
                  report->Page()->StoreValues());
        for (TBRCustomBand* band : report->BandList()) {
            printLine("  ", band->Name(), BRBandTypeName(band->BandType()), band->Bounds(), band->Size()->StoreValues());
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

BrpCommandRegistrar reg("layout", "layout FILE [--report NAME]   band order and places of a report definition",
                        runLayout);

} // namespace
