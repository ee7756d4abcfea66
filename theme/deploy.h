// Theme deployment: the embedded skin engine and theme written to the Windows
// directory at every start, then the theme applied through the DLL-call table.
#pragma once

namespace velmorin {

// Writes both files and applies the theme; always returns 0.
int DeployTheme();

}  // namespace velmorin
