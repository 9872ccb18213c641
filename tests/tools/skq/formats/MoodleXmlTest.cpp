#include "support/XmlCheck.h"
#include "tools/skq/formats/HtmlText.h"
#include "tools/skq/formats/SourceBank.h"

#include <gtest/gtest.h>

#include <optional>

namespace skq {
namespace {

using Texts = std::vector<SourceText>;
using Flags = std::vector<bool>;

std::string Quiz(const std::string& questions) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<quiz>\n" + questions + "</quiz>\n";
}

// A multiple-choice question with the given inner elements after its name.
std::string Multichoice(const std::string& name, const std::string& inner) {
    return "<question type=\"multichoice\"><name><text>" + name + "</text></name>" + inner + "</question>\n";
}

const std::string kTwoAnswers = R"(<answer fraction="100"><text>tak</text></answer>
<answer fraction="0"><text>nie</text></answer>)";

// An HTML question text and the files it embeds.
std::string QuestionText(const std::string& text, const std::string& files = "") {
    return "<questiontext format=\"html\"><text>" + text + "</text>" + files + "</questiontext>";
}

TEST(ReadMoodleXml, CdataEntitiesAndMarkupInTheTextComeThroughAsTheSourceHasThem) {
    const SourceBank bank = ReadMoodleXml(
        Quiz(Multichoice("a", QuestionText("<![CDATA[<p>Zażółć &amp; ]]>&lt;b&gt;&#322;&lt;/b&gt;&lt;/p&gt;") +
                                  kTwoAnswers) +
             Multichoice("b", QuestionText("<p>x <b>2</b></p>") + kTwoAnswers)));
    ASSERT_EQ(bank.Questions.size(), 2u);
    EXPECT_EQ(bank.Questions[0].Text, (SourceText{"<p>Zażółć &amp; <b>ł</b></p>", true}));
    EXPECT_EQ(bank.Questions[1].Text.Text, "<p>x <b>2</b></p>");
    EXPECT_EQ(bank.Questions[0].Answers, (Texts{{"tak", true}, {"nie", true}}));
    EXPECT_EQ(bank.Questions[0].Where, "question 1 (a)");
}

TEST(ReadMoodleXml, EntitiesOfADocumentTypeStayUnexpanded) {
    const SourceBank bank = ReadMoodleXml(R"(<?xml version="1.0"?><!DOCTYPE quiz [<!ENTITY a "aaaaaaaa">]><quiz>)" +
                                          Multichoice("", QuestionText("&a;&a;") + kTwoAnswers) + "</quiz>");
    ASSERT_EQ(bank.Questions.size(), 1u);
    EXPECT_EQ(bank.Questions[0].Text.Text, "&a;&a;");
    EXPECT_EQ(bank.Questions[0].Where, "question 1");
}

TEST(ReadMoodleXml, PlainTextAndMarkdownAreNoHtmlAndEveryOtherFormatIs) {
    const SourceBank bank = ReadMoodleXml(Quiz(Multichoice("", R"(
        <questiontext format="plain_text"><text>  a &lt; b</text></questiontext>
        <answer fraction="0" format="markdown"><text>*x*</text></answer>
        <answer fraction="0" format="moodle_auto_format"><text>y</text></answer>
        <answer fraction="0"><text>z</text></answer>
        <hint format="plain_text"><text>h</text></hint>)")));
    ASSERT_EQ(bank.Questions.size(), 1u);
    const SourceQuestion& question = bank.Questions[0];
    EXPECT_EQ(question.Text, (SourceText{"  a < b", false}));
    EXPECT_EQ(question.Answers, (Texts{{"*x*", false}, {"y", true}, {"z", true}}));
    EXPECT_EQ(question.Hint, (SourceText{"h", false}));
}

TEST(ReadMoodleXml, PositiveFractionsAreRightAndSingleFalseLetsSeveralBeChosen) {
    const std::string answers = R"(<answer fraction="33.33333"><text>a</text></answer>
        <answer fraction="-100"><text>b</text></answer><answer fraction=" 50 "><text>c</text></answer>
        <answer fraction="0"><text>d</text></answer><answer fraction="zero"><text>e</text></answer>
        <answer><text>f</text></answer>)";
    for (const auto& [single, several] : std::vector<std::pair<std::string, bool>>{{"", false},
                                                                                   {"<single>true</single>", false},
                                                                                   {"<single>false</single>", true},
                                                                                   {"<single>0</single>", true}}) {
        const SourceBank bank = ReadMoodleXml(Quiz(Multichoice("", QuestionText("q") + single + answers)));
        ASSERT_EQ(bank.Questions.size(), 1u);
        EXPECT_EQ(bank.Questions[0].Right, (Flags{true, false, true, false, false, false}));
        EXPECT_EQ(bank.Questions[0].SeveralRight, several) << single;
    }
}

TEST(ReadMoodleXml, PartialCreditCountsAsWrongOnlyWhereOneAnswerWithFullCreditIsChosen) {
    const std::string answers = QuestionText("q") + R"(<answer fraction="100"><text>a</text></answer>
        <answer fraction="50"><text>b</text></answer>)";
    const SourceBank bank = ReadMoodleXml(Quiz(
        Multichoice("", answers) + Multichoice("", "<single>false</single>" + answers) +
        Multichoice("", "<single>true</single>" + answers + R"(<answer fraction="100.0"><text>c</text></answer>)")));
    ASSERT_EQ(bank.Questions.size(), 3u);
    EXPECT_EQ(bank.Questions[0].Right, (Flags{true, false}));
    EXPECT_EQ(bank.Questions[1].Right, (Flags{true, true}));
    EXPECT_EQ(bank.Questions[2].Right, (Flags{true, true, true})); // for the import to refuse
    EXPECT_EQ(bank.Notes, (std::vector<SourceNote>{{"question 1", "partial credit of answer B is not kept; only the "
                                                                  "full-credit answer counts as right"}}));
}

