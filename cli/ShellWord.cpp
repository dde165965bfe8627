#include "cli/ShellWord.h"

std::string ShellWord(const std::string& word) {
  const bool plain = !word.empty() && word.find_first_not_of(
                                          "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_./:,+-=@") ==
                                          std::string::npos;
  return plain ? word : QuoteForShell(word);
}
