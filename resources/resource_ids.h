// Identifiers of the program's resources, shared by velmorin.rc and the code.
#pragma once

// The icon group is named by text: DEFAULT_ICON.
#define VELMORIN_ICON_NAME "DEFAULT_ICON"
// The pointing hand shown over the link.
#define IDC_VELMORIN_HAND 1032