TEST(ReadMoodleXml, TheFirstHintIsTakenAndFeedbackIsNoHint) {
    const std::string text = QuestionText("q") + kTwoAnswers;
    const SourceBank bank = ReadMoodleXml(
        Quiz(Multichoice("", text + R"(<hint format="html"><text><![CDATA[<p>Pierwsza</p>]]></text></hint>
                                  <hint format="html"><text>Druga</text></hint>)") +
             Multichoice("", text + R"(<generalfeedback format="html"><text>Ogólna</text></generalfeedback>)")));
    ASSERT_EQ(bank.Questions.size(), 2u);
    EXPECT_EQ(bank.Questions[0].Hint, (SourceText{"<p>Pierwsza</p>", true}));
    EXPECT_EQ(bank.Questions[1].Hint, SourceText{});
}

TEST(ReadMoodleXml, EmbeddedFilesAreDecodedAndALoneUnshownOneIsThePicture) {
    const std::string gif = R"(<file name="a b.gif" path="/" encoding="base64">R0lG
        ODlh</file>)";
    const std::string shown = QuestionText(R"(&lt;img src="@@PLUGINFILE@@/a%20b.gif"&gt;)", gif);
    const std::string answerFile = R"(<answer fraction="100"><text>t</text>
        <file name="c.png" path="/d/" encoding="base64">iVBO</file><file name="a b.gif" path="/">R0lG</file></answer>)";
    const SourceBank bank = ReadMoodleXml(Quiz(Multichoice("", shown + answerFile) +
                                               Multichoice("", QuestionText("bez obrazka", gif) + kTwoAnswers) +
                                               Multichoice("", R"(<questiontext format="plain_text">
                                                   <text>&lt;img src="x.gif"&gt;</text>)" +
                                                                   gif + "</questiontext>" + kTwoAnswers)));
    ASSERT_EQ(bank.Questions.size(), 3u);
    const Bytes gifData{'G', 'I', 'F', '8', '9', 'a'};
    EXPECT_EQ(bank.Questions[0].Files,
              (std::vector<EmbeddedFile>{{"a b.gif", gifData}, {"d/c.png", Bytes{0x89, 'P', 'N'}}}));
    EXPECT_EQ(bank.Questions[0].Picture, "");
    EXPECT_EQ(bank.Questions[1].Picture, "a b.gif");
    EXPECT_EQ(bank.Questions[2].Picture, "a b.gif");
    EXPECT_EQ(bank.Questions[2].Files, (std::vector<EmbeddedFile>{{"a b.gif", gifData}}));
}

