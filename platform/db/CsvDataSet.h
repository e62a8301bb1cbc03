#pragma once
// Loads a CSV file into an in-memory data set, for running reports and trying
// expressions on data without a database. The first line names the fields,
// each optionally typed with a suffix (NAME:integer, :float, :string,
// :boolean, :date; string by default). Fields are separated by commas; a
// field may be quoted with "..." ("" inside is one quote). An empty field is
// null. Floats use '.' and must be finite, dates are yyyy-mm-dd or
// dd/mm/yyyy from year 1 on, booleans true/false/1/0.
//
// The file is read a block at a time and its values are held compactly
// (CompactRowStore), so loading takes about the file's size in memory.

#include "TMemDataSet.h"

#include <QString>
#include <functional>

// Told, now and then while reading, how many of the file's bytes are read
// and its size (0 when unknown, as for a pipe).
using CsvLoadProgress = std::function<void(qint64 bytesRead, qint64 bytesTotal)>;

namespace brp {

// Fills `dataSet` (closed, without field definitions) and opens it. Returns an
// empty text on success, else a message naming the file and line; the data
// set is then left as it was. Running out of memory throws std::bad_alloc,
// also leaving the data set as it was.
QString LoadCsvDataSet(const QString& fileName, TMemDataSet& dataSet, const CsvLoadProgress& progress = {});

} // namespace brp
