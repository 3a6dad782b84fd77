#include "platform/kernel/host/Signals.h"

#include <csignal>

namespace qm::kernel::host {

void FailWritesPastTheFileSizeLimit() { std::signal(SIGXFSZ, SIG_IGN); }

}  // namespace qm::kernel::host