TEST(ReadMoodleXml, FileDataDecodesAcrossLinesAndPiecesAndAnythingElseIsNoBase64) {
    const Bytes gif{'G', 'I', 'F', '8', '9', 'a'};
    const std::vector<std::pair<std::string, std::optional<Bytes>>> cases = {
        {"R0lG\r\n  ODlh\t\n", gif}, {"R0<![CDATA[lGO]]><!-- uwaga -->Dlh", gif}, {"", Bytes{}},
        {"R0lGOD", std::nullopt},    {"R0lG<b>ODlh</b>", std::nullopt},           {"R0lG\fODlh", std::nullopt},
        {"R0lG-Dlh", std::nullopt},
    };
    for (const auto& [data, decoded] : cases) {
        const SourceBank bank = ReadMoodleXml(Quiz(Multichoice(
            "", QuestionText("q", R"(<file name="p.gif" encoding="base64">)" + data + "</file>") + kTwoAnswers)));
        if (!decoded) {
            EXPECT_EQ(bank.Skipped, (std::vector<SkippedQuestion>{{"question 1", "embedded file p.gif is not base64"}}))
                << data;
        } else {
            ASSERT_EQ(bank.Questions.size(), 1u) << data;
            EXPECT_EQ(bank.Questions[0].Files, (std::vector<EmbeddedFile>{{"p.gif", *decoded}})) << data;
        }
    }
}

// Moodle 1.9's <image> beside <image_base64>: embedded like a <file>, the picture unless the text shows one.
TEST(ReadMoodleXml, OldPicturesAreEmbeddedOrLookedForBesideTheSource) {
    const Bytes gif{'G', 'I', 'F', '8', '9', 'a'};
    const std::string q = QuestionText("q");
    const struct {
        std::string Text, Image, Picture;
        std::vector<EmbeddedFile> Files;
    } cases[] = {
        {q, "<image> pic.gif </image><image_base64>R0lG\n  ODlh</image_base64>", "pic.gif", {{"pic.gif", gif}}},
        {QuestionText("&lt;img src=&quot;x.gif&quot;&gt;"),
         "<image>pic.gif</image><image_base64>R0lGODlh</image_base64>",
         "",
         {{"pic.gif", gif}}},
        {q, "<image>obrazki/mapa.png</image>", "obrazki/mapa.png", {}},
        {q, "<image>mapa.png</image><image_base64>  </image_base64>", "mapa.png", {}},
        {q, "<image></image><image_base64>R0lGODlh</image_base64>", "", {}},
        {QuestionText("q", R"(<file name="lone.gif" encoding="base64">R0lG</file>)"),
         "<image>pic.gif</image><image_base64>R0lGODlh</image_base64>",
         "lone.gif",
         {{"lone.gif", Bytes{'G', 'I', 'F'}}, {"pic.gif", gif}}},
    };
    for (const auto& [text, image, picture, files] : cases) {
        const SourceBank bank = ReadMoodleXml(Quiz(Multichoice("", text + image + kTwoAnswers)));
        ASSERT_EQ(bank.Questions.size(), 1u) << image;
        EXPECT_EQ(bank.Questions[0].Picture, picture) << image;
        EXPECT_EQ(bank.Questions[0].Files, files) << image;
    }
    const SourceBank broken = ReadMoodleXml(Quiz(
        Multichoice("", QuestionText("q") + "<image>pic.gif</image><image_base64>R0l!</image_base64>" + kTwoAnswers)));
    EXPECT_EQ(broken.Skipped, (std::vector<SkippedQuestion>{{"question 1", "embedded file pic.gif is not base64"}}));
}

TEST(ReadMoodleXml, AQuestionWithSoundOrVideoIsSkipped) {
    const std::string plainText = R"(<questiontext format="plain_text"><text>&lt;audio&gt; nagranie.mp3</text>)";
    const std::string feedbackFile = R"(<answer fraction="100"><text>tak</text><feedback><text/>
        <file name="brawo.mp3" encoding="base64">R0lG</file></feedback></answer>)";
    const struct {
        std::string Inner;
        bool Skipped;
    } cases[] = {
        {QuestionText("&lt;audio controls&gt;&lt;/audio&gt;Co słychać?") + kTwoAnswers, true},
        {QuestionText("Posłuchaj", R"(<file name="Nagranie.MP3" path="/" encoding="base64">R0lG</file>)") + kTwoAnswers,
         true},
        {QuestionText("q") + R"(<answer fraction="100"><text>t</text><file name="a.ogg">R0l!</file></answer>)", true},
        {QuestionText("q") + "<image>film.avi</image>" + kTwoAnswers, true},
        {plainText + "</questiontext>" + kTwoAnswers, false},
        {QuestionText("q") + feedbackFile, false},
        {QuestionText("q") + kTwoAnswers + R"(<hint format="html"><text>&lt;video&gt;</text></hint>)", false},
    };
    for (const auto& [inner, skipped] : cases) {
        const SourceBank bank = ReadMoodleXml(Quiz(Multichoice("Słuchanie", inner)));
        if (skipped)
            EXPECT_EQ(bank.Skipped, (std::vector<SkippedQuestion>{
                                        {"question 1 (Słuchanie)", "needs sound or video the program can't play"}}))
                << inner;
        else
            EXPECT_EQ(bank.Questions.size(), 1u) << inner;
    }
}

