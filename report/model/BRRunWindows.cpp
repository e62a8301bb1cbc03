#include "BRRunWindows.h"

namespace {
BRProgressWindowFactory& progressFactory()
{
    static BRProgressWindowFactory factory;
    return factory;
}
BRPrintSetupRunner& setupRunner()
{
    static BRPrintSetupRunner runner;
    return runner;
}
} // namespace

namespace brp {

void SetProgressWindowFactory(BRProgressWindowFactory factory) { progressFactory() = std::move(factory); }
const BRProgressWindowFactory& ProgressWindowFactory() { return progressFactory(); }
void SetPrintSetupRunner(BRPrintSetupRunner runner) { setupRunner() = std::move(runner); }
const BRPrintSetupRunner& PrintSetupRunner() { return setupRunner(); }

} // namespace brp
