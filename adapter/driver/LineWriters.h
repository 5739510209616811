#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <string_view>

namespace pontax {

class EngineDialogue;

// Where GUI lines go instead of standard output; tests capture them with it.
using GuiSink = std::function<void(std::string_view bytes)>;

// The GUI's side: lines to standard output (or a sink), each written whole and logged with "C<".
class GuiOutput {
public:
    // Sends one line; engine text inside it is made printable first.
    void Send(std::string_view line);
    // A line the GUI gets before any other: written by the next Send, or by SendOwed. A search's
    // opening line waits so, and its engine commands are written first.
    void Owe(std::string_view line);
    void SendOwed();
    void SetSink(GuiSink sink);

private:
    // Under mutex_: the owed line, if any, then `lines`, in one write.
    void Write(std::string_view lines);

    std::mutex mutex_;  // held across each write, so lines go out whole and in order
    GuiSink sink_;
    // Under mutex_, kept from line to line so that sending allocates nothing.
    std::string line_, out_;
    // Apart from mutex_, so that owing a line never waits for a write still under way.
    std::mutex owedMutex_;
    std::string owed_;
};

// Sends one line (or several joined by "\n") to the engine in one write, logged with "S<", after
// the Delay setting's pause. Dropped while no engine runs. Lines from several threads never
// interleave.
void SendToEngine(EngineDialogue& d, std::string_view line);
// Sends commands, each ended by "\n", in one write, or one by one when Delay asks for a pause
// before each.
void SendCommandsToEngine(EngineDialogue& d, std::string_view commands);
// Sends one line to the GUI.
void SendToGui(EngineDialogue& d, std::string_view line);

}  // namespace pontax