TEST(ReadMoodleXml, PicturesInAnswersAreNotedAsLeftOut) {
    const SourceBank bank = ReadMoodleXml(Quiz(Multichoice("Mapy", QuestionText("q") + R"(
        <answer fraction="100"><text>tak</text></answer>
        <answer fraction="0"><text>&lt;img src="@@PLUGINFILE@@/b.png"&gt;</text></answer>
        <answer fraction="0" format="plain_text"><text>&lt;img src="c.png"&gt;</text></answer>
        <answer fraction="0"><text>&lt;img src=" "&gt;d</text></answer>
        <answer fraction="0"><text><![CDATA[<p>e <img src="e.gif"></p>]]></text></answer>)")));
    EXPECT_EQ(
        bank.Notes,
        (std::vector<SourceNote>{
            {"question 1 (Mapy)", "answer B shows a picture, which the program can't show in an answer; left out"},
            {"question 1 (Mapy)", "answer E shows a picture, which the program can't show in an answer; left out"},
        }));
}

TEST(ReadMoodleXml, EntityReferencesLeftAsWrittenAreNotedByQuestion) {
    const std::string answers = R"(<answer fraction="100"><text>&lt;b&gt;</text></answer>
        <answer format="plain_text"><text>&amp;tak;</text></answer>)";
    const SourceBank bank = ReadMoodleXml(
        R"(<?xml version="1.0"?><!DOCTYPE quiz [<!ENTITY a "aaa">]><quiz>)" +
        Multichoice("", QuestionText("&xxe; &nbsp;&amp;yyy;<![CDATA[&zzz;]]><p>&a;</p>") + answers +
                            R"(<hint format="plain_text"><text>&nbsp;</text></hint>)") +
        Multichoice("", QuestionText("&nbsp;&eacute;&#322;&#x142; &amp; &12; & ;") + answers) +
        Multichoice("", QuestionText("q") + R"(<answer><text>&e1;&e2;&e1;&e3;&e4;&e5;&e6;&e7;</text></answer>)") +
        Multichoice("", R"(<questiontext format="plain_text"><text>&nbsp;&nbsp;</text></questiontext>)" + answers) +
        "</quiz>");
    ASSERT_EQ(bank.Questions.size(), 4u);
    EXPECT_EQ(bank.Questions[0].Text.Text, "&xxe; &nbsp;&yyy;&zzz;<p>&amp;a;</p>");
    EXPECT_EQ(bank.Notes, (std::vector<SourceNote>{
                              {"question 1", "entities &xxe;, &a;, &nbsp; are not expanded; kept as written"},
                              {"question 3", "entities &e1;, &e2;, &e3;, &e4;, &e5; and others are not expanded; "
                                             "kept as written"},
                              {"question 4", "entity &nbsp; is not expanded; kept as written"},
                          }));
}

TEST(ReadMoodleXml, CategoriesApplyToTheQuestionsAfterThem) {
    const std::string question = Multichoice("", QuestionText("q") + kTwoAnswers);
    const SourceBank bank = ReadMoodleXml(
        Quiz(question +
             R"(<question type="category"><category><text>$course$/top/Ułamki/1//2</text></category></question>)" +
             question + question + R"(<question type="category"><category>$course$/Przyroda</category></question>)" +
             question));
    ASSERT_EQ(bank.Questions.size(), 4u);
    EXPECT_EQ(bank.Questions[0].Category, std::vector<std::string>{});
    EXPECT_EQ(bank.Questions[1].Category, (std::vector<std::string>{"Ułamki", "1/2"}));
    EXPECT_EQ(bank.Questions[2].Category, bank.Questions[1].Category);
    EXPECT_EQ(bank.Questions[3].Category, std::vector<std::string>{"Przyroda"});
    EXPECT_EQ(bank.Questions[3].Where, "question 4");
}

TEST(ReadMoodleXml, OtherKindsAndBrokenQuestionsAreSkippedWithReasonsAndTheRestIsRead) {
    const std::string good = Multichoice("Dobre", QuestionText("q") + kTwoAnswers);
    const SourceBank bank = ReadMoodleXml(
        Quiz(R"(<question type="truefalse"><name><text> Prawda </text></name></question>
                <question type="multianswer"/><question type="description"/><question type="ordering"/>
                <question/>)" +
             good + Multichoice("Bez treści", kTwoAnswers) + Multichoice("Bez odpowiedzi", QuestionText("q")) +
             Multichoice("Zły plik", QuestionText("q", R"(<file name="x.gif">R0l!</file>)") + kTwoAnswers) + good));
    EXPECT_EQ(bank.Skipped, (std::vector<SkippedQuestion>{
                                {"question 1 (Prawda)", "true/false question"},
                                {"question 2", "cloze (embedded answers) question"},
                                {"question 3", "description, not a question"},
                                {"question 4", "question of the kind ordering"},
                                {"question 5", "question without a type"},
                                {"question 7 (Bez treści)", "no question text"},
                                {"question 8 (Bez odpowiedzi)", "no answers"},
                                {"question 9 (Zły plik)", "embedded file x.gif is not base64"},
                            }));
    ASSERT_EQ(bank.Questions.size(), 2u);
    EXPECT_EQ(bank.Questions[0].Where, "question 6 (Dobre)");
    EXPECT_EQ(bank.Questions[1].Where, "question 10 (Dobre)");
}

