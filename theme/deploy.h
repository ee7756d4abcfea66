// Theme deployment: the embedded skin engine and theme written to the Windows
// directory at every start, then the theme applied through the DLL-call table.
#pragma once

#include <initializer_list>
#include <span>
#include <string>

namespace velmorin {

using ByteView = std::span<const unsigned char>;

inline constexpr char kSkinLibraryPath[] = "C:\\Windows\\jedata.dll";
inline constexpr char kThemePath[] = "C:\\Windows\\win8.she";

// The skin engine library and its theme, as built into the program.
ByteView SkinLibraryBlock();
ByteView ThemeBlock();

// Creates or overwrites the file and writes the blocks one after the other (empty
// blocks are skipped). True when every byte was written and the file was closed; an
// empty path is false and touches nothing. Bytes written before a failure stay.
bool WriteWholeFile(std::string path, std::initializer_list<ByteView> blocks);

// Writes both files and applies the theme; always returns 0.
int DeployTheme();

}  // namespace velmorin
