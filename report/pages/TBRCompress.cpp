#include "TBRCompress.h"
#include "PageStoreError.h"

#include <QtEndian>
#include <cstring>

namespace {
constexpr unsigned Root = 0;
constexpr unsigned FirstLeaf = 256;
// Longest code that still fits the bit word beside 7 pending bits.
constexpr int MaxFastDepth = 57;
// Input bytes coded between two checks of the output room; a code is at most
// 256 bits, so a chunk never needs more than 32 bytes per input byte. Small
// enough that the room asked for stays within what a page's code reserves.
constexpr qsizetype EncodeChunk = 1024;
constexpr qsizetype MaxCodeBytes = 32;
}

TBRCompress::TBRCompress(QByteArray* output) : m_encoding(true), m_output(output)
{
    Up[0] = 0;
    for (int i = 1; i <= 512; ++i)
        Up[i] = quint8((i - 1) / 2);
    for (int j = 0; j < 256; ++j) {
        Child[j][0] = quint16(2 * j + 1);
        Child[j][1] = quint16(2 * j + 2);
    }
}

TBRCompress::TBRCompress(const char* data, qsizetype size) : TBRCompress(nullptr)
{
    m_encoding = false;
    m_input = data;
    m_inputSize = size;
}

TBRCompress::~TBRCompress()
{
    Finish();
}

void TBRCompress::Finish()
{
    if (m_encoding && m_bitCount != 0) {
        m_output->append(char(m_bits & 0xFF));
        m_bits = 0;
        m_bitCount = 0;
    }
}

// Semi-splaying along a path known from the walk that coded the byte: the
// node and its parent's sibling swap places, then the walk continues from the
// grandparent. The path is given bottom-up: up[0] is the leaf, up[i + 1] the
// parent of up[i], side[i] which child up[i] is; up[depth] is the root. No
// parent is looked up, so the swaps do not wait on one another's loads.
void TBRCompress::SplayPath(const quint16* up, const quint8* side, int depth)
{
    for (int j = 0; j + 2 <= depth; j += 2) {
        const unsigned a = up[j], c = up[j + 1], d = up[j + 2];
        const unsigned siblingSide = side[j + 1] ^ 1u;
        const unsigned b = Child[d][siblingSide];
        Child[d][siblingSide] = quint16(a);
        Child[c][side[j]] = quint16(b);
        Up[a] = quint8(d);
        Up[b] = quint8(c);
    }
}

char* TBRCompress::EncodeInto(quint8 value, char* out)
{
    // Walking up from the leaf, each new bit is the one nearer the root, so
    // shifting left leaves the root's bit lowest: the order the code goes out.
    quint16 up[FirstLeaf + 2];
    quint8 side[FirstLeaf + 2];
    quint64 code = 0;
    int depth = 0;
    unsigned node = value + FirstLeaf;
    up[0] = quint16(node);
    while (node != Root) {
        const unsigned parent = Up[node];
        const unsigned s = Child[parent][1] == node;
        side[depth] = quint8(s);
        code = (code << 1) | s;
        up[++depth] = quint16(parent);
        node = parent;
    }
    if (depth <= MaxFastDepth) {
        m_bits |= code << m_bitCount;
        m_bitCount += unsigned(depth);
    } else {
        // A leaf sunk deep by a long run of other bytes: its code does not fit
        // the word, so it goes out in pieces, root first.
        for (int i = depth - 1; i >= 0; --i) {
            m_bits |= quint64(side[i]) << m_bitCount;
            if (++m_bitCount == 64) {
                qToLittleEndian(m_bits, out);
                out += 8;
                m_bits = 0;
                m_bitCount = 0;
            }
        }
    }
    // Whole bytes out; the word is stored whole and the pointer advanced by
    // what was complete (the caller keeps 8 spare bytes of room).
    const unsigned whole = m_bitCount / 8;
    qToLittleEndian(m_bits, out);
    out += whole;
    m_bits = whole == 8 ? 0 : m_bits >> (whole * 8);
    m_bitCount &= 7;
    SplayPath(up, side, depth);
    return out;
}

void TBRCompress::EncodeByte(quint8 value)
{
    EncodeBytes(reinterpret_cast<const char*>(&value), 1);
}

void TBRCompress::EncodeBytes(const char* data, qsizetype size)
{
    while (size > 0) {
        const qsizetype chunk = std::min(size, EncodeChunk);
        const qsizetype start = m_output->size();
        m_output->resize(start + chunk * MaxCodeBytes + 8);
        char* const begin = m_output->data() + start;
        char* out = begin;
        for (qsizetype i = 0; i < chunk; ++i)
            out = EncodeInto(quint8(data[i]), out);
        m_output->resize(start + (out - begin));
        data += chunk;
        size -= chunk;
    }
}

void TBRCompress::Refill()
{
    // Whole bytes into the word while there is room and input left.
    while (m_bitCount <= 56 && m_inputPosition < m_inputSize) {
        m_bits |= quint64(quint8(m_input[m_inputPosition++])) << m_bitCount;
        m_bitCount += 8;
    }
    if (m_bitCount == 0)
        throw DamagedStoreError(QStringLiteral("Compressed page data end before the page does"));
}

quint8 TBRCompress::DecodeByte()
{
    // The path is noted on the way down and splayed from it: the decoder never
    // needs the parent links, only the encoder does.
    quint16 down[FirstLeaf + 2];
    quint8 downSide[FirstLeaf + 2];
    unsigned node = Root;
    int depth = 0;
    down[0] = Root;
    do {
        if (m_bitCount == 0)
            Refill();
        const unsigned bit = unsigned(m_bits & 1);
        m_bits >>= 1;
        --m_bitCount;
        downSide[depth] = quint8(bit);
        node = Child[node][bit];
        down[++depth] = quint16(node);
    } while (node < FirstLeaf);
    // The same swaps as splayPath, read from the top-down record.
    for (int k = depth; k >= 2; k -= 2) {
        const unsigned a = down[k], c = down[k - 1], d = down[k - 2];
        const unsigned siblingSide = downSide[k - 2] ^ 1u;
        const unsigned b = Child[d][siblingSide];
        Child[d][siblingSide] = quint16(a);
        Child[c][downSide[k - 1]] = quint16(b);
    }
    return quint8(node - FirstLeaf);
}

void TBRCompress::DecodeBytes(char* dst, qsizetype count)
{
    for (qsizetype i = 0; i < count; ++i)
        dst[i] = char(DecodeByte());
}

QByteArray TBRCompress::Encode(const QByteArray& data)
{
    QByteArray out;
    out.reserve(data.size() / 2 + EncodeChunk * MaxCodeBytes + 16);
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
    coder.DecodeBytes(out.data(), count);
    if (consumed)
        *consumed = coder.BytesRead();
    return out;
}
