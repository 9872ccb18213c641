#include "tools/skq/formats/HtmlText.h"

#include <gtest/gtest.h>

namespace skq {
namespace {

TEST(HtmlText, TagsGoAndParagraphsAndBreaksBecomeLines) {
    EXPECT_EQ(FlattenHtml("<p>Ile to <b>2 + 2</b>?</p><p>Policz.<br>Dobrze.</p>").Text,
              "Ile to 2 + 2?\nPolicz.\nDobrze.");
    EXPECT_EQ(FlattenHtml("a<br><br>b").Text, "a\n\nb");
    EXPECT_EQ(FlattenHtml("<ul>\n <li>jeden</li>\n <li>dwa</li>\n</ul>").Text, "jeden\ndwa");
}

TEST(HtmlText, SpacesCollapseAsInABrowser) {
    EXPECT_EQ(FlattenHtml("  Zażółć \n\t gęślą   jaźń  ").Text, "Zażółć gęślą jaźń");
    EXPECT_EQ(FlattenHtml("<p> a </p>\n\n<p> b </p>").Text, "a\nb");
}

TEST(HtmlText, EntitiesAreDecodedAndUnknownOnesStayAsWritten) {
    EXPECT_EQ(FlattenHtml("x &lt; y &amp;&amp; &quot;z&quot; &#8594; &#x142;&oacute;d&nbsp;&hellip;").Text,
              "x < y && \"z\" → łód …");
    EXPECT_EQ(FlattenHtml("AT&T &nosuch; &#0; &#xD800; &#99999999; a<b").Text,
              "AT&T &nosuch; &#0; &#xD800; &#99999999; a<b");
}

TEST(HtmlText, EntityNamesEndWithinNineCharacters) {
    EXPECT_EQ(FlattenHtml("&#00000065;").Text, "A");
    // A ";" far on ends no entity either.
    for (const std::string& text : std::vector<std::string>{"&#000000065;", "&CounterClockwiseContourIntegral;",
                                                            "&amp" + std::string(50, 'x') + ";"})
        EXPECT_EQ(FlattenHtml(text).Text, text) << text;
}

// Shapes whose flattening once took time growing with the square of the text: in bulk they flatten as a few do.
TEST(HtmlText, HostileShapesInBulkFlattenAsAFewDo) {
    const struct {
        std::string_view Shape, Flat;
    } cases[] = {
        {"&", "&"},
        {"&#x", "&#x"},
        {"<a", "<a"},
        {"</b", "</b"},
        {"<img src=", "<img src="},
        {"<style></style>", ""},
        {"<script>x</scrip", ""},
        {"<!x", ""},
        {"<?x", ""},
        {"<!--", ""},
    };
    for (const auto& [shape, flat] : cases) {
        std::string html, expected;
        while (html.size() < (256 << 10)) {
            html += shape;
            expected += flat;
        }
        EXPECT_EQ(FlattenHtml(html).Text, expected) << shape;
    }
}

TEST(HtmlText, HiddenPartsLeaveNoText) {
    EXPECT_EQ(FlattenHtml("<!-- uwaga --><style>p{}</style>Tekst<script>alert(1)</script>.").Text, "Tekst.");
    EXPECT_EQ(FlattenHtml("a<!-- never closed").Text, "a");
}

TEST(HtmlText, PicturesAreCollected) {
    const FlatText flat =
        FlattenHtml(R"(<p>Mapa: <img alt="x" src="@@PLUGINFILE@@/mapa%20a.png"/> <IMG SRC=b.gif></p>)");
    EXPECT_EQ(flat.Text, "Mapa:");
    EXPECT_EQ(flat.Images, (std::vector<std::string>{"@@PLUGINFILE@@/mapa%20a.png", "b.gif"}));
}

TEST(HtmlText, PlainTextComesBackFromItsHtml) {
    for (const std::string text :
         {"a < b & c > \"d\"", "dwie\nlinie", "  wcięcie i  dwie spacje ", "tab\tulator", "pusta\n\nlinia"})
        EXPECT_EQ(FlattenHtml(HtmlFromPlainText(text)).Text, text) << text;
}

} // namespace
} // namespace skq
