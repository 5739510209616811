// Configuration files into the reader, then the GUI's setoption lines: an input is the file, and
// after a line "%%" the setoption lines. The option lines built from the result must be ones a
// strict host accepts, both after the file and after the setoption lines. Log file keys are left
// out: the log would land in the fuzzer's working directory.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "ConfigFile.h"
#include "OptionList.h"
#include "SettingHandler.h"
#include "StringUtil.h"
#include "tests/fuzz/FuzzInput.h"
#include "tests/support/AdapterFixture.h"
#include "tests/support/UciChecker.h"

namespace {

void CheckOptionLines(pontax::Configuration& config, const char* when) {
    testing_support::UciDialogueChecker host([](const std::string&) { return std::vector<std::string>{}; });
    host.Sent("uci");
    for (const auto& line : pontax::BuildOptionLines(config)) host.Received(line);
    host.Received("uciok");
    if (host.Violations().empty()) return;
    for (const auto& violation : host.Violations()) std::fprintf(stderr, "%s: %s\n", when, violation.c_str());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string file = "/tmp/pontax-fuzz-config-" + std::to_string(::getpid()) + ".eng";
    std::string text(reinterpret_cast<const char*>(data), size);
    size_t split = text.find("\n%%\n");
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        for (const auto& line : fuzzing::SplitLines(data, std::min(split, size)))
            if (pontax::ToUpper(line).find("LOGFILE") == std::string::npos) out << line << '\n';
    }
    pontax::Configuration config;
    testing_support::QueueingEffects effects(config);
    pontax::LoadConfiguration(config, effects, file);
    CheckOptionLines(config, "after the file");
    if (split != std::string::npos) {
        std::string rest = text.substr(split + 4);
        for (const auto& line :
             fuzzing::SplitLines(reinterpret_cast<const uint8_t*>(rest.data()), rest.size()))
            // A button "Help" would open a browser.
            if (std::string upper = pontax::ToUpper(line);
                upper.find("HELP") == std::string::npos && upper.find("LOGFILE") == std::string::npos)
                pontax::HandleSetOption(config, effects, "setoption name " + line);
        CheckOptionLines(config, "after setoption");
    }
    return 0;
}
