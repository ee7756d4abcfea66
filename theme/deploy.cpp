// Placeholder until the skin engine lands: applies nothing.
#include "deploy.h"

namespace velmorin {

int DeployTheme() { return 0; }

}  // namespace velmorin
