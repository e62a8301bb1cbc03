// Prepares the embedded engine's environment as a program does at its first
// connection and prints the lock folder it settled on. The choice is made
// once a process, so each environment the tests try needs a process of its own.
#include "FirebirdEnvironment.h"

#include <QByteArray>

#include <cstdio>

int main()
{
    FirebirdEnvironment::prepare();
    std::printf("%s\n", qgetenv("FIREBIRD_LOCK").constData());
    return 0;
}
