#include "core/presentation/TestScreenRules.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kWide(36, 'm'); // 330 of the answer label's 353 pixels

struct Case {
    std::string Text;
    LabelSize Label;
    bool CutOff;
};

} // namespace

// How the labels wrap is checked against the real window in the window tests; these are the rules.
TEST(CutOffOnScreen, LinesWordsAndBreaks) {
    const Case cases[] = {
        {"", kQuestionLabel, false},
        {"Warszawa", kAnswerLabel, false},
        {"a\ra\r\na\na\ra", kQuestionLabel, false}, // five lines, the edge ones lose 2 pixels
        {"a\ra\r\na\na\ra\ra", kQuestionLabel, true},
        {"a\vb\fc", kHintLabel, true},
        {std::string(40, 'm'), kAnswerLabel, true}, // one word wider than the label
        {kWide + " aaaa", kAnswerLabel, false},     // two lines
        {kWide + " ????", kAnswerLabel, true},      // no line starts with "?": the word runs past the edge
        {"aaaaaaaa " + kWide, kAnswerLabel, false},
        {"(((((((( " + kWide, kAnswerLabel, true}, // nor does one end with "("
        {"   " + kWide, kAnswerLabel, false},
        {std::string(3, '\t') + kWide, kAnswerLabel, true}, // a tab reaches the next stop, 80 pixels on
    };
    for (const Case& c : cases)
        EXPECT_EQ(CutOffOnScreen(c.Text, c.Label), c.CutOff) << c.Text;
}
