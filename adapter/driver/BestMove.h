#pragma once

namespace pontax {

class EngineDialogue;

// Answers the current search with a move of the adapter's own choice: the first move of the last
// principal variation if it is legal in the game, else its second move, else the first legal
// move, else the null move "0000". Always sends exactly one "bestmove" line.
void SynthesiseBestMove(EngineDialogue& d);
// Answers a search that is still outstanding (the engine has gone); otherwise does nothing.
void AnswerOutstandingSearch(EngineDialogue& d);

}  // namespace pontax
