#include "SearchControl.h"

#include <algorithm>
#include <chrono>
#include <string>
#include <utility>
#include <vector>

#include "BestMove.h"
#include "ClockGuard.h"
#include "EngineControl.h"
#include "EngineDialogue.h"
#include "EngineFeatures.h"
#include "EngineRecovery.h"
#include "LineWriters.h"
#include "Log.h"
#include "MoveGenerator.h"
#include "Positions.h"
#include "SearchState.h"
#include "Settings.h"
#include "StringUtil.h"
#include "TimeControl.h"

namespace pontax {

namespace {

using std::chrono::milliseconds;

constexpr milliseconds kMoveNowStep{250};
constexpr int kMoveNowSteps = 21;
constexpr int kInfiniteMs = 8640000;
constexpr int kClockTolerance = 20000;
constexpr const char* kStartInfo = "info depth 1 score cp 1";

bool LooksLikeCoordinateMove(std::string_view word) {
    return word.size() >= 4 && word.size() <= 5 && word[0] >= 'a' && word[0] <= 'h' && word[1] >= '1' &&
           word[1] <= '8' && word[2] >= 'a' && word[2] <= 'h' && word[3] >= '1' && word[3] <= '8';
}

}  // namespace

GoRequest ParseGo(std::string_view line) {
    GoRequest request;
    std::string_view rest = line;
    TakeWord(rest);  // "go"
    auto value = [&] { return ParseInteger(TakeWord(rest)); };
    for (std::string_view word = TakeWord(rest); !word.empty(); word = TakeWord(rest)) {
        if (word == "searchmoves") {
            while (LooksLikeCoordinateMove(PeekWord(rest))) request.searchMoves.emplace_back(TakeWord(rest));
        } else if (word == "ponder") {
            request.ponder = true;
        } else if (word == "infinite") {
            request.infinite = true;
        } else if (word == "wtime") {
            request.wtime = value();
        } else if (word == "btime") {
            request.btime = value();
        } else if (word == "winc") {
            request.winc = value();
        } else if (word == "binc") {
            request.binc = value();
        } else if (word == "movestogo") {
            request.movesToGo = value();
        } else if (word == "depth") {
            request.depth = value();
        } else if (word == "movetime") {
            request.moveTime = value();
        } else if (word == "nodes" || word == "mate") {
            value();
        }
    }
    return request;
}

namespace {

// One search being started: the request, the positions and what the engine was left in.
struct SearchStart {
    SearchStart(const PositionRecord& game, PositionRecord& engine) : game(game), engine(engine) {}
    GoRequest request;
    // The GUI's game, written by this thread only, and this thread's copy of the engine's, both
    // read where they are: a search copies no game record.
    const PositionRecord& game;
    PositionRecord& engine;
    int engineShared = 0;  // how many first moves of `engine` are known to be the game's
    int side = kWhite;
    int depth = -1;
    bool reset = false;
    bool forceMode = false;
    // The legal moves of the host's "searchmoves", for an engine that can exclude the others.
    std::vector<MoveRecord> searchMoves;
};

// An engine that takes exclusion lists searches only the host's "searchmoves"; any other engine
// searches all moves.
std::vector<MoveRecord> SearchMovesForTheEngine(EngineDialogue& d, const SearchStart& start) {
    std::vector<MoveRecord> moves;
    if (!d.features.exclude) return moves;
    ChessBoard board = start.game.Replay();
    for (const std::string& text : start.request.searchMoves) {
        MoveRecord move = board.ParseSan(text);
        if (!move.IsEmpty()) moves.push_back(move);
    }
    return moves;
}

// A move in the engine's notation. Chess960 castling is "O-O" in SAN and the king taking its rook
// in coordinates: the form every engine here that plays it reads.
std::string EngineMoveText(EngineDialogue& d, const ChessBoard& board, const MoveRecord& move) {
    return d.features.san ? board.MoveToSan(move, ChessBoard::SanStyle::PromotionEquals)
                          : MoveToCoordinate(move);
}

// The engine's commands of one search, written to it at once.
class CommandBatch {
public:
    CommandBatch() { text_.reserve(kTypicalLength); }
    void Add(std::string_view command) { text_.append(command).push_back('\n'); }
    void Add(std::string_view command, int number) {
        text_.append(command).push_back(' ');
        text_.append(std::to_string(number)).push_back('\n');
    }
    const std::string& Text() const { return text_; }

private:
    // A move and the clocks, with room to spare.
    static constexpr size_t kTypicalLength = 128;
    std::string text_;
};

// "exclude all" and an "include" for every allowed move, in the engine's notation.
void AddExclusions(EngineDialogue& d, const SearchStart& start, CommandBatch& commands) {
    commands.Add("exclude all");
    const ChessBoard& board = start.game.Replay();
    for (const MoveRecord& move : start.searchMoves)
        commands.Add("include " + EngineMoveText(d, board, move));
}

// "time"/"otim", "sd" and "st", in this order.
void AddClocks(EngineDialogue& d, const SearchStart& start, CommandBatch& commands) {
    if (d.features.time) {
        SearchState::Request last = d.search.LastRequest();
        if (int own = last.ownTime; own >= 0) commands.Add("time", own / 10);
        if (int opponent = last.opponentTime; opponent >= 0) commands.Add("otim", opponent / 10);
    }
    if (start.depth > 0) commands.Add(DepthCommand(d, start.depth));
    // "st" counts whole seconds, and engines read "st 0" as no limit at all.
    if (start.request.moveTime > 0) commands.Add("st", std::max(1, (start.request.moveTime + 500) / 1000));
}

constexpr int kNoBudget = -1;

// How long the GUI lets the search take: the fixed time per move or what is left on the engine's
// clock, whichever is less; none for a search without either.
int ClockBudget(const GoRequest& request, int side) {
    if (request.infinite || request.ponder) return kNoBudget;
    int budget = request.moveTime > 0 ? request.moveTime : kNoBudget;
    int own = side == kWhite ? request.wtime : request.btime;
    if (own != -1) budget = budget == kNoBudget ? std::max(own, 0) : std::min(budget, std::max(own, 0));
    return budget;
}

// Starts the engine's game afresh from the game's start position.
void ResetEngine(EngineDialogue& d, SearchStart& start) {
    auto& search = d.search;
    auto& settings = d.settings;
    search.pv.With([](PvMemory& pv) {
        pv.announcedPonderMove = pv.expectedReply = MoveRecord{};
        pv.Reset(true);
    });
    search.EngineGameResumed();
    search.SetTicker(TickerState::Idle);
    // A result or move the engine wrote about its old game, arriving later, must not touch the new one.
    if (std::string ping = NextPing(d); !ping.empty()) {
        SendToEngine(d, ping);
        search.MarkResetAtLastPing();
    }
    if (search.Mode() == EngineMode::Searching) {
        search.SetMoveNowPending(true);
        SendToEngine(d, "?");
        for (int step = 0; step < kMoveNowSteps && search.Mode() == EngineMode::Searching; ++step)
            search.WaitWhileMode(EngineMode::Searching, kMoveNowStep);
        SendForce(d);
    } else if (search.Mode() == EngineMode::Analysing) {
        EndAnalysis(d);
    } else {
        SendForce(d);
    }
    SendToEngine(d, "new");
    bool chess960 = start.game.Start().chess960;
    if (std::string variant = settings.Chess960Variant.Get(); chess960 && !variant.empty())
        SendToEngine(d, "variant " + variant);
    SendPost(d);
    SendPonderMode(d);
    if (settings.ShowThinkingMove) search.SetTicker(TickerState::Armed);
    // After "new" an engine plays Black: outside force mode it would take a set-up position or
    // the first move sent as its cue to think. Only "go" starts it.
    SendForce(d);
    start.forceMode = true;
    if (d.EngineExists() && settings.Computer) SendToEngine(d, "computer");
    start.engine.Restart(start.game.Start());
    ChessBoard standard;
    standard.SetFen(ChessBoard::kStartFen);
    // A Chess960 engine after "variant" may have set up any start position.
    if (chess960 || !start.engine.Start().SamePosition(standard)) {
        SendToEngine(d, BuildPositionCommands(d, settings.Edit, start.engine.Start().GetFen()));
        if (settings.Edit != EditMode::Setboard) SendForce(d);
    }
    if (start.request.infinite && !settings.Analyze) SendDayLongLevel(d);
    search.ownClock.Reset();
    search.opponentClock.Reset();
    start.reset = true;
}

// Decides whether the engine's game can be continued (or taken back) or must start afresh.
void SyncEngine(EngineDialogue& d, SearchStart& start) {
    int games = start.game.Count();
    int engines = start.engine.Count();
    bool keep = start.game.Start().SamePosition(start.engine.Start());
    if (keep && games > engines) {
        keep = SameMoves(start.game, start.engine, engines, start.engineShared);
    } else if (keep) {
        keep = start.request.infinite && d.settings.UseUndo &&
               SameMoves(start.game, start.engine, games, start.engineShared);
        if (keep && engines > games) {
            SendForce(d);
            start.forceMode = true;
            for (int i = games; i < engines; ++i) SendToEngine(d, "undo");
            start.engine.Truncate(games);
        }
    }
    if (!keep) start.engine.Clear();
    if (start.engine.Count() < 1) ResetEngine(d, start);
}

int IncrementSeconds(const SearchStart& start) {
    int increment = start.side == kWhite ? start.request.winc : start.request.binc;
    return increment > 0 ? (increment + 500) / 1000 : 0;
}

// Sends a new time control when the engine's clock has drifted from the GUI's or a reset asks
// for one. Returns false when the whole command must run again from a fresh engine game.
bool SendTimeControl(EngineDialogue& d, const SearchStart& start) {
    auto& search = d.search;
    auto& settings = d.settings;
    auto& level = d.lastLevel;
    const GoRequest& request = start.request;
    int own = search.LastRequest().ownTime;
    if (request.infinite) {
        // An analysis shows its thinking whatever Noise says.
        if (settings.Noise == -1) SendPost(d, true);
        return true;
    }
    if (!start.reset) {
        if (settings.LevelExtend == LevelExtendMode::None) return true;
        if (search.ownClock.Remaining() + level.increment * 1000 >= own - kClockTolerance) return true;
    }
    int games = start.game.Count();
    int engines = start.reset ? 0 : start.engine.Count();
    int moves = request.movesToGo >= 0 ? request.movesToGo + (games - engines) / 2 : 0;
    int increment = IncrementSeconds(start);
    int earned = start.reset ? (games / 2) * increment * 1000 : 0;
    int minutes = kOneDayMinutes, seconds = 0;
    if (own >= 0) {
        int remaining = start.reset ? 0 : search.ownClock.Remaining();
        minutes = std::max(own - level.increment * 1000 - remaining - earned + 3000, 0) / 60000;
        if (minutes == 0) seconds = std::max(own - level.increment * 1000 - remaining + 500, 0) / 1000;
    }
    if (settings.LevelExtend == LevelExtendMode::Strict && moves > 0 && (games / 2) % moves != 0)
        moves = games / 2 + request.movesToGo;
    bool unchanged = moves == level.moves && minutes == level.minutes && increment == level.increment;
    if (unchanged && !start.reset) return true;
    if (settings.LevelExtend == LevelExtendMode::Failsafe && !start.reset) return false;
    // A zero base is no time control to an engine (some refuse it and exit); the clock itself goes
    // out in "time".
    SendLevel(d, moves, std::max(minutes * 60 + seconds, 1), increment);
    level.moves = moves;
    level.minutes = std::min(level.minutes.load(), minutes);
    level.increment = increment;
    return true;
}

// The commands that tell the engine the game moves it does not know yet, with start.engine
// brought up to them: SyncEngine has left the engine's moves the first moves of the game. Unless
// the engine is in force mode the last move starts its search, so the clocks go before it.
void AddMoves(EngineDialogue& d, SearchStart& start, CommandBatch& commands) {
    int games = start.game.Count();
    int engines = start.engine.Count();
    bool analysing = start.request.infinite && d.settings.Analyze;
    if (!start.forceMode) start.forceMode = d.search.EngineInForceMode();
    if (!start.forceMode && (games - engines > 1 || analysing || !start.searchMoves.empty())) {
        commands.Add("force");
        start.forceMode = true;
    }
    if (games == 0 || games == engines) start.forceMode = true;
    ChessBoard scratch = start.engine.Replay();
    MoveGenerator generator;
    for (int i = engines; i < games; ++i) {
        MoveRecord move = start.game.Move(i);
        if (!start.forceMode && i == games - 1) AddClocks(d, start, commands);
        std::string text = EngineMoveText(d, scratch, move);
        commands.Add(d.features.usermove ? "usermove " + text : text);
        generator.Apply(scratch, move);
    }
    start.engine.CatchUp(start.game);
}

}  // namespace

unsigned GuardArrivingGo(EngineDialogue& d, const GoRequest& request,
                         std::chrono::steady_clock::time_point received) {
    int margin = d.settings.ClockMargin;
    if (margin <= 0) return 0;
    int budget = ClockBudget(request, GameSideToMove(d));
    return budget != kNoBudget ? d.clockGuard.Arrive(budget, margin, received) : 0;
}

void Go(EngineDialogue& d, const GoRequest& goRequest, bool fromPonderhit,
        std::chrono::steady_clock::time_point received, unsigned arrival) {
    // The clock guard has answered while this command waited.
    if (arrival != 0 && !d.clockGuard.TakeOn(arrival)) return;
    auto& search = d.search;
    auto& settings = d.settings;
    search.CancelSearch();
    search.RestrictTo({});
    SearchStart start(d.positions.game, d.positions.engineWork);
    start.request = goRequest;
    start.side = start.game.SideToMoveAfterMoves();
    const GoRequest& request = start.request;
    search.SetTicker(settings.ShowThinkingMove ? TickerState::Armed : TickerState::Idle);
    start.depth = request.depth;
    search.ChangeRequest([&](SearchState::Request& last) {
        last.ownTime = start.side == kWhite ? request.wtime : request.btime;
        last.opponentTime = start.side == kWhite ? request.btime : request.wtime;
        // A depth limit given once is lifted by the next search without one.
        if (last.lastDepth != -1 && request.depth == -1) start.depth = kUnlimitedDepth;
        last.lastDepth = request.depth;
        if (request.ponder) last.savedMovesToGo = request.movesToGo;
        if (request.infinite && !request.ponder) last.ownTime = last.opponentTime = kInfiniteMs;
    });
    // The opening line goes out with the engine's first output, in the same write, so an instant
    // reply finds no other writer on the host's pipe; a Go that starts no engine search sends it
    // when it ends.
    struct OwedLineSender {
        GuiOutput& gui;
        bool withEngineOutput = false;
        ~OwedLineSender() {
            if (!withEngineOutput) gui.SendOwed();
        }
    } owedLineSender{d.gui};
    if (!fromPonderhit) {
        search.pv.With([](PvMemory& pv) { pv.ForgetShown(); });
        d.gui.Owe(kStartInfo);
        SendRestartNoticeIfOwed(d);
    }
    if (request.ponder) {
        // The GUI ponders: from now on the engine may think on the opponent's time.
        if (!settings.ponderAskedByGui.exchange(true)) SendPonderMode(d);
        if (int opponent = search.LastRequest().opponentTime; opponent > 0)
            search.opponentClock.StartWithLimit(opponent);
        else
            search.opponentClock.Reset();
        search.BeginSearch();
        return;
    }
    if (!d.EngineExists()) {
        // Nobody would answer (the host searched before "isready"): the move comes at once, or
        // for an infinite search at "stop", never after the wait for an engine's move.
        search.BeginSearch();
        if (!request.infinite) SynthesiseBestMove(d);
        return;
    }
    start.engineShared = CopyEnginePosition(d, start.engine);
    SyncEngine(d, start);
    if (!SendTimeControl(d, start)) {
        ForgetEnginePosition(d);
        Go(d, goRequest, false, received);
        return;
    }
    if (search.EngineResigned()) {
        SwapEnginePosition(d, start.engine);
        std::string notice =
            search.gameEndNotice.With([](std::string& owed) { return std::exchange(owed, {}); });
        if (!notice.empty()) SendToGui(d, "info string " + notice);
        WriteLog("The engine has ended this game; the adapter answers its searches until a new game.",
                 log_tag::kRemark);
        SynthesiseBestMove(d);
        return;
    }
    start.searchMoves = SearchMovesForTheEngine(d, start);
    CommandBatch commands;
    if (std::string ping = NextPing(d); !ping.empty()) commands.Add(ping);
    if (search.TakeExclusionsSent()) commands.Add("include all");
    AddMoves(d, start, commands);
    if (!start.searchMoves.empty()) AddExclusions(d, start, commands);
    search.RestrictTo(start.searchMoves);
    bool analysing = request.infinite && settings.Analyze;
    if (start.forceMode && analysing) {
        commands.Add("analyze");
    } else if (start.forceMode) {
        AddClocks(d, start, commands);
        if (d.features.colors) commands.Add(start.side == kWhite ? "white" : "black");
        commands.Add("go");
    }
    // The engine's game is recorded, and then the search marked, before anything can start it:
    // an instant reply finds the search waiting, and thinking is read on the searched position.
    SwapEnginePosition(d, start.engine);
    search.SetEngineForceMode(analysing);
    search.SetMoveNowPending(false);
    search.ownClock.StartWithLimit(std::max(search.LastRequest().ownTime, 0));
    unsigned number = search.BeginSearch();
    search.SetMode(analysing ? EngineMode::Analysing : EngineMode::Searching);
    SendCommandsToEngine(d, commands.Text());
    owedLineSender.withEngineOutput = true;
    if (int budget = ClockBudget(request, start.side); budget != kNoBudget && settings.ClockMargin > 0)
        d.clockGuard.Watch(number, budget, settings.ClockMargin, received);
}

void Ponderhit(EngineDialogue& d, std::chrono::steady_clock::time_point received) {
    auto& search = d.search;
    // Without a ponder search there is nothing to continue, and no "bestmove" is awaited.
    if (!search.SearchPending()) return;
    std::string line = "go";
    if (int movesToGo = search.TakeSavedMovesToGo(); movesToGo >= 0)
        line += " movestogo " + std::to_string(movesToGo);
    SearchState::Request last = search.LastRequest();
    if (int depth = last.lastDepth; depth > 0) line += " depth " + std::to_string(depth);
    if (int own = last.ownTime; own >= 0) {
        int opponent = search.opponentClock.Remaining() + d.lastLevel.increment * 1000;
        bool whiteToMove = GameSideToMove(d) == kWhite;
        std::string ownKey = whiteToMove ? " wtime " : " btime ";
        std::string opponentKey = whiteToMove ? " btime " : " wtime ";
        line += ownKey + std::to_string(own);
        if (opponent > 0) line += opponentKey + std::to_string(opponent);
    }
    search.opponentClock.Reset();
    Go(d, ParseGo(line), true, received);
}

}  // namespace pontax
