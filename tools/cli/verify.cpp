#include "tools/cli/commands.h"

#include "services/d_error.h"

namespace tb::cli {

// Replaying the stored solutions needs the records of the full game, which are
// not part of the program yet.
int RunVerify(const TCommandLine&, const std::filesystem::path&, std::ostream&, std::ostream&) {
    throw Error("verify is not available yet");
}

} // namespace tb::cli
