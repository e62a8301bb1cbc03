#pragma once
// Small enhanced metafiles for page store tests: a valid header, comment
// records carrying text that looks like a listing line, and the end record.

#include <QByteArray>
#include <QtEndian>
#include <random>

namespace emfsample {

inline void put32(QByteArray& b, quint32 v)
{
    char c[4];
    qToLittleEndian<quint32>(v, c);
    b.append(c, 4);
}

// A page of roughly payloadBytes bytes; seed varies the text.
inline QByteArray page(int payloadBytes, unsigned seed = 1)
{
    QByteArray records;
    std::mt19937 rng(seed);
    int records_n = 0;
    while (records.size() < payloadBytes) {
        QByteArray text = QByteArray::number(int(rng() % 100000)) + " Cliente " +
                          QByteArray::number(int(rng() % 997)) + " 12/03/2024 " +
                          QByteArray::number(double(rng() % 1000000) / 100, 'f', 2);
        while (text.size() % 4)
            text.append(' ');
        put32(records, 70); // comment record
        put32(records, quint32(12 + text.size()));
        put32(records, quint32(text.size()));
        records += text;
        ++records_n;
    }
    QByteArray emf;
    put32(emf, 1);   // header record
    put32(emf, 108); // its size
    for (int v : {0, 0, 793, 1122, 0, 0, 21000, 29700})
        put32(emf, quint32(v));
    put32(emf, 0x464D4520); // signature
    put32(emf, 0x10000);    // version
    const int total = 108 + records.size() + 20;
    put32(emf, quint32(total));
    put32(emf, quint32(records_n + 2));
    put32(emf, 1); // handles, reserved
    for (int v : {0, 0, 0, 1024, 768, 320, 240, 0, 0, 0, 320000, 240000})
        put32(emf, quint32(v));
    emf += records;
    for (int v : {14, 20, 0, 16, 20}) // end record
        put32(emf, quint32(v));
    return emf;
}

} // namespace emfsample
