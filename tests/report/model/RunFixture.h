#pragma once
// Reports run into recorded pages: small printables that write text records,
// in-memory data sets, and the text of every page read back from the page
// store with its device position.

#include "BRRound.h"
#include "BandRpt.h"
#include "ModelFixture.h"
#include "TBRGroup.h"
#include "TBRPageList.h"
#include "TBRPrinter.h"
#include "TBRSubDetail.h"
#include "TCanvas.h"
#include "TMemDataSet.h"
#include "TMetafile.h"

#include <QtEndian>
#include <functional>

// Writes one text record per line at its top-left corner. With Lines > 1
// and Stretch it grows its band one line at a time and continues on the
// next page or column when the band cannot grow.
class TextPrintable : public TBRPrintable {
public:
    using TBRPrintable::TBRPrintable;
    std::function<QString()> Text;
    int Lines = 1;
    bool Stretch = false;
    BRNative LineHeight = 50;
    int Printed = 0; // PrintAt calls

    void PrintAt(int offsetX, int offsetY) override
    {
        ++Printed;
        TBRPrinter* t = OutputTarget();
        TCanvas* c = t ? t->PageCanvas() : nullptr;
        if (OutputComplete())
            m_next = 0;
        const BRNative x = offsetX + Size()->Native(TBRPrintableSize::iLeft);
        const BRNative y = offsetY + Size()->Native(TBRPrintableSize::iTop);
        BRNative limit = y + Size()->Native(TBRPrintableSize::iHeight) + 1;
        BRNative top = y;
        bool first = false;
        while (m_next < Lines) {
            if (top + LineHeight > limit) {
                if (!Stretch || !Band()->CanExpand(LineHeight))
                    break;
                BRNative growth = 0;
                Band()->ExpandBand(LineHeight, growth, first);
                limit = y + Size()->Native(TBRPrintableSize::iHeight) + 1 + growth;
            }
            const QString text = Text ? Text() : Name();
            if (c && OwnerReport()->RenderToSurface())
                c->TextOut(t->DeviceX(x), t->DeviceY(top), Lines > 1 ? text + QString::number(m_next) : text);
            top += LineHeight;
            ++m_next;
        }
        SetOutputComplete(!Stretch || m_next >= Lines);
    }

private:
    int m_next = 0;
};

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

struct PageText {
    QString text;
    int x;
    int y;
};

class RunFixture : public ModelFixture {
protected:
    void SetUp() override
    {
        ModelFixture::SetUp();
        report->SetUnits(TBRUnit::Native);
        for (int i : {TBRPage::iLeftMargin, TBRPage::iRightMargin, TBRPage::iTopMargin, TBRPage::iBottomMargin})
            report->Page()->SetDimension(i, 100);
        report->OnPreview = [](QObject*) {};
    }

    // A band of `height` native units.
    template <class T = TBRBand>
    T* bandOf(const QString& name, TBRBandType type, BRNative height)
    {
        T* b = place<T>(name);
        if constexpr (std::is_same_v<T, TBRBand>)
            b->SetBandType(type);
        b->Size()->SetUnits(TBRUnit::Native);
        b->Size()->SetDimension(TBRBandSize::iHeight, height);
        return b;
    }

    TextPrintable* text(TBRCustomBand* band, const QString& name, std::function<QString()> source = {},
                        BRNative top = 0, BRNative height = 50)
    {
        auto* p = new TextPrintable(form.get());
        p->SetName(name);
        p->SetParentPanel(band);
        p->Size()->SetUnits(TBRUnit::Native);
        p->Size()->SetDimension(TBRPrintableSize::iTop, top);
        p->Size()->SetDimension(TBRPrintableSize::iHeight, height);
        p->Size()->SetDimension(TBRPrintableSize::iWidth, 300);
        p->Text = std::move(source);
        return p;
    }

    // A data set of one string field NAME (and more when given) with rows.
    TMemDataSet* dataSet(const QString& name, const QStringList& fields, const QList<QVariantList>& rows)
    {
        auto* ds = new TMemDataSet(form.get());
        ds->SetName(name);
        for (const QString& f : fields)
            ds->DefineField(f, TFieldType::ftString);
        for (const QVariantList& row : rows)
            ds->AppendRecord(row);
        ds->Open();
        return ds;
    }
    static std::function<QString()> field(TDataSet* ds, const QString& name, const QString& prefix = {})
    {
        return [ds, name, prefix] { return prefix + ds->FieldByName(name)->AsString(); };
    }

    // Runs the report into a preview that opens nothing; the pages stay.
    void run() { report->Preview(); }

    // Text records of every page, in drawing order.
    QList<QList<PageText>> pages()
    {
        QList<QList<PageText>> out;
        TBRPrinter* t = report->OutputTarget();
        if (!t)
            return out;
        for (int n = 1; n <= t->PageTotal(); ++n) {
            QList<PageText> page;
            std::unique_ptr<TMetafile> mf = t->FetchPage(n);
            const QByteArray b = mf ? mf->Data() : QByteArray();
            qsizetype off = 0;
            while (off + 8 <= b.size()) {
                const auto* p = reinterpret_cast<const uchar*>(b.constData()) + off;
                const quint32 type = qFromLittleEndian<quint32>(p);
                const quint32 size = qFromLittleEndian<quint32>(p + 4);
                if (size < 8 || off + size > b.size())
                    break;
                if (type == 84 && size >= 76) {
                    const int x = qFromLittleEndian<qint32>(p + 36);
                    const int y = qFromLittleEndian<qint32>(p + 40);
                    const quint32 n16 = qFromLittleEndian<quint32>(p + 44);
                    const quint32 at = qFromLittleEndian<quint32>(p + 48);
                    QString s;
                    for (quint32 i = 0; i < n16 && at + 2 * i + 2 <= size; ++i)
                        s.append(QChar(qFromLittleEndian<quint16>(p + at + 2 * i)));
                    page.append({s, x, y});
                }
                off += size;
            }
            out.append(page);
        }
        return out;
    }
    // Just the texts, page by page.
    QList<QStringList> texts()
    {
        QList<QStringList> out;
        for (const auto& page : pages()) {
            QStringList l;
            for (const PageText& t : page)
                l << t.text;
            out << l;
        }
        return out;
    }
    // Device y of native y on a recorded page.
    static int dev(BRNative y) { return brp::Round(y * 96 / 254); }
};
