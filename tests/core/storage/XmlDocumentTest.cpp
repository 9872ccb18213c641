#include "core/storage/XmlDocument.h"

#include "core/base/CodePage.h"
#include "core/base/StorageError.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <sys/stat.h>
#include <utility>
#include <vector>

namespace {

using namespace std::string_literals;

// Test sources are UTF-8; documents are Windows-1250 bytes or UTF-16LE with a byte order mark.
Bytes Ansi(std::string_view utf8) { return ToBytes(Utf8ToAnsi(utf8)); }

Bytes Wide(std::string_view utf8) {
    Bytes bytes{0xFF, 0xFE};
    for (const char16_t c : Utf8ToWide(utf8)) {
        bytes.push_back(static_cast<std::uint8_t>(c));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    return bytes;
}

Bytes Saved(const XmlDocument& document) {
    Bytes out;
    document.SaveToStream(out);
    return out;
}

// Every node as depth and name in document order; comments show as "!".
using Outline = std::vector<std::pair<int, std::u16string>>;
void CollectOutline(const XmlNode& node, int depth, Outline& outline) {
    for (int i = 0; i < node.ChildCount(); ++i) {
        const XmlNode& child = *node.Child(i);
        outline.emplace_back(depth, child.Kind == XmlNodeKind::Comment ? u"!" : child.Name);
        CollectOutline(child, depth + 1, outline);
    }
}
Outline OutlineOf(const XmlDocument& document) {
    Outline outline;
    CollectOutline(document.Root, 0, outline);
    return outline;
}

void ExpectSameTree(const XmlNode& a, const XmlNode& b) {
    EXPECT_EQ(a.Name, b.Name);
    EXPECT_EQ(a.Kind, b.Kind);
    EXPECT_EQ(a.Text, b.Text);
    EXPECT_EQ(a.CDataText, b.CDataText);
    EXPECT_EQ(a.Data, b.Data);
    ASSERT_EQ(a.AttributeCount(), b.AttributeCount());
    for (int i = 0; i < a.AttributeCount(); ++i) {
        EXPECT_EQ(a.Attribute(i)->Name, b.Attribute(i)->Name);
        EXPECT_EQ(a.Attribute(i)->Value, b.Attribute(i)->Value);
    }
    ASSERT_EQ(a.ChildCount(), b.ChildCount()) << "under " << WideToUtf8(a.Name);
    for (int i = 0; i < a.ChildCount(); ++i)
        ExpectSameTree(*a.Child(i), *b.Child(i));
}

std::string Nested(int depth, std::string_view inner = "") {
    std::string text;
    for (int i = 0; i < depth; ++i)
        text += "<a>";
    return text += inner;
}

int DepthOf(const XmlDocument& document) {
    int depth = 0;
    for (const XmlNode* node = document.Root.Child(0); node; node = node->Child(0))
        ++depth;
    return depth;
}

constexpr std::string_view kQuestion =
    "<?xml version=\"1.0\" encoding=\"windows-1250\"?>\r\n"
    "<!-- pytanie -->\r\n"
    "<pyt>\r\n\t<cd>pl</cd>\r\n\t<typ>1</typ>\r\n\t<ilo>4</ilo>\r\n"
    "\t<tr>Ile to 2 &lt; 3 &amp; \"ż\"?</tr>\r\n\t<od1>Źdźbło</od1>\r\n\t<od2>Łąka</od2>\r\n"
    "\t<od3>x &gt; y</od3>\r\n\t<od4 wag=\"2\"/>\r\n\t<odp>1010</odp>\r\n\t<plimg>a.JPG</plimg>\r\n"
    "\t<kom>Podpowiedź</kom>\r\n\t<dtu>45000.5</dtu>\r\n</pyt>\r\n";

TEST(XmlReadTest, InputSizesAtTheEdges) {
    XmlDocument document;
    document.Root.AddChild(u"keep");
    EXPECT_FALSE(document.LoadFromStream({}));
    EXPECT_EQ(document.Root.ChildCount(), 1) << "no bytes leave the tree untouched";

    EXPECT_FALSE(document.LoadFromStream(Ansi("<")));
    EXPECT_EQ(document.Root.ChildCount(), 0) << "one byte empties the tree";

    EXPECT_TRUE(document.LoadFromStream(Bytes{0xFF, 0xFE}));
    EXPECT_TRUE(document.WideText);
    EXPECT_EQ(document.Root.ChildCount(), 0);

    Bytes oddTail = Wide("<a/>");
    oddTail.push_back('<');
    EXPECT_TRUE(document.LoadFromStream(oddTail)) << "an odd last byte is not part of UTF-16 input";
    EXPECT_EQ(document.Root.ChildCount(), 1);
}

TEST(XmlReadTest, Utf8ByteOrderMarkFailsAtOnce) {
    TempDir dir;
    WriteFileText(dir / "utf8.ini", "\xEF\xBB\xBF<Ini><ed>x</ed></Ini>");
    XmlDocument document;
    EXPECT_FALSE(document.LoadFromFile(dir / "utf8.ini"));
    EXPECT_FALSE(document.WideText);
    EXPECT_EQ(document.Root.ChildCount(), 0);
}

TEST(XmlReadTest, QuestionDocumentInBothForms) {
    for (const Bytes& input : {Ansi(kQuestion), Wide(kQuestion)}) {
        XmlDocument document;
        ASSERT_TRUE(document.LoadFromStream(input));
        EXPECT_EQ(document.WideText, input[0] == 0xFF);
        ASSERT_EQ(document.Root.ChildCount(), 3);
        const XmlNode& declaration = *document.Root.Child(0);
        EXPECT_EQ(declaration.Kind, XmlNodeKind::Instruction);
        EXPECT_EQ(declaration.Name, u"xml");
        ASSERT_EQ(declaration.AttributeCount(), 2);
        EXPECT_EQ(declaration.Attribute(1)->Value, u"windows-1250");
        EXPECT_EQ(document.Root.Child(1)->Kind, XmlNodeKind::Comment);
        EXPECT_EQ(document.Root.Child(1)->Text, u"pytanie");

        XmlNode& question = document.FindOrAddNode(u"PYT");
        EXPECT_EQ(FindOrAddChild(question, u"tr").Text, u"Ile to 2 < 3 & \"ż\"?");
        EXPECT_EQ(FindOrAddChild(question, u"od1").Text, u"Źdźbło");
        EXPECT_EQ(FindOrAddChild(question, u"OD2").Text, u"Łąka");
        EXPECT_EQ(FindOrAddChild(question, u"od3").Text, u"x > y");
        EXPECT_EQ(FindOrAddChild(question, u"od4").Attribute(0)->Value, u"2");
        EXPECT_EQ(FindOrAddChild(question, u"kom").Text, u"Podpowiedź");
        EXPECT_EQ(question.ChildCount(), 12);
    }
}

TEST(XmlReadTest, TextsAndValuesAreTrimmedAndUnescaped) {
    XmlDocument document;
    ASSERT_TRUE(document.LoadFromStream(
        Ansi("<r a=\" x \" b = \"&QUOT;&Amp;\">\r\n \x01\t two  words \x02\r\n<c>&AMP;&#65;&apos;&lt</c></r>")));
    const XmlNode& r = *document.Root.Child(0);
    EXPECT_EQ(r.Text, u"two  words");
    EXPECT_EQ(r.Attribute(0)->Value, u" x ") << "attribute values are not trimmed";
    EXPECT_EQ(r.Attribute(1)->Name, u"b");
    EXPECT_EQ(r.Attribute(1)->Value, u"\"&");
    EXPECT_EQ(r.Child(0)->Text, u"&&#65;&apos;&lt") << "only four entities, in any letter case";
}

// 8-bit texts are converted in blocks of sixteen and eight bytes, so every byte and entity is
// tried at every offset from a block's start, and a text is also tried where the input ends.
TEST(XmlReadTest, EightBitTextsConvertWhereverTheBytesFall) {
    std::string bytes;
    for (int b = 0x21; b <= 0xFF; ++b) {
        if (b != '<' && b != '&')
            bytes.push_back(static_cast<char>(b));
    }
    for (std::size_t offset = 0; offset <= 16; ++offset) {
        const std::string lead(offset, 'x');
        XmlDocument document;
        ASSERT_TRUE(document.LoadFromStream(
            ToBytes("<a>" + lead + bytes + "</a><b>" + lead + "&lt;" + lead + "</b><c>" + lead + "\xB9\xEA")));
        EXPECT_EQ(document.Root.Child(0)->Text, AnsiToWide(lead + bytes)) << offset;
        EXPECT_EQ(document.Root.Child(1)->Text, AnsiToWide(lead + "<" + lead)) << offset;
        EXPECT_EQ(document.Root.Child(2)->Text, AnsiToWide(lead + "\xB9\xEA")) << "at the input's end, " << offset;
    }
}

TEST(XmlReadTest, NestingAndContentRules) {
    struct Case {
        std::string_view input;
        bool parses;
        Outline outline;
    };
    const std::vector<Case> cases = {
        {"<Abc><d/></aBC >", true, {{0, u"Abc"}, {1, u"d"}}},
        {"<Łąka></łĄKA>", true, {{0, u"Łąka"}}},
        {"<a><b>text", true, {{0, u"a"}, {1, u"b"}}},
        {"<a></b>", false, {{0, u"a"}}},
        {"<a></a x>", false, {{0, u"a"}}},
        {"<a/></a>", false, {{0, u"a"}}},
        {"x<a/>", false, {}},
        {"<r><a>x</a>tail</r>", false, {{0, u"r"}, {1, u"a"}}},
        {"<r><a/><b c='1'/></r>", false, {{0, u"r"}, {1, u"a"}}},
        {"<r><b c=\"1/></r>", false, {{0, u"r"}}},
        {"<r><b/ ></r>", false, {{0, u"r"}}},
        {"<r><b c></r>", false, {{0, u"r"}}},
        {"<r></r><b", false, {{0, u"r"}}},
        {"<>", false, {}},
        {"<?xml version=\"1.0\" ?><a/>", true, {{0, u"xml"}, {0, u"a"}}},
        {"<?xml version=\"1.0\"? ><a/>", false, {}},
        {"<a/></><b/>", true, {{0, u"a"}}},
    };
    for (const Case& c : cases) {
        XmlDocument document;
        EXPECT_EQ(document.LoadFromStream(Ansi(c.input)), c.parses) << c.input;
        EXPECT_EQ(OutlineOf(document), c.outline) << c.input;
    }
}

TEST(XmlReadTest, TextAfterALeafBelongsToIt) {
    XmlDocument document;
    ASSERT_TRUE(document.LoadFromStream(Ansi("<?pi?> after pi <r><a/> after a <b/></r>")));
    EXPECT_EQ(document.Root.Child(0)->Name, u"pi?");
    EXPECT_EQ(document.Root.Child(0)->Text, u"after pi");
    const XmlNode& r = *document.Root.Child(1);
    EXPECT_EQ(r.Text, u"");
    EXPECT_EQ(r.Child(0)->Text, u"after a");
}

TEST(XmlReadTest, CDataGoesToTheEnclosingElementAndTheLastWins) {
    XmlDocument document;
    ASSERT_TRUE(document.LoadFromStream(Ansi("<a>t<![CDATA[one]]><![cdata[ two <b> ]]></a><![CDATA[top]]>")));
    const XmlNode& a = *document.Root.Child(0);
    EXPECT_EQ(a.Text, u"t");
    EXPECT_EQ(a.CDataText, u" two <b> ");
    EXPECT_EQ(a.ChildCount(), 0);
    EXPECT_EQ(document.Root.CDataText, u"top");

    EXPECT_TRUE(document.LoadFromStream(Ansi("<a><![CDATA[first]]><![CDATA[unclosed <b/>")));
    EXPECT_EQ(document.Root.Child(0)->CDataText, u"") << "an unclosed section uses up the input";
    EXPECT_EQ(document.Root.Child(0)->ChildCount(), 0);
}

TEST(XmlReadTest, CommentsAndDeclarations) {
    XmlDocument document;
    ASSERT_TRUE(document.LoadFromStream(Ansi("<!DOCTYPE pyt --><a><!-- \r\n &lt; -- x\t--></a>")));
    EXPECT_EQ(document.Root.Child(0)->Text, u"CTYPE pyt") << "two characters are skipped as the dashes";
    EXPECT_EQ(document.Root.Child(1)->Child(0)->Text, u"&lt; -- x");

    EXPECT_FALSE(document.LoadFromStream(Ansi("<a><!--abcd"))) << "six characters after !";
    EXPECT_EQ(document.Root.ChildCount(), 1);
    EXPECT_TRUE(document.LoadFromStream(Ansi("<a><!--abcde<b/>")));
    EXPECT_EQ(OutlineOf(document), (Outline{{0, u"a"}, {1, u"!"}}));
}

TEST(XmlReadTest, EncodingAttributeIsIgnored) {
    XmlDocument document;
    ASSERT_TRUE(document.LoadFromStream(Ansi("<?xml encoding=\"utf-8\"?><a>ąś€</a>")));
    EXPECT_EQ(document.Root.Child(1)->Text, u"ąś€");
}

TEST(XmlReadTest, TruncatedInputKeepsWhatWasRead) {
    for (const Bytes& full : {Ansi(kQuestion), Wide(kQuestion)}) {
        XmlDocument whole;
        ASSERT_TRUE(whole.LoadFromStream(full));
        const Outline complete = OutlineOf(whole);
        for (std::size_t cut = 0; cut < full.size(); ++cut) {
            XmlDocument document;
            document.LoadFromStream(ByteView(full).first(cut));
            const Outline part = OutlineOf(document);
            ASSERT_LE(part.size(), complete.size());
            EXPECT_TRUE(std::equal(part.begin(), part.end(), complete.begin())) << "cut at " << cut;
        }
    }
}

TEST(XmlReadTest, NestingDepthIsBounded) {
    XmlDocument document;
    EXPECT_TRUE(document.LoadFromStream(Ansi(Nested(kMaxXmlDepth, "deep"))));
    EXPECT_EQ(DepthOf(document), kMaxXmlDepth);

    EXPECT_FALSE(document.LoadFromStream(Ansi(Nested(kMaxXmlDepth + 1))));
    EXPECT_EQ(DepthOf(document), kMaxXmlDepth) << "the levels up to the limit stay";
    EXPECT_FALSE(document.LoadFromStream(Ansi(Nested(kMaxXmlDepth, "<leaf/>"))));

    EXPECT_FALSE(document.LoadFromStream(Ansi(Nested(1000000))));
    EXPECT_EQ(DepthOf(document), kMaxXmlDepth);
}

// "<&name>", a 4-byte little-endian size and the data; in UTF-16 the size is two code units.
Bytes BinaryDocument(bool wide, const Bytes& size, const Bytes& data, std::string_view after) {
    Bytes bytes = wide ? Wide("<r><&bin k=\"v\">") : Ansi("<r><&bin k=\"v\">");
    bytes.insert(bytes.end(), size.begin(), size.end());
    bytes.insert(bytes.end(), data.begin(), data.end());
    const Bytes tail = wide ? Wide(after) : Ansi(after);
    bytes.insert(bytes.end(), tail.begin() + (wide ? 2 : 0), tail.end());
    return bytes;
}

TEST(XmlReadTest, BinaryNodesInBothForms) {
    for (const bool wide : {false, true}) {
        const Bytes data{0x3C, 0x00, 0xFF, 0x3E};
        XmlDocument document;
        ASSERT_TRUE(document.LoadFromStream(BinaryDocument(wide, {4, 0, 0, 0}, data, "<c>t</c></bin><d>u</d></r>")));
        const XmlNode& binary = *document.Root.Child(0)->Child(0);
        EXPECT_EQ(binary.Kind, XmlNodeKind::Binary);
        EXPECT_EQ(binary.Data, data);
        EXPECT_EQ(OutlineOf(document), (Outline{{0, u"r"}, {1, u"bin"}, {2, u"c"}, {1, u"d"}}));

        XmlDocument copy;
        ASSERT_TRUE(copy.LoadFromStream(Saved(document)));
        ExpectSameTree(copy.Root, document.Root);

        // A size beyond the input moves to its end without reading or reserving anything.
        EXPECT_TRUE(document.LoadFromStream(BinaryDocument(wide, {0xFF, 0xFF, 0xFF, 0xFF}, data, "</bin></r>")));
        EXPECT_TRUE(document.Root.Child(0)->Child(0)->Data.empty());
        EXPECT_FALSE(document.LoadFromStream(BinaryDocument(wide, {4, 0}, {}, ""))) << "size cut short";
        EXPECT_EQ(document.Root.Child(0)->ChildCount(), 0);
    }
}

TEST(XmlReadTest, OddBinaryDataKeepsUtf16Aligned) {
    XmlDocument document;
    document.WideText = true;
    XmlNode& binary = document.Root.AddChild(u"b", XmlNodeKind::Binary);
    binary.Data = {1, 2, 3};
    binary.AddChild(u"inner").Text = u"ż";
    XmlDocument copy;
    ASSERT_TRUE(copy.LoadFromStream(Saved(document)));
    ExpectSameTree(copy.Root, document.Root);
}

TEST(XmlEntityTest, ReplacementOrder) {
    EXPECT_EQ(XmlUnescape(u"&amp;lt;"), u"&lt;");
    EXPECT_EQ(XmlUnescape(u"&amp;amp;"), u"&amp;");
    EXPECT_EQ(XmlUnescape(u"&&lt;;&gT;&QuOt;&"), u"&<;>\"&");
    EXPECT_EQ(XmlUnescape(u"&am&#38;&ąmp;"), u"&am&#38;&ąmp;");
    EXPECT_EQ(XmlEscape(u"a&b<c>d\"e'f"), u"a&amp;b&lt;c&gt;d&quot;e'f");
    EXPECT_EQ(XmlUnescape(XmlEscape(u"&lt; \"&amp;\" <>")), u"&lt; \"&amp;\" <>");
}

TEST(XmlWriteTest, SettingsDocumentExactBytes) {
    XmlDocument document;
    FindOrAddChild(document.FindOrAddNode(u"Ini"), u"ed").Text = u"x";
    EXPECT_EQ(Saved(document), Ansi("<Ini>\r\n\t<ed>x</ed>\r\n</Ini>\r\n"));
    document.WideText = true;
    EXPECT_EQ(Saved(document), Wide("<Ini>\r\n\t<ed>x</ed>\r\n</Ini>\r\n"));

    Bytes out = ToBytes("kept");
    document.SaveToStream(out);
    EXPECT_EQ(Bytes(out.begin(), out.begin() + 6), (Bytes{'k', 'e', 'p', 't', 0xFF, 0xFE})) << "appends";
}

TEST(XmlWriteTest, LayoutOfEveryKind) {
    XmlDocument document;
    XmlNode& declaration = document.Root.AddChild(u"xml", XmlNodeKind::Instruction);
    declaration.Attributes = {{u"version", u"1.0"}, {u"unused", u""}};
    document.Root.AddChild(u"", XmlNodeKind::Comment).Text = u"a & b";
    XmlNode& top = document.Root.AddChild(u"top");
    top.Text = u"t<'>";
    top.CDataText = u"x]]>y[cdata[z中";
    top.AddChild(u"gone").Attributes = {{u"empty", u""}};
    top.AddChild(u"kept").Attributes = {{u"v", u"\"q\""}};
    XmlNode& middle = top.AddChild(u"middle");
    middle.AddChild(u"", XmlNodeKind::Comment).Text = u"inner";
    middle.AddChild(u"leaf").Text = u"ł";
    top.AddChild(u"bin", XmlNodeKind::Binary).Data = {'1', '2'};

    const std::string expected = "<?xml version=\"1.0\"?>\r\n"
                                 "<!-- a & b -->\r\n"
                                 "<top>t&lt;'&gt;\r\n"
                                 "\t<![CDATA[x__>y_CDATA_z?]]>\r\n"
                                 "\t<kept v=\"&quot;q&quot;\"/>\r\n"
                                 "\t<middle>\r\n"
                                 "\t\t<!-- inner -->\r\n"
                                 "\t\t<leaf>ł</leaf>\r\n"
                                 "\t</middle>\r\n"
                                 "\t<&bin>\x02\x00\x00\x00"
                                 "12</bin>\r\n"
                                 "</top>\r\n"s;
    EXPECT_EQ(Saved(document), Ansi(expected));
}

TEST(XmlWriteTest, RoundTripKeepsTheTree) {
    for (const Bytes& input : {Ansi(kQuestion), Wide(kQuestion)}) {
        XmlDocument document;
        ASSERT_TRUE(document.LoadFromStream(input));
        const Bytes written = Saved(document);
        EXPECT_EQ(written[0] == 0xFF, document.WideText);
        XmlDocument copy;
        ASSERT_TRUE(copy.LoadFromStream(written));
        ExpectSameTree(copy.Root, document.Root);
        EXPECT_EQ(Saved(copy), written);
    }
}

TEST(XmlWriteTest, DeepTreesNeedNoCallDepth) {
    XmlDocument document;
    document.Indent.clear(); // keeps the output linear in the depth
    XmlNode* node = &document.Root;
    for (int i = 0; i < 200000; ++i)
        node = &node->AddChild(u"a");
    node->Text = u"bottom";
    const Bytes written = Saved(document);
    const std::string text(written.begin(), written.end());
    EXPECT_TRUE(text.starts_with("<a>\r\n<a>\r\n"));
    EXPECT_NE(text.find("<a>bottom</a>\r\n</a>\r\n"), std::string::npos);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2 * 200000 - 1) << "a start and an end line per level";
    XmlDocument copy;
    EXPECT_FALSE(copy.LoadFromStream(written)) << "deeper than the reader takes";
    EXPECT_EQ(DepthOf(copy), kMaxXmlDepth);
}

TEST(XmlLookupTest, FindOrAddAndIndex) {
    XmlDocument document;
    ASSERT_TRUE(document.LoadFromStream(Ansi("<pyt><cd>1</cd><CD>2</CD><dx10/><FILE>f</FILE></pyt>")));
    XmlNode& question = document.FindOrAddNode(u"Pyt");
    EXPECT_EQ(&question, document.Root.Child(0));
    EXPECT_EQ(FindOrAddChild(question, u"CD").Text, u"1") << "the first of two counts";
    EXPECT_EQ(IndexOfChild(question, u"dx1"), -1);
    EXPECT_EQ(IndexOfChild(question, u"fıle"), 3) << "dotless i upper-cases to I";
    EXPECT_EQ(question.ChildCount(), 4) << "IndexOfChild adds nothing";

    XmlNode& added = FindOrAddChild(question, u"dx1");
    EXPECT_EQ(question.ChildCount(), 5);
    EXPECT_EQ(&added, question.Child(4));
    EXPECT_EQ(&FindOrAddChild(question, u"DX1"), &added);
    const XmlNode* other = &document.FindOrAddNode(u"other");
    EXPECT_EQ(other, document.Root.Child(1));

    EXPECT_EQ(question.Child(-1), nullptr);
    EXPECT_EQ(question.Child(question.ChildCount()), nullptr);
    EXPECT_EQ(question.Attribute(0), nullptr);
    EXPECT_EQ(question.Attribute(-1), nullptr);
}

TEST(XmlLookupTest, MovingTakesTheSubtree) {
    XmlNode top(u"top");
    XmlNode& inner = top.AddChild(u"inner");
    inner.AddChild(u"leaf").Text = u"x";
    XmlNode moved(std::move(top));
    EXPECT_EQ(top.ChildCount(), 0);
    EXPECT_TRUE(top.Name.empty());
    ASSERT_EQ(moved.ChildCount(), 1);
    EXPECT_EQ(moved.Child(0), &inner) << "children stay where they are";

    moved = std::move(inner); // from its own child: the child's subtree survives the swap
    EXPECT_EQ(moved.Name, u"inner");
    ASSERT_EQ(moved.ChildCount(), 1);
    EXPECT_EQ(moved.Child(0)->Text, u"x");
}

TEST(XmlFileTest, SaveAndLoad) {
    TempDir dir;
    XmlDocument document;
    FindOrAddChild(document.FindOrAddNode(u"Ini"), u"ed").Text = u"Łódź";
    WriteFileText(dir / "Ludra.ini", std::string(1000, 'x'));
    document.SaveToFile(dir / "Ludra.ini");
    EXPECT_EQ(ReadFileBytes(dir / "Ludra.ini"), Saved(document)) << "an existing file is truncated";

    XmlDocument copy;
    ASSERT_TRUE(copy.LoadFromFile(dir / "Ludra.ini"));
    ExpectSameTree(copy.Root, document.Root);

    EXPECT_FALSE(copy.LoadFromFile(dir / "missing.ini"));
    EXPECT_FALSE(copy.LoadFromFile(dir / "Ludra.ini" / "below-a-file"));
    EXPECT_THROW(copy.LoadFromFile(dir.Path()), StorageError);
    EXPECT_THROW(document.SaveToFile(dir / "no-folder" / "x.ini"), StorageError);
    EXPECT_THROW(document.SaveToFile(dir.Path()), StorageError);
}

TEST(XmlFileTest, NamedPipeRaisesWithoutWaitingForAWriter) {
    TempDir dir;
    ASSERT_EQ(mkfifo((dir / "pipe.ini").c_str(), 0600), 0);
    XmlDocument document;
    EXPECT_THROW(document.LoadFromFile(dir / "pipe.ini"), StorageError);
}

} // namespace
