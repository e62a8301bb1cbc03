#include "TBRCompress.h"
#include "PageStoreError.h"

namespace {
constexpr int Root = 0;
constexpr int FirstLeaf = 256;
}

TBRCompress::TBRCompress(QByteArray* output) : BitIndex(0), m_encoding(true), m_output(output)
{
    Up[0] = 0;
    for (int i = 1; i <= 512; ++i)
        Up[i] = quint8((i - 1) / 2);
    for (int j = 0; j < 256; ++j) {
        Left[j] = quint16(2 * j + 1);
        Right[j] = quint16(2 * j + 2);
    }
}

TBRCompress::TBRCompress(const char* data, qsizetype size) : TBRCompress(nullptr)
{
    m_encoding = false;
    BitIndex = 7;
    m_input = data;
    m_inputSize = size;
}

TBRCompress::~TBRCompress()
{
    Finish();
}

void TBRCompress::Finish()
{
    if (m_encoding && BitIndex != 0) {
        m_output->append(char(PendingByte & 0xFF));
        BitIndex = 0;
        PendingByte = 0;
    }
}

void TBRCompress::splay(quint8 value)
{
    int a = value + FirstLeaf;
    while (a != Root) {
        const int c = Up[a];
        if (c == Root) {
            a = Root;
        } else {
            // a and its parent's sibling swap places; continue two levels up.
            const int d = Up[c];
            int b = Left[d];
            if (c == b) {
                b = Right[d];
                Right[d] = quint16(a);
            } else {
                Left[d] = quint16(a);
            }
            if (a == Left[c])
                Left[c] = quint16(b);
            else
                Right[c] = quint16(b);
            Up[a] = quint8(d);
            Up[b] = quint8(c);
            a = d;
        }
    }
}

void TBRCompress::EncodeByte(quint8 value)
{
    // The path is noted leaf to root and emitted root to leaf. A leaf is at
    // most 256 levels deep (every inner node lies on a path only once).
    quint8 path[FirstLeaf + 1];
    int depth = 0;
    int node = value + FirstLeaf;
    while (node != Root) {
        const int parent = Up[node];
        path[depth++] = Right[parent] == node;
        node = parent;
    }
    // Bit state in locals: the output append could otherwise force a reload per bit.
    unsigned bitIndex = BitIndex;
    unsigned pending = PendingByte;
    while (depth > 0) {
        pending |= unsigned(path[--depth]) << bitIndex;
        if (bitIndex == 7) {
            m_output->append(char(pending & 0xFF));
            bitIndex = 0;
            pending = 0;
        } else {
            ++bitIndex;
        }
    }
    BitIndex = quint8(bitIndex);
    PendingByte = quint16(pending);
    splay(value);
}

void TBRCompress::EncodeBytes(const char* data, qsizetype size)
{
    for (qsizetype i = 0; i < size; ++i)
        EncodeByte(quint8(data[i]));
}

quint8 TBRCompress::DecodeByte()
{
    int node = Root;
    unsigned bitIndex = BitIndex;
    unsigned current = CurrentByte;
    while (node < FirstLeaf) {
        if (bitIndex == 7) {
            if (m_inputPosition >= m_inputSize)
                throw DamagedStoreError(QStringLiteral("Compressed page data end before the page does"));
            current = quint8(m_input[m_inputPosition++]);
            bitIndex = 0;
        } else {
            ++bitIndex;
        }
        node = (current >> bitIndex) & 1 ? Right[node] : Left[node];
    }
    BitIndex = quint8(bitIndex);
    CurrentByte = quint16(current);
    if (node > FirstLeaf + 255)
        throw DamagedStoreError(QStringLiteral("Compressed page data hold an invalid code"));
    const quint8 value = quint8(node - FirstLeaf);
    splay(value);
    return value;
}

QByteArray TBRCompress::Encode(const QByteArray& data)
{
    QByteArray out;
    out.reserve(data.size() / 2 + 16);
    {
        TBRCompress coder(&out);
        coder.EncodeBytes(data.constData(), data.size());
    }
    return out;
}

QByteArray TBRCompress::Decode(const char* code, qsizetype size, qsizetype count, qsizetype* consumed)
{
    QByteArray out(count, Qt::Uninitialized);
    TBRCompress coder(code, size);
    char* dst = out.data();
    for (qsizetype i = 0; i < count; ++i)
        dst[i] = char(coder.DecodeByte());
    if (consumed)
        *consumed = coder.BytesRead();
    return out;
}
