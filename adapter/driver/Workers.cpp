#include "adapter/driver/Workers.h"

namespace pontax {

PipeReaderThread& EngineReader() {
    static PipeReaderThread reader;
    return reader;
}

PipeReaderThread& GuiReader() {
    static PipeReaderThread reader;
    return reader;
}

SpinThreadPool& SpinThreads() {
    static SpinThreadPool pool;
    return pool;
}

PeriodicThread& StatusTicker() {
    static PeriodicThread ticker;
    return ticker;
}

}  // namespace pontax
