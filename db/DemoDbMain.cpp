// pedidos-demo-db PATH [--orders N] [--no-indexes] [--seed S] [--print-schema]
// Creates the demo database file PATH (which must not exist) with the embedded
// engine: schema, deterministic data and the listing's indexes.
#include "DemoDatabase.h"
#include "PlatformError.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>
#include <cstdio>

namespace {
int usage()
{
    std::fprintf(stderr,
                 "usage: pedidos-demo-db PATH [--orders N] [--no-indexes] [--seed S] [--print-schema]\n"
                 "  --orders N   orders to make, 1 to %d (default 2000)\n",
                 DemoDatabase::MaxOrders);
    return 2;
}
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    DemoDatabase::Options options;
    QString path;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        bool ok = true;
        if (a == QStringLiteral("--orders") && i + 1 < args.size())
            options.orders = args[++i].toInt(&ok);
        else if (a == QStringLiteral("--seed") && i + 1 < args.size())
            options.seed = args[++i].toUInt(&ok);
        else if (a == QStringLiteral("--no-indexes"))
            options.indexes = false;
        else if (a == QStringLiteral("--print-schema")) {
            for (const QString& s : DemoDatabase::SchemaStatements() + DemoDatabase::IndexStatements())
                std::printf("%s;\n", s.toUtf8().constData());
            return 0;
        } else if (!a.startsWith(QStringLiteral("--")) && path.isEmpty())
            path = a;
        else
            ok = false;
        if (!ok || options.orders < 1 || options.orders > DemoDatabase::MaxOrders)
            return usage();
    }
    if (path.isEmpty())
        return usage();
    if (QFileInfo::exists(path)) {
        std::fprintf(stderr, "pedidos-demo-db: %s already exists\n", path.toLocal8Bit().constData());
        return 1;
    }
    try {
        DemoDatabase::Create(QFileInfo(path).absoluteFilePath(), options);
    } catch (const PlatformError& e) {
        std::fprintf(stderr, "pedidos-demo-db: %s\n", e.Message().toLocal8Bit().constData());
        return 1;
    }
    std::printf("%s: %d orders\n", path.toLocal8Bit().constData(), options.orders);
    return 0;
}
