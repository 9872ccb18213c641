#include "support/SourceBankTexts.h"
#include "tools/skq/formats/HtmlText.h"
#include "tools/skq/formats/SourceBank.h"

#include <gtest/gtest.h>

namespace skq {
namespace {

TEST(GiftReader, ChoicesComeWithTitleAndStartingLineOverCrlf) {
    const SourceBank bank = ReadGift("// Przyroda\r\n::Rzeki::Która rzeka jest najdłuższa?\r\n{=Wisła ~Odra\r\n~Warta}"
                                     "\r\n\r\nIle nóg ma pająk? {~6 =8 ~10}\r\n");
    ASSERT_EQ(bank.Questions.size(), 2u);
    EXPECT_TRUE(bank.Skipped.empty());
    const SourceQuestion& rivers = bank.Questions[0];
    EXPECT_EQ(rivers.Where, "line 2 (Rzeki)");
    EXPECT_EQ(rivers.Text, (SourceText{"Która rzeka jest najdłuższa?", false}));
    EXPECT_EQ(AnswerTexts(rivers), (Texts{"Wisła", "Odra", "Warta"}));
    EXPECT_EQ(rivers.Right, (Flags{true, false, false}));
    EXPECT_FALSE(rivers.SeveralRight);
    EXPECT_TRUE(rivers.Category.empty());
    EXPECT_EQ(bank.Questions[1].Where, "line 6");
    EXPECT_EQ(bank.Questions[1].Right, (Flags{false, true, false}));
}

TEST(GiftReader, EscapesAreUndoneAndOtherBackslashesStay) {
    const SourceBank bank =
        ReadGift(R"(::a\:b::2\+2 \= 4 \{x\} \~ \# \\ koniec\nlinia {=a\=b ~c\~d ~e\#f\{\}\: g\\h\}})");
    ASSERT_EQ(bank.Questions.size(), 1u);
    EXPECT_EQ(bank.Questions[0].Where, "line 1 (a:b)");
    EXPECT_EQ(bank.Questions[0].Text.Text, "2\\+2 = 4 {x} ~ # \\ koniec\nlinia");
    EXPECT_EQ(AnswerTexts(bank.Questions[0]), (Texts{"a=b", "c~d", "e#f{}: g\\h}"}));
}

TEST(GiftReader, LinesOfATextStayAndHtmlAppliesToTheWholeQuestion) {
    const SourceBank bank = ReadGift("Pierwsza linia\n  druga linia\n{\n  =tak\n  ~nie\n  ~długa\nodpowiedź\n}\n\n"
                                     "[html]<p>Ile to\n2 + 2?</p> {=4 ~5 ####<b>Policz</b>}");
    ASSERT_EQ(bank.Questions.size(), 2u);
    EXPECT_EQ(bank.Questions[0].Text, (SourceText{"Pierwsza linia\n  druga linia", false}));
    EXPECT_EQ(AnswerTexts(bank.Questions[0]), (Texts{"tak", "nie", "długa\nodpowiedź"}));
    const SourceQuestion& html = bank.Questions[1];
    EXPECT_EQ(html.Text, (SourceText{"<p>Ile to\n2 + 2?</p>", true}));
    EXPECT_EQ(html.Answers, (std::vector<SourceText>{{"4", true}, {"5", true}}));
    EXPECT_EQ(html.Hint, (SourceText{"<b>Policz</b>", true}));
}

TEST(GiftReader, AnAnswersOwnFormatMarkerIsTakenOffAndDecidesItsFormat) {
    const SourceBank bank =
        ReadGift("P {~[moodle]Nunca. =[plain]blue ~ [HTML]<b>x</b> ~%-1%[markdown]*y* ~a [html]}\n\n"
                 "[html]<p>P</p> {=[plain]a < b ~<i>d</i>}");
    ASSERT_EQ(bank.Questions.size(), 2u);
    EXPECT_EQ(bank.Questions[0].Answers,
              (std::vector<SourceText>{
                  {"Nunca.", false}, {"blue", false}, {"<b>x</b>", true}, {"*y*", false}, {"a [html]", false}}));
    EXPECT_EQ(bank.Questions[1].Answers, (std::vector<SourceText>{{"a < b", false}, {"<i>d</i>", true}}));
}

TEST(GiftReader, AnswerFeedbackIsDroppedAndGeneralFeedbackBecomesTheHint) {
    const SourceBank bank =
        ReadGift("Stolica Polski? {=Warszawa#Dobrze! ~Kraków #Nie, to dawna stolica.\n~Gdańsk ####Spójrz na mapę.}");
    ASSERT_EQ(bank.Questions.size(), 1u);
    EXPECT_EQ(AnswerTexts(bank.Questions[0]), (Texts{"Warszawa", "Kraków", "Gdańsk"}));
    EXPECT_EQ(bank.Questions[0].Hint, (SourceText{"Spójrz na mapę.", false}));
}

TEST(GiftReader, WeightsMakeSeveralRightAndPositiveOnesAreRight) {
    const SourceBank bank = ReadGift("Parzyste? {~%50%2 ~%50,0%4 ~%-100%3 ~%0%5}\n\n"
                                     "Jedna waga {~%100%tak ~nie ~może}\n\n"
                                     "Dwie dobre bez wag {=a =b ~c}");
    ASSERT_EQ(bank.Questions.size(), 3u);
    EXPECT_EQ(bank.Questions[0].Right, (Flags{true, true, false, false}));
    EXPECT_EQ(AnswerTexts(bank.Questions[0]), (Texts{"2", "4", "3", "5"}));
    EXPECT_TRUE(bank.Questions[0].SeveralRight);
    // One answer with full credit and none taking credit away: one answer to choose.
    EXPECT_FALSE(bank.Questions[1].SeveralRight);
    EXPECT_EQ(bank.Questions[1].Right, (Flags{true, false, false}));
    // Several right answers to choose one of: passed on as written.
    EXPECT_EQ(bank.Questions[2].Right, (Flags{true, true, false}));
    EXPECT_FALSE(bank.Questions[2].SeveralRight);
}

TEST(GiftReader, PartialCreditInAOneAnswerQuestionCountsAsWrongWithANote) {
    const SourceBank bank = ReadGift("Chopin {=Żelazowa Wola ~%50%okolice Sochaczewa ~Kraków}\n\n"
                                     "Dwie {~%25%a ~%100%b ~%33,3%c}\n\n"
                                     // Credit taken away, full credit twice, a lone answer: each one is ticked.
                                     "a {=a ~%50%b ~%-100%c}\n\nb {=a ~%100%b ~%50%c}\n\nc {~%100%a}");
    const std::vector<std::pair<Flags, bool>> expected = {{{true, false, false}, false},
                                                          {{false, true, false}, false},
                                                          {{true, true, false}, true},
                                                          {{true, true, true}, true},
                                                          {{true}, true}};
    ASSERT_EQ(bank.Questions.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(std::pair(bank.Questions[i].Right, bank.Questions[i].SeveralRight), expected[i]) << i;
    const std::string dropped = " is not kept; only the full-credit answer counts as right";
    EXPECT_EQ(bank.Notes, (std::vector<SourceNote>{{"line 1", "partial credit of answer B" + dropped},
                                                   {"line 3", "partial credit of answers A, C" + dropped}}));
}

TEST(GiftReader, TextAfterTheAnswersLeavesAGapWhereTheyStood) {
    const SourceBank bank =
        ReadGift("Mikołaj Kopernik urodził się w {=1473 ~1543 ~1492} roku.\n\n{=Wisła ~Odra} to rzeka.");
    ASSERT_EQ(bank.Questions.size(), 2u);
    EXPECT_EQ(bank.Questions[0].Text.Text, "Mikołaj Kopernik urodził się w _____ roku.");
    EXPECT_EQ(bank.Questions[1].Text.Text, "_____ to rzeka.");
}

TEST(GiftReader, CategoriesHoldForTheQuestionsAfterThem) {
    const SourceBank bank = ReadGift("Na górze {=a ~b}\n\n$CATEGORY: $course$/top/Matematyka/Ułamki 1//2\n\n"
                                     "Pierwsze {=a ~b}\n$CATEGORY: Przyroda\nDrugie {=a ~b}\n");
    ASSERT_EQ(bank.Questions.size(), 3u);
    EXPECT_EQ(bank.Questions[0].Category, Texts{});
    EXPECT_EQ(bank.Questions[1].Category, (Texts{"Matematyka", "Ułamki 1/2"}));
    EXPECT_EQ(bank.Questions[2].Category, Texts{"Przyroda"});
    EXPECT_EQ(bank.Questions[2].Where, "line 7");
}

TEST(GiftReader, APictureInAnAnswerIsNoted) {
    const SourceBank bank = ReadGift(R"([html]Który to Kraków? {=a ~<img src\="b.png"> ~c})");
    ASSERT_EQ(bank.Questions.size(), 1u);
    EXPECT_EQ(bank.Notes,
              (std::vector<SourceNote>{
                  {"line 1", "answer B shows a picture, which the program can't show in an answer; left out"}}));
}

TEST(GiftReader, OtherKindsAndBrokenQuestionsAreSkippedAndTheRestStillReads) {
    const SourceBank bank = ReadGift("::PF::Ziemia jest płaska. {F}\n\n"
                                     "Kot ma cztery łapy. {TRUE#Dobrze}\n\n"
                                     "Stolica Polski? {=Warszawa =Warszawie}\n\n"
                                     "Dopasuj. {=Wisła -> Gdańsk =Odra -> Szczecin}\n\n"
                                     "Ile to pi? {#3.14:0.01}\n\n"
                                     "Opisz wakacje. {}\n\n"
                                     "Tylko opis.\n\n"
                                     "Luka {1:MULTICHOICE:=a~b}\n\n"
                                     "Dwie {=a ~b} luki {=c ~d}\n\n"
                                     "Zepsute {=a ~b\n\n"
                                     "::Bez końca tytułu {=a ~b}\n\n"
                                     "Waga {~%dużo%a ~b}\n\n"
                                     "Tekst {przed =a ~b}\n\n"
                                     "Na końcu {=a ~b ~c}\n");
    const std::vector<SkippedQuestion> expected = {
        {"line 1 (PF)", "true/false question"},
        {"line 3", "true/false question"},
        {"line 5", "short answer question"},
        {"line 7", "matching question"},
        {"line 9", "numerical question"},
        {"line 11", "essay question"},
        {"line 13", "description, not a question"},
        {"line 15", "cloze (embedded answers) question"},
        {"line 17", "cloze (embedded answers) question"},
        {"line 19", "unclosed braces"},
        {"line 21", "title without its closing ::"},
        {"line 23", "unreadable answer weight"},
        {"line 25", "answers not marked with = or ~"},
    };
    EXPECT_EQ(bank.Skipped, expected);
    ASSERT_EQ(bank.Questions.size(), 1u);
    EXPECT_EQ(bank.Questions[0].Where, "line 27");
}

TEST(GiftWriter, CategoriesWeightsAndHintAreWrittenAsTheFormatHasThem) {
    SourceQuestion question;
    question.Where = "Ułamki.skq";
    question.Category = {"Matematyka", "1/2"};
    question.Text = {"Które są równe 1/2?", false};
    question.Answers = {{"2/4", false}, {"3/6", false}, {"1/3", false}, {"5/10", false}};
    question.Right = {true, true, false, true};
    question.SeveralRight = true;
    question.Hint = {"Skróć ułamek.", false};
    EXPECT_EQ(WriteGift(std::vector{question, question}),
              "$CATEGORY: $course$/top/Matematyka/1//2\n\n"
              "// Ułamki.skq\n::Które są równe 1/2?::Które są równe 1/2? {\n"
              "~%33.33333%2/4\n~%33.33333%3/6\n~%-100%1/3\n~%33.33333%5/10\n####Skróć ułamek.\n}\n\n"
              "// Ułamki.skq\n::Które są równe 1/2?::Które są równe 1/2? {\n"
              "~%33.33333%2/4\n~%33.33333%3/6\n~%-100%1/3\n~%33.33333%5/10\n####Skróć ułamek.\n}\n\n");
}

// What the import step makes of a question read: HTML flattened, its picture found.
SourceQuestion AsImported(SourceQuestion question) {
    const auto flatten = [](SourceText& text) {
        if (text.Html)
            text = {FlattenHtml(text.Text).Text, false};
    };
    if (question.Text.Html) {
        const FlatText flat = FlattenHtml(question.Text.Text);
        question.Picture = flat.Images.empty() ? "" : PercentDecoded(flat.Images.front());
    }
    flatten(question.Text);
    flatten(question.Hint);
    for (SourceText& answer : question.Answers)
        flatten(answer);
    question.Where.clear();
    return question;
}

SourceQuestion Question(std::vector<std::string> category, std::string text, Texts answers, Flags right) {
    SourceQuestion question;
    question.Category = std::move(category);
    question.Text = {std::move(text), false};
    for (std::string& answer : answers)
        question.Answers.push_back({std::move(answer), false});
    question.Right = std::move(right);
    return question;
}

TEST(GiftRoundTrip, WrittenQuestionsReadBackAsTheyWere) {
    std::vector<SourceQuestion> questions;
    questions.push_back(Question({"Matematyka", "Dodawanie 1/2"}, R"(Ile to {2+2}=? ~ # \ : ::x \n)",
                                 {"a=b", "c~d", "e#f", "g{h}", "i:j\\k"}, {false, true, false, false, false}));
    questions[0].Hint = {"Użyj palców: 1\\2 #", false};
    questions.push_back(Question({"Matematyka", "Dodawanie 1/2"}, "Zaznacz  liczby\nparzyste:",
                                 {" 2", "4\nczyli cztery", "%6", "7 ", "8"}, {true, true, true, false, false}));
    questions[1].SeveralRight = true;
    questions[1].Hint = {"Parzyste dzielą się\nprzez 2.", false};
    questions.push_back(Question({}, "Co jest na mapie?", {"Wisła", "Odra", "Bug"}, {true, false, false}));
    questions[2].Picture = "mapa polski 50%41.png"; // "%" would start an escape
    questions.push_back(
        Question({"/Przyroda/"}, "[html] to nie znacznik", {"tak", "nie", "może"}, {false, true, false}));
    questions[3].SeveralRight = true;
    questions.push_back(Question({"/Przyroda/"}, "  wcięcie", {"a", "b", "c"}, {false, false, false}));
    questions[4].SeveralRight = true;
    // Answers that start like format markers, in a plain question and in one written as HTML.
    questions.push_back(Question({}, "Znaczniki", {"[html]<b>a</b>", "[Plain]b", "[markdown]"}, {true, false, false}));
    questions.push_back(Question({}, "Znaczniki\nw HTML", {"[moodle]x", "[html] y", "[plain]"}, {false, true, false}));

    const SourceBank bank = ReadGift(WriteGift(questions));
    EXPECT_TRUE(bank.Skipped.empty());
    ASSERT_EQ(bank.Questions.size(), questions.size());
    for (std::size_t i = 0; i < questions.size(); ++i)
        EXPECT_EQ(AsImported(bank.Questions[i]), questions[i]) << "question " << i;
}

} // namespace
} // namespace skq
