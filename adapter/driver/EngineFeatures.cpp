#include "EngineFeatures.h"

#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "EngineDialogue.h"
#include "EngineOptions.h"
#include "LineWriters.h"
#include "Settings.h"
#include "StringUtil.h"

namespace pontax {

namespace {

void SetFlag(std::atomic<bool>& flag, std::string_view value) {
    if (value == "1") flag = true;
    if (value == "0") flag = false;
}

void SetEditMode(EngineDialogue& d, std::string_view value) {
    if (value == "1") d.settings.Edit = EditMode::Setboard;
    if (value == "0") d.settings.Edit = EditMode::Edit;
}

void SetDone(EngineDialogue& d, std::string_view value) {
    if (value == "0") d.features.featureWait = true;
    if (value != "1") return;
    auto& signal = d.features.done;
    {
        std::lock_guard lock(signal.mutex);
        d.features.featureWait = false;
        signal.done = true;
    }
    signal.changed.notify_all();
}

// A quoted value may hold blanks ("Fairy-Max 5.0b"); the name is all its words without the quotes.
std::string Unquote(std::string_view value) {
    if (!value.empty() && value.front() == '"') value.remove_prefix(1);
    if (!value.empty() && value.back() == '"') value.remove_suffix(1);
    return std::string(value);
}

bool OpensQuote(std::string_view value) {
    return !value.empty() && value.front() == '"' && (value.size() == 1 || value.back() != '"');
}

// The engine's name for Chess960, "fischerandom" or "chess960", or empty.
std::string Chess960VariantOf(std::string_view variants) {
    std::vector<std::string> names = SplitWords(Unquote(variants), ",");
    for (const char* name : {"fischerandom", "chess960"})
        for (const auto& variant : names)
            if (Trim(variant) == name) return name;
    return {};
}

void ApplyFeature(EngineDialogue& d, std::string_view key, std::string_view value) {
    auto& features = d.features;
    if (key == "setboard")
        SetEditMode(d, value);
    else if (key == "san")
        SetFlag(features.san, value);
    else if (key == "colors")
        SetFlag(features.colors, value);
    else if (key == "time")
        SetFlag(features.time, value);
    else if (key == "usermove")
        SetFlag(features.usermove, value);
    else if (key == "ping")
        SetFlag(features.ping, value);
    else if (key == "exclude")
        SetFlag(features.exclude, value);
    else if (key == "analyze")
        SetFlag(d.settings.Analyze, value);
    else if (key == "done")
        SetDone(d, value);
    else if (key == "variants")
        d.settings.Chess960Variant.Set(Chess960VariantOf(value));
    else if (key == "myname")
        d.settings.EngineName.Set(Unquote(value));
    else if (key == "option" && d.settings.EngineOptions)
        RecordEngineOption(d.config, Unquote(value));
}

}  // namespace

void ParseFeatures(EngineDialogue& d, std::string_view line) {
    std::vector<std::string> words = SplitWords(line);
    std::string key;
    for (size_t i = 1; i < words.size(); ++i) {
        size_t equals = words[i].find('=');
        if (equals == std::string::npos) {
            SendToEngine(d, "accepted " + key);
            continue;
        }
        key = Trim(std::string_view(words[i]).substr(0, equals));
        std::string value = Trim(std::string_view(words[i]).substr(equals + 1));
        if (OpensQuote(value)) {
            while (i + 1 < words.size()) {
                value += ' ';
                value += words[++i];
                if (value.back() == '"') break;
            }
        }
        // The answer goes out first: done=1 releases the start sequence, which must follow it.
        SendToEngine(d, "accepted " + key);
        ApplyFeature(d, key, value);
    }
}

void ResetFeatures(EngineDialogue& d) {
    auto& features = d.features;
    features.san = false;
    features.colors = false;
    features.time = true;
    features.usermove = false;
    features.ping = false;
    features.exclude = false;
    features.featureWait = false;
    d.settings.Chess960Variant.Set("");
}

void ResetFeaturesDone(EngineDialogue& d) {
    auto& signal = d.features.done;
    std::lock_guard lock(signal.mutex);
    signal.done = false;
    signal.outputEnded = false;
    signal.anyOutput = false;
}

void NoteEngineOutput(EngineDialogue& d) {
    auto& signal = d.features.done;
    {
        std::lock_guard lock(signal.mutex);
        if (signal.anyOutput) return;
        signal.anyOutput = true;
    }
    signal.changed.notify_all();
}

bool WaitForFirstOutput(EngineDialogue& d, std::chrono::milliseconds limit) {
    auto& signal = d.features.done;
    std::unique_lock lock(signal.mutex);
    signal.changed.wait_for(lock, limit,
                            [&] { return signal.anyOutput || signal.done || signal.outputEnded; });
    return signal.anyOutput || signal.outputEnded;
}

bool WaitForFeaturesDone(EngineDialogue& d, std::chrono::milliseconds limit) {
    auto& signal = d.features.done;
    std::unique_lock lock(signal.mutex);
    return signal.changed.wait_for(lock, limit, [&] { return signal.done || signal.outputEnded; });
}

bool WaitWhileFeatureWait(EngineDialogue& d, std::chrono::milliseconds limit) {
    auto& signal = d.features.done;
    std::unique_lock lock(signal.mutex);
    return signal.changed.wait_for(lock, limit,
                                   [&] { return !d.features.featureWait || signal.outputEnded; });
}

void NotifyEngineOutputEnded(EngineDialogue& d) {
    auto& signal = d.features.done;
    {
        std::lock_guard lock(signal.mutex);
        signal.outputEnded = true;
    }
    signal.changed.notify_all();
}

}  // namespace pontax
