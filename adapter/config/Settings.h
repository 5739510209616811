#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "StringUtil.h"

namespace pontax {

// SlowDown's range: the engine's share of the processor is one part in SlowDown.
inline constexpr int kSlowDownLeast = 1;
inline constexpr int kSlowDownMost = 100;

// A text shared between threads: always read and replaced whole.
class SharedText {
public:
    explicit SharedText(std::string_view initial = kEmptyText) : text_(initial) {}
    std::string Get() const {
        std::lock_guard lock(mutex_);
        return text_;
    }
    void Set(std::string_view text) {
        std::lock_guard lock(mutex_);
        text_ = text;
    }

private:
    mutable std::mutex mutex_;
    std::string text_;
};

enum class EditMode : int { Setboard = 0, Edit = 1, CbEdit = 2 };
enum class LevelExtendMode : int { Progressive = 0, Strict = 1, Failsafe = 2, None = 3 };

enum class CustomOptionType : int { Spin = 1, Button = 2, Check = 3, Combo = 4, String = 5 };

// An engine-specific option defined in the configuration file's [EXTRAS] section.
struct CustomOption {
    std::string name;
    std::string command;  // engine command template
    std::string defaultValue;
    std::string third;   // spin minimum, check "off" value, or combo variants joined by "|"
    std::string fourth;  // spin maximum or check "on" value
    CustomOptionType type = CustomOptionType::Button;
};

// The adapter's settings, one field per UCI option. Numbers and flags are atomics; texts are
// replaced whole. The option lists are filled while the configuration is read, before any other
// thread runs, and only read afterwards.
struct AdapterSettings {
    SharedText Program;
    SharedText InitString;
    SharedText HashCommand;
    SharedText HashFormula{""};
    std::atomic<int> InitTime{2};
    std::atomic<int> Delay{0};
    std::atomic<int> LevelType{1};
    std::atomic<int> Hash{2};
    std::atomic<int> Noise{0};
    std::atomic<int> SlowDown{1};
    std::atomic<int> Protocol{2};
    std::atomic<EditMode> Edit{EditMode::Setboard};
    std::atomic<int> Priority{0};
    std::atomic<bool> Analyze{true};
    std::atomic<bool> UseUndo{true};
    std::atomic<bool> RunIdle{false};
    std::atomic<bool> Computer{false};
    std::atomic<bool> ShowThinkingMove{false};
    std::atomic<bool> TerminateHard{false};
    std::atomic<bool> Ponder{true};
    // The GUI has set Ponder itself or sent "go ponder": only then may the engine think on the
    // opponent's time, since a UCI engine never ponders unasked.
    std::atomic<bool> ponderAskedByGui{false};
    std::atomic<bool> HashOnCommandline{false};
    std::atomic<LevelExtendMode> LevelExtend{LevelExtendMode::None};
    std::atomic<bool> WhiteScore{false};
    std::atomic<bool> SimulateHint{false};
    std::atomic<bool> OwnBook{false};
    // UCI_Chess960: the host plays Chess960. It takes effect only with an engine that plays it.
    std::atomic<bool> Chess960{false};
    // What the engine calls Chess960 among its variants ("fischerandom"); empty if it plays none.
    SharedText Chess960Variant{""};
    bool PlaysChess960() const { return Chess960 && !Chess960Variant.Get().empty(); }

    // Keys of the configuration file only, never shown to the GUI; each is off when absent.
    std::atomic<bool> MateScores{false};
    // 0: mates are the protocol's 100000 + N moves; else the engine's mate value, less the plies.
    std::atomic<int> MateBand{0};
    std::atomic<bool> EngineOptions{false};
    // Milliseconds of the engine's clock at which a search is made to end; 0 is off.
    std::atomic<int> ClockMargin{0};
    std::atomic<bool> RestartEngine{false};

    SharedText EngineName;
    SharedText EngineAuthor;

    std::vector<std::string> VisibleOptions;
    bool visibilityFiltered = false;
    std::vector<CustomOption> CustomOptions;
};

}  // namespace pontax
