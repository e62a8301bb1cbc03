#pragma once
// One registered function: what editing tools show and how the compiler makes
// its element.

#include <QString>
#include <functional>
#include <memory>

class TBREvElementFunction;

struct TBRLibraryEntry {
    QString HelpText;       // call template, '|', one-line description
    QString ArgumentCode;   // category digit, then one letter per argument (B, N, S, V)
    std::function<std::unique_ptr<TBREvElementFunction>()> ElementClass;
    QString FunctionName;   // upper case
    QString Author;
};
