#include "core/presentation/AccessibleTexts.h"

#include <gtest/gtest.h>

#include <climits>

TEST(AccessibleTexts, AnswerTileNamesLetterTextAndStateBeforeAndAfterTheCheck) {
    AnswerTileFacts tile{.Position = 2, .Text = u"Toruń"};
    EXPECT_EQ(AnswerTileName(tile), u"Odpowiedź B: Toruń");
    tile.Chosen = true;
    EXPECT_EQ(AnswerTileName(tile), u"Odpowiedź B: Toruń, zaznaczona");
    // Before the check a right answer must not give itself away.
    tile.Correct = true;
    EXPECT_EQ(AnswerTileName(tile), u"Odpowiedź B: Toruń, zaznaczona");
    tile.Checked = true;
    EXPECT_EQ(AnswerTileName(tile), u"Odpowiedź B: Toruń, zaznaczona, poprawna");
    tile.Chosen = false;
    EXPECT_EQ(AnswerTileName(tile), u"Odpowiedź B: Toruń, poprawna");
    tile.Correct = false;
    EXPECT_EQ(AnswerTileName(tile), u"Odpowiedź B: Toruń");
    tile.Chosen = true;
    EXPECT_EQ(AnswerTileName(tile), u"Odpowiedź B: Toruń, zaznaczona, błędna");
}

TEST(AccessibleTexts, AnswerTileWithoutTextOrOutsideTheFivePositionsKeepsWhatItHas) {
    EXPECT_EQ(AnswerTileName({.Position = 5, .Text = u""}), u"Odpowiedź E");
    EXPECT_EQ(AnswerTileName({.Position = 1, .Text = u"x"}), u"Odpowiedź A: x");
    EXPECT_EQ(AnswerTileName({.Position = 0, .Text = u"x"}), u"Odpowiedź: x");
    EXPECT_EQ(AnswerTileName({.Position = 6, .Text = u"x"}), u"Odpowiedź: x");
}

TEST(AccessibleTexts, SetTreeRowsTellKindLevelAndWhetherACategoryIsOpen) {
    EXPECT_EQ(SetTreeRowName({.Name = u"Matematyka", .Level = 0, .Category = true}),
              u"Matematyka, kategoria, poziom 1, zwinięta");
    EXPECT_EQ(SetTreeRowName({.Name = u"Geometria", .Level = 1, .Category = true, .Open = true}),
              u"Geometria, kategoria, poziom 2, rozwinięta");
    EXPECT_EQ(SetTreeRowName({.Name = u"Trójkąty", .Level = 2}), u"Trójkąty, zestaw, poziom 3");
}

TEST(AccessibleTexts, SetTreeLevelsFromAFileNeverOverflowOrGoBelowTheTop) {
    EXPECT_EQ(SetTreeRowName({.Name = u"a", .Level = INT32_MAX}), u"a, zestaw, poziom 2147483648");
    EXPECT_EQ(SetTreeRowName({.Name = u"a", .Level = INT32_MIN}), u"a, zestaw, poziom 1");
    EXPECT_EQ(SetTreeRowName({.Name = u"a", .Level = -1}), u"a, zestaw, poziom 1");
}
