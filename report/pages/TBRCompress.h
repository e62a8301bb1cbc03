#pragma once
// Adaptive prefix coder on a semi-splayed code tree: after every byte the path
// to its leaf is halved, so frequent bytes get short codes. Encoder and
// decoder start from the same tree and update it identically, so nothing but
// the bits is stored. Every page is coded with a fresh coder.
//
// The encoder appends to a byte array; the decoder reads from a memory range
// and refuses to read past its end, so damaged data cannot make it run on.

#include <QByteArray>
#include <array>
#include <cstdint>

class TBRCompress {
public:
    // Encoder appending to *output.
    explicit TBRCompress(QByteArray* output);
    // Decoder reading the code in [data, data + size).
    TBRCompress(const char* data, qsizetype size);
    // An encoder writes its last, partly filled byte.
    ~TBRCompress();

    TBRCompress(const TBRCompress&) = delete;
    TBRCompress& operator=(const TBRCompress&) = delete;

    void EncodeByte(quint8 value);
    void EncodeBytes(const char* data, qsizetype size);
    // Throws DamagedStoreError when the code ends before the byte does.
    quint8 DecodeByte();
    // Writes the last partly filled byte now (an encoder does it when freed).
    void Finish();

    // Code bytes consumed by a decoder so far.
    qsizetype BytesRead() const { return m_inputPosition; }

    // Whole-buffer helpers: a fresh tree for each call.
    static QByteArray Encode(const QByteArray& data);
    // Decodes exactly count bytes; *consumed receives the code bytes read.
    static QByteArray Decode(const char* code, qsizetype size, qsizetype count, qsizetype* consumed = nullptr);

private:
    void splay(quint8 value);

    quint8 BitIndex = 0;
    bool m_encoding;
    quint16 CurrentByte = 0;
    std::array<quint16, 256> Left;
    std::array<quint16, 256> Right;
    quint16 PendingByte = 0;
    QByteArray* m_output = nullptr;
    const char* m_input = nullptr;
    qsizetype m_inputSize = 0;
    qsizetype m_inputPosition = 0;
    std::array<quint8, 513> Up;
};
