// HTML flattened as the import step does, for the shapes that once took time growing with the square of the text:
// 1 MB and 4 MB of one shape repeated, beside a floor of ordinary quiz HTML of the same size. A ratio that stays
// the same from 1 to 4 MB, and the fitted complexity, show the time grows with the text alone.

#include "FloorRatio.h"
#include "tools/skq/formats/HtmlText.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace {

std::string Repeated(std::string_view shape, std::int64_t size) {
    std::string html;
    html.reserve(static_cast<std::size_t>(size) + shape.size());
    while (static_cast<std::int64_t>(html.size()) < size)
        html += shape;
    return html;
}

constexpr std::string_view kOrdinary =
    "<p>Ile to <b>2 + 2</b>? Policz &amp; zapisz wynik&nbsp;&hellip;<br>Za&#380;&oacute;&#322;&#263; "
    "g&#281;&#347;l&#261; ja&#378;&#324;.</p>\n<ul>\n <li>cztery</li>\n <li><i>pi&#281;&#263;</i></li>\n</ul>\n";

void BM_Flatten(benchmark::State& state, std::string_view shape) {
    const std::string hostile = Repeated(shape, state.range(0));
    const std::string ordinary = Repeated(kOrdinary, state.range(0));
    CompareWithFloor(
        state, [&] { benchmark::DoNotOptimize(skq::FlattenHtml(hostile)); },
        [&] { benchmark::DoNotOptimize(skq::FlattenHtml(ordinary)); });
    state.SetBytesProcessed(state.iterations() * state.range(0));
    state.SetComplexityN(state.range(0));
}

constexpr std::int64_t kMegabyte = 1 << 20;

#define FLATTEN(name, shape)                                                                                           \
    BENCHMARK_CAPTURE(BM_Flatten, name, shape)                                                                         \
        ->Arg(kMegabyte)                                                                                               \
        ->Arg(4 * kMegabyte)                                                                                           \
        ->UseManualTime()                                                                                              \
        ->Complexity(benchmark::oN)                                                                                    \
        ->Unit(benchmark::kMillisecond)

FLATTEN(Ampersands, "&");
FLATTEN(NumberStarts, "&#x");
// Names as long as the longest entity's, one letter short of it, and no ";": every "&" is looked at in full.
FLATTEN(LongNameStarts, "&CounterClockwiseContourIntegra");
FLATTEN(LongNames, "&CounterClockwiseContourIntegral;&NotNestedGreaterGreater;&nbsp;&fjlig;&scaron;");
FLATTEN(UnclosedTags, "<a");
FLATTEN(UnclosedImages, "<img src=");
FLATTEN(EmptyStyles, "<style></style>");
FLATTEN(UnclosedScript, "<script>x</scrip");
FLATTEN(Declarations, "<!x>");
FLATTEN(Ordinary, kOrdinary);

} // namespace

BENCHMARK_MAIN();
