#pragma once
// Adaptive prefix coder on a semi-splayed code tree: after every byte the path
// to its leaf is halved, so frequent bytes get short codes. Encoder and
// decoder start from the same tree and update it identically, so nothing but
// the bits is stored. Every page is coded with a fresh coder.
//
// The encoder appends to a byte array; the decoder reads from a memory range
// and refuses to read past its end, so damaged data cannot make it run on.
//
// Codes go out least significant bit first, root to leaf. Both directions keep
// their bits in a 64-bit word and walk the tree without data-dependent
// branches, which is where a bit-at-a-time coder spends its time.

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

    // Decodes count bytes into dst; throws like DecodeByte.
    void DecodeBytes(char* dst, qsizetype count);

    // Code bytes consumed by a decoder so far (a byte counts once any of its
    // bits was used).
    qsizetype BytesRead() const { return m_inputPosition - m_bitCount / 8; }

    // Whole-buffer helpers: a fresh tree for each call.
    static QByteArray Encode(const QByteArray& data);
    // Decodes exactly count bytes; *consumed receives the code bytes read.
    static QByteArray Decode(const char* code, qsizetype size, qsizetype count, qsizetype* consumed = nullptr);

private:
    void SplayPath(const quint16* up, const quint8* side, int depth);
    void Refill();
    // Appends the code of one byte to the bit word; flushes whole bytes to out.
    char* EncodeInto(quint8 value, char* out);

    bool m_encoding;
    // Children of the 256 inner nodes (0 = left, 1 = right); nodes 256..511 are
    // the leaves of the byte values.
    quint16 Child[256][2];
    // Parent of every node; the root's is itself.
    std::array<quint8, 513> Up;
    // Encoder: bits not yet written (fewer than 8 between calls).
    // Decoder: bits read ahead of the input and not yet used.
    quint64 m_bits = 0;
    unsigned m_bitCount = 0;
    QByteArray* m_output = nullptr;
    const char* m_input = nullptr;
    qsizetype m_inputSize = 0;
    qsizetype m_inputPosition = 0;
};
