#include "pipeline/RegistrationFile.h"

#include <cstdint>

namespace {

const char* const FIRST_LINE = "plotgate registration 1";
const char* const LASER_LINE = "expected laser-offset DX,DY";
const char* const MARK_LINE = "expected mark N design X,Y measured X,Y";

std::string Pair(IntPoint p) { return std::to_string(p.x) + "," + std::to_string(p.y); }

// The words of a line, split at each single space ("" words where spaces are doubled).
std::vector<std::string> Words(const std::string& line) {
  std::vector<std::string> words(1);
  for (char c : line) {
    if (c == ' ')
      words.emplace_back();
    else
      words.back() += c;
  }
  return words;
}

// A decimal integer of 32 bits with an optional "-" and nothing else.
bool ReadInteger(const std::string& text, int32_t& value) {
  size_t i = text.size() > 0 && text[0] == '-' ? 1 : 0;
  if (i == text.size() || text.size() - i > 10) return false;
  int64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    magnitude = magnitude * 10 + (text[i] - '0');
  }
  const int64_t signedValue = text[0] == '-' ? -magnitude : magnitude;
  if (signedValue < INT32_MIN || signedValue > INT32_MAX) return false;
  value = static_cast<int32_t>(signedValue);
  return true;
}

// "X,Y" as two integers.
bool ReadPair(const std::string& text, IntPoint& p) {
  const size_t comma = text.find(',');
  return comma != std::string::npos && ReadInteger(text.substr(0, comma), p.x) &&
         ReadInteger(text.substr(comma + 1), p.y);
}

// What is wrong with the mark line `words` among the marks read so far; "" when `mark`
// holds it.
std::string ReadMark(const std::vector<std::string>& words, const std::vector<MeasuredMark>& read, MeasuredMark& mark) {
  int32_t number = 0;
  if (words.size() != 6 || words[0] != "mark" || words[2] != "design" || words[4] != "measured" ||
      !ReadInteger(words[1], number) || !ReadPair(words[3], mark.design) || !ReadPair(words[5], mark.measured))
    return MARK_LINE;
  if (number < 1 || number > MAX_MARKS) return "mark " + words[1] + ": marks are numbered 1 to 4";
  for (const MeasuredMark& m : read) {
    if (m.number == number) return "mark " + words[1] + " is given twice";
  }
  mark.number = number;
  return "";
}

}  // namespace

std::string RegistrationText(const RegistrationRecord& record) {
  std::string text = std::string(FIRST_LINE) + "\nlaser-offset " + Pair(record.laserOffset) + "\n";
  for (const MeasuredMark& m : record.marks)
    text += "mark " + std::to_string(m.number) + " design " + Pair(m.design) + " measured " + Pair(m.measured) + "\n";
  return text;
}

std::string ReadRegistrationText(const std::string& text, RegistrationRecord& record) {
  record = RegistrationRecord();
  RegistrationRecord read;
  int lineNumber = 0, records = 0;
  std::string why;
  for (size_t start = 0; start < text.size() && why.empty();) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    const std::vector<std::string> words = Words(line);
    if (records == 0) {
      if (line != FIRST_LINE) why = "expected \"" + std::string(FIRST_LINE) + "\"";
    } else if (records == 1) {
      if (words.size() != 2 || words[0] != "laser-offset" || !ReadPair(words[1], read.laserOffset)) why = LASER_LINE;
    } else {
      MeasuredMark mark{0, {0, 0}, {0, 0}};
      why = ReadMark(words, read.marks, mark);
      if (why.empty()) read.marks.push_back(mark);
    }
    ++records;
  }
  if (!why.empty()) return "line " + std::to_string(lineNumber) + ": " + why;
  // A file that ends too early is short of what its next line should have held.
  if (records < 2)
    return "line " + std::to_string(lineNumber + 1) + ": " +
           (records == 0 ? "expected \"" + std::string(FIRST_LINE) + "\"" : std::string(LASER_LINE));
  std::vector<MeasuredMark> ordered;
  for (int number = 1; number <= MAX_MARKS; ++number) {
    for (const MeasuredMark& m : read.marks) {
      if (m.number == number) ordered.push_back(m);
    }
    if (ordered.size() == static_cast<size_t>(number)) continue;
    if (number <= 2) return "mark " + std::to_string(number) + " is missing: marks 1 and 2 are needed";
    if (ordered.size() < read.marks.size()) return "mark 4 needs mark 3";
  }
  read.marks = ordered;
  record = read;
  return "";
}
