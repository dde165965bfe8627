// Words of a command that the user pastes into the shell of this system, so that the
// program gets each word back exactly as it was, whatever it holds: "$(...)", "$HOME",
// "%PATH%", quotes, backslashes, spaces.
#pragma once

#include <string>

// `word` as the shell reads it back as one argument: as it is when it holds only letters,
// digits and "_./:,+-=@" (and is not empty); otherwise quoted. POSIX shells: in single
// quotes, each "'" written as '\''. Windows: in double quotes as the C runtime reads its
// arguments (backslashes before a quote doubled, the quote as \"), with every character
// that cmd.exe treats specially, the quotes included, escaped by "^".
std::string ShellWord(const std::string& word);

// The quoted form alone, as this system's shell takes it (the platform part of ShellWord).
std::string QuoteForShell(const std::string& word);
