// The fuzzer's bytes read as a stream of choices: small numbers, flags and strings, each
// taken from the front. Past the end every read gives 0 or an empty string, so a target
// never has to check how much is left.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class CFuzzInput {
 public:
  CFuzzInput(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

  bool AtEnd() const { return m_pos >= m_size; }
  size_t Left() const { return m_size - m_pos; }

  uint8_t Byte() { return AtEnd() ? 0 : m_data[m_pos++]; }
  // A number from 0 to n - 1 (n at most 256).
  int Pick(int n) { return n > 0 ? Byte() % n : 0; }
  // The bytes up to the next `stop` byte (which is consumed) or the end.
  std::string Until(uint8_t stop) {
    std::string out;
    while (!AtEnd()) {
      const uint8_t c = m_data[m_pos++];
      if (c == stop) break;
      out += static_cast<char>(c);
    }
    return out;
  }
  // All bytes not yet read.
  std::string Rest() {
    std::string out(reinterpret_cast<const char*>(m_data) + m_pos, Left());
    m_pos = m_size;
    return out;
  }

 private:
  const uint8_t* m_data;
  size_t m_size;
  size_t m_pos = 0;
};
