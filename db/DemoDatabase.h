#pragma once
// The demo database: schema (SQL dialect 1, character set WIN1252) of every
// table the listing and start-up read, the indexes an installation wants for
// the listing, and a deterministic generator of realistic data.

#include <QString>
#include <QStringList>

class FbConnection;

namespace DemoDatabase {

QStringList SchemaStatements();
QStringList IndexStatements();

// More orders would take hours to generate.
constexpr int MaxOrders = 10'000'000;

struct Options {
    int orders = 2000;       // number of orders, 1 to MaxOrders; documents and notes follow
    bool indexes = true;     // create the listing's indexes
    unsigned seed = 20130101;
    bool forcedWrites = true; // off: filled much faster, for files made again at will (tests, benchmarks)
};

// Creates the database file (which must not exist) with schema, data and,
// unless told otherwise, the indexes. Raises DatabaseError on failure.
void Create(const QString& path, const Options& options);

// Fills an empty schema on an open connection.
void CreateSchema(FbConnection& db);
void CreateIndexes(FbConnection& db);
void Generate(FbConnection& db, const Options& options);

}
