// Holds a page store that has moved to its temporary file until the process
// is ended: prints "spilled" once the data are in the file, then waits for
// its standard input to close. The tests kill it with signals and look at
// what it left in its temporary directory.
#include "TBRStream.h"

#include <QByteArray>

#include <cstdio>
#include <unistd.h>

int main()
{
    TBRStream store(1000);
    const QByteArray data(5000, 'p');
    store.Write(data.constData(), qint32(data.size()));
    if (store.UsingMemory())
        return 1;
    std::printf("spilled\n");
    std::fflush(stdout);
    char c;
    while (::read(STDIN_FILENO, &c, 1) > 0) {
    }
    return 0;
}
