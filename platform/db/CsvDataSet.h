#pragma once
// Loads a small CSV file into an in-memory data set, for trying expressions on
// sample data. The first line names the fields, each optionally typed with a
// suffix (NAME:integer, :float, :string, :boolean, :date; string by default).
// Fields are separated by commas; a field may be quoted with "..." ("" inside
// is one quote). An empty field is null. Floats use '.', dates are yyyy-mm-dd
// or dd/mm/yyyy, booleans true/false/1/0.

#include "TMemDataSet.h"

#include <QString>

// Fills `dataSet` (closed, without field definitions) and opens it. Returns an
// empty text on success, else a message naming the file and line.
QString LoadCsvDataSet(const QString& fileName, TMemDataSet& dataSet);