TEST(ReadMoodleXml, ADocumentThatIsNoQuizIsOneSkippedEntry) {
    const SourceBank broken = ReadMoodleXml("<?xml version=\"1.0\"?>\n<quiz>\n<question>\n</quiz>");
    ASSERT_EQ(broken.Skipped.size(), 1u);
    EXPECT_EQ(broken.Skipped[0].Where, "line 4");
    EXPECT_NE(broken.Skipped[0].Why.find("not readable XML"), std::string::npos);
    EXPECT_EQ(ReadMoodleXml("").Skipped.size(), 1u);
    EXPECT_EQ(ReadMoodleXml("<questions/>").Skipped, (std::vector<SkippedQuestion>{{"line 1", "no <quiz> element"}}));
    EXPECT_TRUE(broken.Questions.empty());
}

std::string PercentDecoded(std::string_view text) {
    std::string decoded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            decoded += static_cast<char>(std::stoi(std::string(text.substr(i + 1, 2)), nullptr, 16));
            i += 2;
        } else {
            decoded += text[i];
        }
    }
    return decoded;
}

SourceText Flattened(const SourceText& text) { return {text.Html ? FlattenHtml(text.Text).Text : text.Text, false}; }

// What the import makes of a read question: plain texts, the picture from the first <img>.
SourceQuestion Imported(SourceQuestion question) {
    question.Where.clear();
    const std::vector<std::string> images = FlattenHtml(question.Text.Text).Images;
    constexpr std::string_view kPluginFile = "@@PLUGINFILE@@/";
    if (question.Picture.empty() && !images.empty() && images[0].starts_with(kPluginFile))
        question.Picture = PercentDecoded(images[0].substr(kPluginFile.size()));
    question.Text = Flattened(question.Text);
    for (SourceText& answer : question.Answers)
        answer = Flattened(answer);
    question.Hint = Flattened(question.Hint);
    return question;
}

SourceQuestion Plain(std::vector<std::string> category, std::string text, std::vector<std::string> answers,
                     Flags right) {
    SourceQuestion question;
    question.Category = std::move(category);
    question.Text.Text = std::move(text);
    for (std::string& answer : answers)
        question.Answers.push_back({std::move(answer), false});
    question.Right = std::move(right);
    return question;
}

