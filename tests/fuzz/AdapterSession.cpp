#include "tests/fuzz/AdapterSession.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <set>

#include "Adapter.h"
#include "ChildProcess.h"
#include "CommandLoop.h"
#include "FileOnlyKeys.h"
#include "LineWriters.h"
#include "Log.h"
#include "MoveGenerator.h"
#include "Positions.h"
#include "SettingHandler.h"
#include "Settings.h"
#include "Startup.h"
#include "StringUtil.h"
#include "tests/support/ThreadEngineLink.h"
#include "tests/support/UciChecker.h"

namespace fuzzing {

namespace {

// Options a dialogue may not touch: they start programs or browsers, fill the disk with a log,
// or make the adapter sleep by design (a second per line, half a minute per start).
const std::set<std::string> kBlockedOptions = {"PROGRAM", "HELP", "LOGFILE", "DELAY", "INITTIME", "SLOWDOWN"};

bool TouchesBlockedOption(const std::string& line) {
    std::vector<std::string> words = pontax::SplitWords(line);
    if (words.size() < 3 || words[0] != "setoption") return false;
    std::string name;
    for (size_t i = 2; i < words.size() && words[i] != "value"; ++i)
        name += (name.empty() ? "" : " ") + words[i];
    return kBlockedOptions.count(pontax::ToUpper(name)) > 0;
}

std::vector<std::string> LegalMoves(const std::string& positionArguments) {
    pontax::ChessBoard board = pontax::ReadPosition("position " + positionArguments).Replay();
    pontax::MoveList list;
    pontax::MoveGenerator().GenerateLegal(board, list);
    std::vector<std::string> moves;
    for (const auto& move : list) moves.push_back(pontax::MoveToCoordinate(move));
    return moves;
}

// The host's side of one dialogue: every line both ways goes through a strict host's checks, and
// the host waits for a search's answer before it sends the next position or search.
class CheckedHost {
public:
    explicit CheckedHost(pontax::EngineDialogue& dialogue) : d_(dialogue), checker_(LegalMoves) {
        d_.gui.SetSink([this](std::string_view bytes) {
            std::lock_guard lock(mutex_);
            for (const auto& line : pontax::SplitWords(bytes, "\n")) {
                checker_.Received(line);
                transcript_.push_back("< " + line);
            }
            answered_.notify_all();
        });
    }
    ~CheckedHost() { d_.gui.SetSink(nullptr); }

    bool Send(const std::string& line) {
        {
            std::lock_guard lock(mutex_);
            checker_.Sent(line);
            transcript_.push_back("> " + line);
        }
        return pontax::HandleGuiLine(d_, line);
    }

    // A search still outstanding is stopped, and its bestmove must follow within the adapter's
    // own limit for an engine that does not answer "?".
    void EndSearch() {
        if (WaitAnswered(kQuickAnswer)) return;
        Send("stop");
        if (!WaitAnswered(kStopAnswerLimit)) faults_.push_back("no bestmove after stop");
    }

    std::vector<std::string> Transcript() {
        std::lock_guard lock(mutex_);
        return transcript_;
    }

    // Late moves are the engine's doing, and a fuzzer's timeout finds hangs; the rest are ours.
    std::vector<std::string> Faults() {
        std::lock_guard lock(mutex_);
        std::vector<std::string> faults = faults_;
        for (const auto& violation : checker_.Violations())
            if (violation.find("after the clock ran out") == std::string::npos) faults.push_back(violation);
        return faults;
    }

private:
    static constexpr std::chrono::milliseconds kQuickAnswer{200};
    static constexpr std::chrono::milliseconds kStopAnswerLimit{12000};

    bool WaitAnswered(std::chrono::milliseconds limit) {
        std::unique_lock lock(mutex_);
        return answered_.wait_for(lock, limit, [this] { return !checker_.SearchOutstanding(); });
    }

    pontax::EngineDialogue& d_;
    std::mutex mutex_;
    std::condition_variable answered_;
    testing_support::UciDialogueChecker checker_;
    std::vector<std::string> faults_;
    std::vector<std::string> transcript_;
};

}  // namespace

AdapterSession& AdapterSession::Instance() {
    static AdapterSession session;
    return session;
}

AdapterSession::AdapterSession() { std::signal(SIGPIPE, SIG_IGN); }

Transcript AdapterSession::Run(const std::vector<std::string>& guiLines, const EngineScript& script,
                               int protocol, const std::vector<std::string>& fileKeys) {
    // Nothing of an earlier dialogue reaches this one but the log, which is closed.
    pontax::CloseLogFile();
    pontax::DiscardLogBuffer();
    Transcript transcript;
    std::mutex engineLinesMutex;
    testing_support::ThreadEngineLink engine([&](int input, int output) {
        std::vector<std::string> received;
        RunScriptedEngine(input, output, script, &received);
        std::lock_guard lock(engineLinesMutex);
        transcript.engine.insert(transcript.engine.end(), received.begin(), received.end());
    });
    std::vector<std::string> faults;
    {
        pontax::Adapter adapter;
        pontax::EngineDialogue& d = adapter.dialogue;
        d.UseEngineLink(engine);
        pontax::InstallReaders(d);
        for (const auto& key : fileKeys)
            pontax::ApplyFileOnlyKey(d.settings, key.substr(0, key.find('=')), key.substr(key.find('=') + 1));
        d.settings.Program.Set("scripted-engine");
        pontax::HandleSetOption(adapter.config, d,
                                "setoption name Protocol value " + std::to_string(protocol));
        pontax::HandleSetOption(adapter.config, d, "setoption name InitTime value 0");
        CheckedHost host(d);
        for (const auto& line : guiLines) {
            std::vector<std::string> words = pontax::SplitWords(line);
            std::string command = words.empty() ? "" : words[0];
            if (command == "quit") break;
            if (TouchesBlockedOption(line)) continue;
            if (command == "go" || command == "position") host.EndSearch();
            if (!host.Send(line)) break;
        }
        host.EndSearch();
        host.Send("quit");
        faults = host.Faults();
        transcript.gui = host.Transcript();
        d.engineReader.Stop();
        engine.Stop(false);
    }
    if (faults.empty()) return transcript;
    for (const auto& line : transcript.gui) std::fprintf(stderr, "%s\n", line.c_str());
    for (const auto& fault : faults) std::fprintf(stderr, "strict host: %s\n", fault.c_str());
    std::abort();
}

}  // namespace fuzzing
