#include "adapter/config/Settings.h"

namespace pontax {

AdapterSettings& Settings() {
    static AdapterSettings settings;
    return settings;
}

}  // namespace pontax
