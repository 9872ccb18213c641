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

TEST(HtmlText, EveryNamedEntityOfHtmlIsDecodedByItsExactName) {
    const struct {
        std::string_view Html, Flat;
    } cases[] = {
        {"&scaron;&Scaron;&trade;&permil;&acirc;&ocirc;&euml;&Yacute;", "šŠ™‰âôëÝ"},
        {"&brvbar;&curren;&dagger;&lsaquo;&rsaquo;", "¦¤†‹›"},
        // The longest name, and names standing for a character beyond 16 bits or for two characters.
        {"&CounterClockwiseContourIntegral;", "∳"},
        {"&Afr;&fjlig;&nvlt;&NotEqualTilde;", "\U0001D504fj<\u20D2\u2242\u0338"},
        {"&Tab;|&NewLine;|", "\t|\n|"},
        // Names differ by case alone; a name in another case than the table's is none.
        {"&Delta;&delta;&DELTA;&AMP;&Amp;", "Δδ&DELTA;&&Amp;"},
        // A no-break space by any name or number is a plain space, kept where spaces collapse.
        {"a&nbsp;&NonBreakingSpace;&#160;&#xA0;b", "a    b"},
        // The ";" is needed, also after the names HTML takes without it in text.
        {"R&D &amp &copy 2024 &lt;3 &scaron", "R&D &amp &copy 2024 <3 &scaron"},
        {"&ampx; &amp;x &am; &#38;&#x26;", "&ampx; &x &am; &&"},
    };
    for (const auto& [html, flat] : cases)
        EXPECT_EQ(FlattenHtml(html).Text, flat) << html;
}

TEST(HtmlText, EntityNamesAndNumbersHaveTheirLongestLength) {
    EXPECT_EQ(FlattenHtml("&#00000065;").Text, "A");
    // A ";" far on ends no entity either.
    for (const std::string& text : std::vector<std::string>{"&#000000065;", "&CounterClockwiseContourIntegralx;",
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

TEST(HtmlText, ABlankPictureNameIsNoPicture) {
    EXPECT_EQ(FlattenHtml(R"(<img src=" "><img src=""><img src="&nbsp;"><img alt="x"><img src="b.gif">)").Images,
              std::vector<std::string>{"b.gif"});
}

TEST(HtmlText, SoundAndVideoAreNoticed) {
    const struct {
        std::string_view Html;
        bool SoundOrVideo;
    } cases[] = {
        {"<audio controls></audio>", true},
        {"<VIDEO>", true},
        {R"(<a href="@@PLUGINFILE@@/Nagranie%201.MP3">posłuchaj</a>)", true},
        {R"(<a href='film.webm?forcedownload=1#t=10'>film</a>)", true},
        {R"(<audio><source src="a.ogg" type="audio/ogg"></audio>)", true},
        {R"(<embed src=x.wav>)", true},
        {R"(<object data="clip.mov"></object>)", true},
        {R"(<p>"song.mp3", <b>lecture.avi</b></p>)", false},
        {R"(<a href="notatki.pdf">mp3</a><img src="mp3.png"><a href="mp3/x.gif">)", false},
        {R"(<a title="x.mp4" href="strona.html">)", false},
        {R"(<!-- <audio> --><script>"<video>"</script>)", false},
        {R"(</audio>)", false},
    };
    for (const auto& [html, soundOrVideo] : cases)
        EXPECT_EQ(FlattenHtml(html).SoundOrVideo, soundOrVideo) << html;
}

TEST(HtmlText, SoundAndVideoNamesAreKnownByTheirExtensionInAnyCase) {
    for (const std::string_view name :
         {"A.OGG", "c.Wav", "f.webm", "http://x.pl/s.mp3?a=1", "x.mp3#t=5", "dziwna.mp\0013"})
        EXPECT_TRUE(IsSoundOrVideoName(name)) << name;
    for (const std::string_view name : {"a.png", "mp3", "a.mp3x", "a.mp3/b", "a.mp", "", ".", "a.mpeg3"})
        EXPECT_FALSE(IsSoundOrVideoName(name)) << name;
}

TEST(HtmlText, PlainTextComesBackFromItsHtml) {
    for (const std::string text :
         {"a < b & c > \"d\"", "dwie\nlinie", "  wcięcie i  dwie spacje ", "tab\tulator", "pusta\n\nlinia"})
        EXPECT_EQ(FlattenHtml(HtmlFromPlainText(text)).Text, text) << text;
}

} // namespace
} // namespace skq
