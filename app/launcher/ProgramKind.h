// Which launcher a program needs: one that waits on a console, or one that
// starts a windowed program and returns, as the Run box does.
#pragma once

#include <cstddef>

enum class ProgramKind { kNotAProgram, kConsole, kWindows };

// The kind of the program whose first bytes are `head` (its headers): a
// windows subsystem (2, or 9 for Windows CE) is kWindows, any other kConsole;
// bytes that are not a whole program's headers (a DLL, a text, a cut-off
// file) kNotAProgram.
ProgramKind ProgramKindOf(const unsigned char* head, std::size_t size) noexcept;

// How many bytes of a program ProgramKindOf needs at most to decide.
constexpr std::size_t kProgramHeadBytes = 64 * 1024;
