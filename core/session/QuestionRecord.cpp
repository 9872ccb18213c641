#include "core/session/QuestionRecord.h"

#include "core/base/Random.h"

#include <algorithm>
#include <span>
#include <string_view>

namespace {

constexpr std::string_view kThreeAnswerOrders[] = {"123", "132", "213", "231", "321", "312"};

// Four orders come twice, so they are drawn twice as often.
constexpr std::string_view kFourAnswerOrders[] = {
    "1234", "1243", "1324", "1342", "1423", "1432", "2134", "2143", "2314", "2341", "3124", "3142", "3214", "3241",
    "4123", "4132", "4213", "4231", "4312", "4321", "3412", "3421", "2413", "2431", "3412", "3421", "4312", "4321"};

// 100 of the 120 orders; the last two come twice.
constexpr std::string_view kFiveAnswerOrders[] = {
    "12345", "12435", "13245", "13425", "14235", "14325", "21345", "21435", "23145", "23415", "31245", "31425", "32145",
    "32415", "41235", "41325", "42135", "42315", "43125", "43215", "34125", "34215", "13254", "13452", "14253", "14352",
    "21354", "21453", "23154", "23451", "31254", "31452", "32154", "32451", "41253", "41352", "42153", "42351", "43152",
    "43251", "34152", "34251", "13524", "13542", "14523", "14532", "21534", "21543", "23514", "23541", "31524", "31542",
    "32514", "32541", "41523", "41532", "42513", "42531", "43512", "43521", "34512", "34521", "15324", "15342", "15423",
    "15432", "25134", "25143", "25314", "25341", "35124", "35142", "35214", "35241", "45123", "45132", "45213", "45231",
    "45312", "45321", "35412", "35421", "51324", "51342", "51423", "51432", "52134", "52143", "52314", "52341", "53124",
    "53142", "53214", "53241", "54123", "54132", "54213", "54231", "54312", "54321", "54312", "54321"};

std::span<const std::string_view> OrderTable(int answerCount) {
    switch (answerCount) {
    case 3: return kThreeAnswerOrders;
    case 4: return kFourAnswerOrders;
    default: return kFiveAnswerOrders;
    }
}

// Answers 1..AnswerCount that exist in the record; a damaged count never reaches past the slots.
int UsedAnswers(const QuestionRecord& question) {
    return std::clamp(question.AnswerCount, 0, QuestionRecord::kMaxAnswers);
}

} // namespace

void ResetQuestionRecord(QuestionRecord& question) {
    question.QuestionText.clear();
    for (AnswerSlot& slot : question.Answers) {
        slot.Text.clear();
        slot.Correct = false;
        slot.Selected = false;
    }
    question.Key = "00000";
    question.TextName.clear();
    question.PictureName.clear();
    question.Hint.clear();
    question.OrderRow.clear();
    question.AnswerCount = 3;
    question.QuestionType = 0;
}

std::string PickAnswerOrder(int answerCount, Random& random) {
    const std::span<const std::string_view> table = OrderTable(answerCount);
    return std::string(table[random.Draw(static_cast<std::uint32_t>(table.size()))]);
}

bool SetUpAnswerOrder(QuestionRecord& question, Random& random) {
    if (question.Key.empty() || question.AnswerCount < 3 || question.AnswerCount > QuestionRecord::kMaxAnswers)
        return false;
    for (int k = 1; k <= QuestionRecord::kMaxAnswers; ++k)
        question.Answer(k).Correct = k <= static_cast<int>(question.Key.size()) && question.Key[k - 1] == '1';
    question.OrderRow = PickAnswerOrder(question.AnswerCount, random);
    for (int k = 1; k <= question.AnswerCount; ++k)
        question.Answer(k).Position = question.OrderRow[k - 1] - '0';
    return true;
}

int AnswerAtPosition(const QuestionRecord& question, int position) {
    for (int k = 1; k <= UsedAnswers(question); ++k)
        if (question.Answer(k).Position == position)
            return k;
    return -1;
}

std::string AnswerTextAtPosition(const QuestionRecord& question, int position) {
    const int k = AnswerAtPosition(question, position);
    return k < 0 ? std::string{} : question.Answer(k).Text;
}

void ClearSelection(QuestionRecord& question) {
    for (int k = 1; k <= UsedAnswers(question); ++k)
        question.Answer(k).Selected = false;
}

void ToggleAnswer(QuestionRecord& question, int position) {
    const int k = AnswerAtPosition(question, position);
    if (k < 0)
        return;
    if (question.QuestionType == 0) {
        ClearSelection(question);
        question.Answer(k).Selected = true;
    } else {
        question.Answer(k).Selected = !question.Answer(k).Selected;
    }
}

bool AnyAnswerChosen(const QuestionRecord& question) {
    for (int k = 1; k <= UsedAnswers(question); ++k)
        if (question.Answer(k).Selected)
            return true;
    return false;
}

bool AllAnswersRight(const QuestionRecord& question) {
    for (int k = 1; k <= UsedAnswers(question); ++k)
        if (question.Answer(k).Selected != question.Answer(k).Correct)
            return false;
    return true;
}

TileLook SelectionLook(const AnswerSlot& answer) { return answer.Selected ? TileLook::Chosen : TileLook::Plain; }

TileLook VerdictLook(const AnswerSlot& answer) {
    if (answer.Correct)
        return answer.Selected ? TileLook::Chosen : TileLook::Missed;
    return answer.Selected ? TileLook::Wrong : TileLook::Plain;
}
