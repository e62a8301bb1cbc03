// libFuzzer target for the saved-report loader: the input is a .BRP file; it
// is opened as a page store and every page is fetched, in order and then
// around the chain, then its text is indexed and searched. Damaged input may
// only raise PlatformError.
#include "PageStoreError.h"
#include "TBRPageList.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdint>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // One scratch file per process, removed when the fuzzer exits.
    static const struct Scratch {
        QString name = QDir::tempPath() + QStringLiteral("/fuzz_brp_loader_%1.BRP").arg(::getpid());
        ~Scratch() { QFile::remove(name); }
    } scratch;
    const QString& name = scratch.name;
    {
        QFile f(name);
        if (!f.open(QIODevice::WriteOnly))
            return 0;
        f.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    TBRPageList list;
    try {
        list.OpenFile(name);
    } catch (const PlatformError&) {
        return 0;
    }
    const qint32 count = list.Count();
    auto fetch = [&](qint32 n) {
        try {
            list.FetchPage(n);
        } catch (const PlatformError&) {
        }
    };
    for (qint32 n = 1; n <= count; ++n)
        fetch(n);
    for (qint32 n : {count, count / 2, 1, count - 1, count / 3, 2})
        fetch(n);
    try {
        for (const PageTextIndex::Hit& hit : list.TextIndex().Search(QStringLiteral("a")))
            list.TextIndex().RunRect(hit.Page, hit.Run);
    } catch (const PlatformError&) {
    }
    return 0;
}
