// The search state's transitions, one thread, no engine.
#include <gtest/gtest.h>

#include "SearchState.h"

namespace pontax {
namespace {

using Verdict = SearchState::MoveVerdict;

TEST(SearchStateTest, ASearchIsAnsweredOnceAndACancelledOneNever) {
    SearchState search;
    EXPECT_FALSE(search.ClaimBestMove());
    unsigned first = search.BeginSearch();
    EXPECT_TRUE(search.SearchPending());
    EXPECT_TRUE(search.ClaimBestMove());
    EXPECT_FALSE(search.ClaimBestMove());
    unsigned second = search.BeginSearch();
    EXPECT_EQ(second, first + 1);
    search.CancelSearch();
    EXPECT_FALSE(search.SearchPending());
    EXPECT_FALSE(search.ClaimBestMove());
}

TEST(SearchStateTest, InfoLinesReachTheGuiOnlyForTheSearchOutstanding) {
    SearchState search;
    GuiOutput gui;
    std::string sent;
    gui.SetSink([&](std::string_view bytes) { sent.append(bytes); });
    unsigned number = search.BeginSearch();
    search.SendForSearch(gui, number, "info depth 1");
    search.SendForSearch(gui, number + 1, "info depth 2");
    search.ClaimBestMove();
    search.SendForSearch(gui, number, "info depth 3");
    EXPECT_EQ(sent, "info depth 1\n");
}

// A search being answered by the engine, as Go leaves it.
SearchState& Searching(SearchState& search) {
    search.BeginSearch();
    search.SetMode(EngineMode::Searching);
    return search;
}

TEST(SearchStateTest, AnEngineMoveIsJudgedByWhatTheAdapterAskedOfTheEngine) {
    SearchState idle;
    EXPECT_EQ(idle.JudgeEngineMove(true), Verdict::NotSearching);

    SearchState searching;
    EXPECT_EQ(Searching(searching).JudgeEngineMove(true), Verdict::Accepted);
    EXPECT_EQ(searching.Mode(), EngineMode::Idle);
    EXPECT_FALSE(searching.SearchPending());
    // The same move again finds the engine idle.
    EXPECT_EQ(searching.JudgeEngineMove(true), Verdict::NotSearching);

    SearchState early;
    // A ping with a reset, then one with the search: the engine answered the first only.
    early.NextPingNumber();
    early.MarkResetAtLastPing();
    Searching(early).NextPingNumber();
    early.RecordPong(1);
    EXPECT_FALSE(early.AnsweredLastPing());
    EXPECT_EQ(early.JudgeEngineMove(false), Verdict::WrittenBeforeSearch);
    early.RecordPong(0);
    EXPECT_EQ(early.JudgeEngineMove(false), Verdict::WrittenBeforeReset);
    early.RecordPong(2);
    EXPECT_TRUE(early.AnsweredLastPing());
    EXPECT_EQ(early.Mode(), EngineMode::Searching);

    SearchState resigned;
    Searching(resigned).NoteEngineResigned();
    EXPECT_EQ(resigned.JudgeEngineMove(true), Verdict::EngineResigned);
    EXPECT_TRUE(resigned.SearchPending());

    SearchState interrupted;
    Searching(interrupted).SetMoveNowPending(true);
    EXPECT_EQ(interrupted.JudgeEngineMove(true), Verdict::Interrupted);

    SearchState answered;
    Searching(answered).ClaimBestMove();
    EXPECT_EQ(answered.JudgeEngineMove(true), Verdict::AlreadyAnswered);
    EXPECT_EQ(answered.Mode(), EngineMode::Idle);
}

}  // namespace
}  // namespace pontax
