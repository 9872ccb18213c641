#include "gui/windows/ReviewWindow.h"

#include "core/session/TestRun.h"
#include "gui/windows/SummaryWindow.h"
#include "support/FreshProgramState.h"
#include "support/MainWindowStandIn.h"
#include "support/Recorder.h"

#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace {

class Review : public ::testing::Test {
protected:
    Review() {
        state.Run.RunMistakes = {{.Number = 2,
                                  .QuestionText = "Ile to 2 + 2?",
                                  .Answers = {{'A', "5", true, false}, {'B', "4", false, true}},
                                  .Hint = "<b>policz</b>"}};
    }
    ~Review() override { state.Run.RunMistakes.clear(); }

    // Runs the check while the review is the modal window, then makes sure it is gone. The
    // check is kept by value: the timer fires after the caller's argument is gone.
    void WhileReviewShows(std::function<void(ReviewWindow&)> check) {
        QTimer::singleShot(0, [check = std::move(check)] {
            auto* review = qobject_cast<ReviewWindow*>(QApplication::activeModalWidget());
            if (!review) {
                ADD_FAILURE() << "the review is not the modal window";
                QApplication::activeModalWidget()->close();
                return;
            }
            check(*review);
            if (review->isVisible())
                review->done(0);
        });
    }

    MainWindowStandIn main;
    Recorder record;
    FreshProgramState state{record};
    SummaryWindow summary{state.Run, state.LearnerSettings};
};

TEST_F(Review, TheSummaryLinkOpensTheCoreTextAndKopiujCopiesItAll) {
    summary.Prepare(u"Pytań w zestawie: 3", main.top);
    summary.show();
    QString shown;
    QString copied;
    WhileReviewShows([&](ReviewWindow& review) {
        auto* text = review.findChild<QPlainTextEdit*>("MTekst");
        shown = text->toPlainText();
        EXPECT_TRUE(text->isReadOnly());
        QTest::mouseClick(review.findChild<QPushButton*>("BKopiuj"), Qt::LeftButton);
        copied = QGuiApplication::clipboard()->text();
        EXPECT_TRUE(review.isVisible()) << "copying keeps the review open";
    });
    QTest::mouseClick(summary.findChild<QWidget*>("LPrzejrzyjBledy"), Qt::LeftButton);
    EXPECT_EQ(shown.toStdU16String(), RunReviewText(state.Run.RunMistakes));
    EXPECT_TRUE(shown.contains("Podpowiedź: <b>policz</b>")) << "text from files stays plain";
    EXPECT_EQ(copied, shown);
    EXPECT_TRUE(summary.isVisible()) << "the summary stays until its own close spot";
}

TEST_F(Review, KeysOpenAndCloseIt) {
    summary.Prepare(u"tekst", main.top);
    summary.show();
    for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
        bool closed = false;
        WhileReviewShows([&](ReviewWindow& review) {
            QTest::keyClick(review.findChild<QPlainTextEdit*>("MTekst"), key);
            closed = !review.isVisible();
        });
        QTest::keyClick(&summary, Qt::Key_P);
        EXPECT_TRUE(closed) << key;
    }
    WhileReviewShows([](ReviewWindow& review) {
        QTest::mouseClick(review.findChild<QPushButton*>("BZamknij"), Qt::LeftButton);
        EXPECT_FALSE(review.isVisible());
    });
    QTest::keyClick(&summary, Qt::Key_P);
}

} // namespace
