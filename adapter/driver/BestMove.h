#pragma once

namespace pontax {

class EngineDialogue;
struct MoveRecord;

// Answers the current search with a move of the adapter's own choice: the first move of the last
// principal variation if it is legal in the game, else its second move, else the first legal
// move, else the null move "0000". Always sends exactly one "bestmove" line.
void SynthesiseBestMove(EngineDialogue& d);
// Hosts take the last variation shown as the search's last word: when the last one began with
// another move than the one played, a short line whose variation is that move goes out. A search
// that showed no variation gets none.
void SendClosingVariation(EngineDialogue& d, const MoveRecord& played);
// Answers a search that is still outstanding (the engine has gone); otherwise does nothing.
void AnswerOutstandingSearch(EngineDialogue& d);

}  // namespace pontax
