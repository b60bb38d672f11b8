// The search job behind Hint and Solve level, and the book of what Solve
// level proved: answers off the window thread on a copy, cancelling, the
// answers kept for positions searched before, and a book that survives a
// damaged file.

#include "play/tb_searchjob.h"
#include "records/tb_shortest.h"
#include "services/d_file.h"
#include "tests/engine/engine_support.h"
#include "tests/test_support.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace tb::test {
namespace {

class TPlay final : public TActiveMap {
public:
    explicit TPlay(const TMap& level) { Assign(level); }
};

// Two food apart, the way round the wall the shorter.
const Rows Loop = {"#######", "#H  + #", "# ### #", "#+    #", "#######"};
// The hero is walled in away from the food.
const Rows Walled = {"#####", "#H#+#", "#####"};

std::unique_ptr<TMap> Level(const Rows& rows) {
    auto map = std::make_unique<TMap>();
    Lay(*map, rows);
    return map;
}

// Waits for the job's answer (no time limit: a hung search hangs the test).
TSearchAnswer Wait(TSearchJob& job) {
    while (!job.Done())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    std::optional<TSearchAnswer> answer = job.Take();
    EXPECT_TRUE(answer.has_value());
    EXPECT_FALSE(job.Active());
    return answer.value_or(TSearchAnswer{});
}

TEST(SearchJob, FollowingTheHintsWinsInTheFewestStepsAndEachLaterHintIsKnownAtOnce) {
    const auto level = Level(Loop);
    const TSolveResult plain = Solve(*level);
    ASSERT_EQ(plain.Outcome, TSolveOutcome::Solved);
    THinter hinter;
    TSearchJob job(hinter);
    TPlay play(*level);
    int steps = 0;
    while (play.GetFoodCount() > 0 && steps <= 100) {
        std::optional<THint> known = hinter.Known(play, 1000);
        if (steps == 0) {
            EXPECT_FALSE(known) << "nothing is known before the first search";
            job.Start(play, 1000);
            const TSearchAnswer answer = Wait(job);
            ASSERT_TRUE(answer.Error.empty()) << answer.Error;
            known = answer.Hint;
            // The same position again is answered from what was found.
            const std::optional<THint> again = hinter.Known(play, 1000);
            ASSERT_TRUE(again);
            EXPECT_TRUE(again->FromCache);
            EXPECT_EQ(again->Next, known->Next);
        }
        ASSERT_TRUE(known) << "step " << steps << " of the way found is not known";
        ASSERT_EQ(known->Outcome, TSolveOutcome::Solved);
        EXPECT_EQ(known->Steps, static_cast<int>(plain.Moves.size()) - steps);
        ASSERT_TRUE(play.HeroMove(known->Next));
        ++steps;
    }
    EXPECT_EQ(steps, static_cast<int>(plain.Moves.size()));
    EXPECT_TRUE(level->SameCells(*Level(Loop))) << "the searched level was changed";
}

TEST(SearchJob, ADeadEndALimitAndAnUnsearchablePositionEachAnswerPlainly) {
    THinter hinter;
    TSearchJob job(hinter);
    job.Start(*Level(Walled), 1000);
    EXPECT_EQ(Wait(job).Hint.Outcome, TSolveOutcome::Unsolvable);

    job.Start(*Level(Loop), 3);
    const TSearchAnswer limited = Wait(job);
    EXPECT_EQ(limited.Hint.Outcome, TSolveOutcome::GaveUp);
    EXPECT_FALSE(limited.Hint.Cancelled);
    EXPECT_EQ(limited.Hint.Positions, 3u);
    EXPECT_EQ(job.Positions(), 3u);

    job.Start(*Level({"#####", "#  +#", "#####"}), 1000); // no hero
    EXPECT_EQ(Wait(job).Hint.Outcome, TSolveOutcome::Unsolvable);
    job.Start(*Level({"######", "#H *+#", "#    #", "######"}), 1000); // a stone in the air
    EXPECT_FALSE(Wait(job).Error.empty());
}

TEST(SearchJob, CancellingDropsTheAnswerAndLeavesThePositionAsItWas) {
    THinter hinter;
    TSearchJob job(hinter);
    const auto level = Level(Loop);
    EXPECT_FALSE(job.Cancel()) << "nothing runs yet";
    job.Start(*level, 1000);
    EXPECT_TRUE(job.Active());
    EXPECT_TRUE(job.Cancel());
    EXPECT_FALSE(job.Active());
    EXPECT_FALSE(job.Take()) << "a cancelled search has no answer";
    EXPECT_TRUE(level->SameCells(*Level(Loop)));
    // A new search after the cancel answers as ever.
    job.Start(*level, 1000);
    EXPECT_EQ(Wait(job).Hint.Outcome, TSolveOutcome::Solved);
    // A running search is cancelled by the next start.
    job.Start(*Level(Walled), 1000);
    job.Start(*level, 1000);
    EXPECT_EQ(Wait(job).Hint.Outcome, TSolveOutcome::Solved);
}

TEST(ShortestBook, FactsAreKeptByTheCellsAndADamagedFileIsPassedOver) {
    TempFolder dir;
    const auto file = dir.Path() / "tobbin.len";
    const auto loop = Level(Loop);
    const auto walled = Level(Walled);
    {
        TShortestBook book(file);
        EXPECT_FALSE(book.Find(*loop));
        book.Record(*loop, {true, 9});
        book.Record(*walled, {false, 0});
    }
    TShortestBook book(file);
    EXPECT_EQ(book.Find(*loop), (TShortest{true, 9}));
    EXPECT_EQ(book.Find(*walled), (TShortest{false, 0}));
    // Another name is the same level; one cell more is another.
    const auto renamed = std::make_unique<TMap>();
    Lay(*renamed, Loop, "Other");
    EXPECT_TRUE(book.Find(*renamed));
    const auto changed = Level({"#######", "#H  + #", "# ### #", "#+   +#", "#######"});
    EXPECT_FALSE(book.Find(*changed));

    // Damaged lines are passed over, the good ones kept; a wrong header or a
    // file that is not text at all leaves the book empty.
    const std::string good = ReadWholeFile(file);
    const std::string header = good.substr(0, good.find("\r\n") + 2);
    const std::string lines = good.substr(header.size());
    const struct {
        std::string Text;
        bool LoopKnown;
    } files[] = {
        {header + "zz\r\n0123 7\r\n0123456789abcdefg 1\r\n0123456789abcdef -3\r\n" + lines, true},
        {header + "0123456789abcdef 99999999999999999999\r\n" + lines, true},
        {"Tobbin shortest solutions 9\r\n" + lines, false},
        {std::string(3000, '\0'), false},
        {"", false},
    };
    for (const auto& [text, loopKnown] : files) {
        WriteFile(file, text);
        EXPECT_EQ(TShortestBook(file).Find(*loop).has_value(), loopKnown) << text.substr(0, 40);
    }
}

} // namespace
} // namespace tb::test
