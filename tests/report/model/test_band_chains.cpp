// Long chains of linked bands and of child bands, and long lists of bands, as
// definitions give them (references to bands read later or earlier): the
// order, the links and the places are those of a short report, and a circle
// is refused at the reference that closes it. How the time grows with the
// length is measured in bench/bench_hostile_input.
#include "BRReportReader.h"
#include "ClassRegistry.h"
#include "ModelFixture.h"
#include "TBRChildBand.h"

#include <functional>

namespace {

constexpr int kHeaderLines = 5;
constexpr int kLinesPerBand = 4;

// A report of bands B0..B(n-1) written in the order given; each band is
// described by its class, its type and the band its reference names.
struct BandSpec {
    int index;
    bool child;
    const char* type;
    int refersTo; // -1: none
};

QString definition(const QList<BandSpec>& bands)
{
    QString text = QStringLiteral("object Rel: TBandReport\n  Units = MM\n"
                                  "  Page.Values = (100.0 2970.0 100.0 2100.0 100.0 100.0 0.0)\n  Page.PaperSize = A4\n"
                                  "  Page.Columns = 2\n");
    for (const BandSpec& b : bands) {
        text += QStringLiteral("  object B%1: %2\n").arg(b.index).arg(b.child ? QStringLiteral("TBRChildBand") : QStringLiteral("TBRBand"));
        if (b.refersTo >= 0)
            text += QStringLiteral("    %1 = B%2\n").arg(b.child ? QStringLiteral("ParentBand") : QStringLiteral("LinkBand")).arg(b.refersTo);
        else
            text += QStringLiteral("    BandType = %1\n").arg(QLatin1String(b.type));
        text += QStringLiteral("    Size.Values = (10.0 1900.0)\n  end\n");
    }
    return text + QStringLiteral("end\n");
}

// The line of the reference of the band written in the given place.
int referenceLine(int place)
{
    return kHeaderLines + place * kLinesPerBand + 2;
}

class BandChains : public ModelFixture {
protected:
    void SetUp() override
    {
        ModelFixture::SetUp();
        brp::RegisterReportModelClasses();
        delete report;
        report = nullptr;
    }
    std::unique_ptr<TCustomBandReport> read(const QString& text)
    {
        return std::unique_ptr<TCustomBandReport>(BRReportReader::ReadText(text, nullptr));
    }
};

constexpr int kLength = 3000;

} // namespace

TEST_F(BandChains, LongChainsKeepTheirOrderLinksAndPlaces)
{
    struct Case {
        const char* name;
        bool child;
        bool backwards; // each band written before the one it refers to
    };
    const Case cases[] = {
        {"links, written in chain order", false, false},
        {"links, written last to first", false, true},
        {"children, written in chain order", true, false},
        {"children, written last to first", true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // A summary at the root: a page-wide type that its children take, two
        // columns making page-wide differ from column-wide.
        QList<BandSpec> bands;
        for (int i = 0; i < kLength; ++i) {
            const int refersTo = c.child ? i - 1 : (i + 1 < kLength ? i + 1 : -1);
            bands.append({i, c.child && i > 0, i == 0 ? "rbSummary" : "rbDetail", refersTo});
        }
        if (c.backwards)
            std::reverse(bands.begin(), bands.end());
        const auto r = read(definition(bands));
        const QList<TBRCustomBand*>& list = r->BandList();
        ASSERT_EQ(list.size(), kLength);
        int top = list[0]->Top();
        for (int i = 0; i < kLength; ++i) {
            const QString name = QStringLiteral("B%1").arg(c.child || !c.backwards ? i : kLength - 1 - i);
            ASSERT_EQ(list[i]->Name(), name) << i;
            if (c.child) {
                EXPECT_EQ(list[i]->EffectiveBandType(), rbSummary) << i;
                EXPECT_EQ(list[i]->Width(), list[0]->Width()) << "page-wide, as its root: " << i;
                EXPECT_EQ(list[i]->ChildBand(), i + 1 < kLength ? list[i + 1] : nullptr) << i;
            } else {
                const int n = name.mid(1).toInt();
                EXPECT_EQ(list[i]->LinkBand() ? list[i]->LinkBand()->Name() : QString(),
                          n + 1 < kLength ? QStringLiteral("B%1").arg(n + 1) : QString());
            }
            EXPECT_EQ(list[i]->Top(), top) << i;
            top += list[i]->Height();
        }
    }
}

TEST_F(BandChains, ACircleIsRefusedAtTheReferenceThatClosesIt)
{
    struct Case {
        const char* name;
        bool child;
        // Band i refers to refersTo(i); the bands are written in this order.
        std::function<int(int)> refersTo;
        QList<int> order;
        int closingPlace; // the place of the band whose reference closes the circle
    };
    QList<int> forward, backward;
    for (int i = 0; i < kLength; ++i) {
        forward << i;
        backward.prepend(i);
    }
    const auto round = [](int i) { return (i + 1) % kLength; };
    const auto tail = [](int i) { return i + 1 < kLength ? i + 1 : kLength / 2; }; // a circle after a tail
    constexpr int half = kLength / 2;
    const auto two = [](int i) { return i < half ? (i + 1) % half : half + (i - half + 1) % half; }; // two circles
    const Case cases[] = {
        {"links round, in order", false, round, forward, kLength - 1},
        {"links round, last to first", false, round, backward, kLength - 1},
        {"links with a tail", false, tail, forward, kLength - 1},
        {"children round, in order", true, round, forward, kLength - 1},
        {"children with a tail, last to first", true, tail, backward, kLength - 1 - kLength / 2},
        // Of two circles, the one closed first while reading.
        {"two circles of links, in order", false, two, forward, half - 1},
        {"two circles of children, last to first", true, two, backward, kLength - 1 - half},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QList<BandSpec> bands;
        for (int i : c.order)
            bands.append({i, c.child, "rbDetail", c.refersTo(i)});
        try {
            read(definition(bands));
            ADD_FAILURE() << "a circle was read";
        } catch (const PlatformError& e) {
            EXPECT_TRUE(e.Message().startsWith(QStringLiteral("Definition error on line %1: Invalid value for %2")
                                                   .arg(referenceLine(c.closingPlace))
                                                   .arg(c.child ? QStringLiteral("ParentBand") : QStringLiteral("LinkBand"))))
                << e.Message().toStdString();
            EXPECT_TRUE(e.Message().contains(QStringLiteral("a circular link"))) << e.Message().toStdString();
        }
    }
}
