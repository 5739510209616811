// UCI dialogues into the command loop, with the scripted engine answering. An input is the GUI's
// lines; a first line "#2" makes the engine speak protocol version 2.
#include "tests/fuzz/AdapterSession.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> lines = fuzzing::SplitLines(data, size);
    int protocol = 1;
    if (!lines.empty() && lines.front() == "#2") {
        protocol = 2;
        lines.erase(lines.begin());
    }
    fuzzing::AdapterSession::Instance().Run(lines, {}, protocol);
    return 0;
}