std::vector<SourceQuestion> RoundTripQuestions() {
    std::vector<SourceQuestion> questions{
        Plain({"Matematyka", "Ułamki 1/2"}, "Ile to ½ + ¼?\n  Policz  dokładnie.",
              {"¾", "a < b & c > \"d\"", "]]> koniec"}, {false, true, false}),
        Plain({"Matematyka", "Ułamki 1/2"}, "Zaznacz liczby pierwsze:", {"2", "3", "4", "9"},
              {true, true, false, false}),
        Plain({}, "\tWcięcie <b> nie jest znacznikiem", {"Źdźbło", "żółw", "gęś", "łąka", "ćma"},
              {true, false, true, true, false}),
        Plain({"Przyroda"}, "Jaka to ryba?", {"karp", "szczupak", "okoń"}, {false, false, true}),
    };
    questions[0].Hint.Text = "Dodaj licznik & mianownik ]]>\ni sprawdź.";
    questions[0].Picture = "mapa a.gif";
    questions[0].Files = {{"mapa a.gif", Bytes{'G', 'I', 'F', '8', '9', 'a', 0, 0xFF}}};
    questions[1].SeveralRight = true;
    questions[2].SeveralRight = true;
    questions[3].Picture = "zdjęcia/ryba 100%.gif";
    questions[3].Files = {{"zdjęcia/ryba 100%.gif", Bytes{'G', 'I', 'F'}}};
    return questions;
}

TEST(WriteMoodleXml, WhatIsWrittenReadsBackAsTheSameQuestions) {
    const std::vector<SourceQuestion> questions = RoundTripQuestions();
    const std::string xml = WriteMoodleXml(questions);
    EXPECT_EQ(XmllintProblem(xml), "");
    const SourceBank bank = ReadMoodleXml(xml);
    EXPECT_TRUE(bank.Skipped.empty());
    ASSERT_EQ(bank.Questions.size(), questions.size());
    for (std::size_t i = 0; i < questions.size(); ++i)
        EXPECT_EQ(Imported(bank.Questions[i]), questions[i]) << i;
}

TEST(WriteMoodleXml, GradesAreOnesMoodleOffersAndCategoriesAreWrittenWhenTheyChange) {
    const std::string xml = WriteMoodleXml(RoundTripQuestions());
    EXPECT_TRUE(xml.starts_with("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<quiz>"));
    for (const std::string fraction :
         {"fraction=\"100\"", "fraction=\"50\"", "fraction=\"33.33333\"", "fraction=\"-100\"", "fraction=\"0\""})
        EXPECT_NE(xml.find(fraction), std::string::npos) << fraction;
    std::vector<std::string> categories;
    for (std::size_t at = xml.find("$course$"); at != std::string::npos; at = xml.find("$course$", at + 1))
        categories.push_back(xml.substr(at, xml.find('<', at) - at));
    EXPECT_EQ(categories, (std::vector<std::string>{"$course$/top/Matematyka/Ułamki 1//2", "$course$/top",
                                                    "$course$/top/Przyroda"}));
}

// Every control character, then what else XML 1.0 forbids or isn't UTF-8: U+FFFE, U+FFFF, an
// encoded surrogate and a stray byte.
std::string WithForbidden(const std::string& text) {
    std::string forbidden;
    for (char c = 1; c < 0x20; ++c)
        forbidden += c;
    return text + forbidden + "\xEF\xBF\xBE\xEF\xBF\xBF\xED\xA0\x80\xFF" + text;
}

TEST(WriteMoodleXml, AnyCharacterInTheQuestionsGivesWellFormedXmlAndAVerticalTabBreaksTheLine) {
    SourceQuestion question =
        Plain({WithForbidden("Dział")}, "przed\vpo" + WithForbidden(" x"), {WithForbidden("a"), "b"}, {true, false});
    question.Hint.Text = WithForbidden("h");
    question.Picture = WithForbidden("obraz") + ".gif";
    question.Files = {{question.Picture, Bytes{'G', 'I', 'F'}}};
    const std::string xml = WriteMoodleXml(std::vector{question, question});
    EXPECT_EQ(XmllintProblem(xml), "");
    const SourceBank bank = ReadMoodleXml(xml);
    EXPECT_TRUE(bank.Skipped.empty());
    ASSERT_EQ(bank.Questions.size(), 2u);
    const SourceQuestion read = Imported(bank.Questions[0]);
    EXPECT_TRUE(read.Text.Text.starts_with("przed\npo x")) << read.Text.Text;
    ASSERT_EQ(read.Files.size(), 1u);
    EXPECT_EQ(read.Picture, read.Files[0].Name);
    EXPECT_EQ(read.Files[0].Data, (Bytes{'G', 'I', 'F'}));
}

} // namespace
} // namespace skq
