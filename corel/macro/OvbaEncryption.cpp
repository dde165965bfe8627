#include "corel/macro/OvbaEncryption.h"

namespace {

const uint8_t ENCRYPTION_VERSION = 2;
const uint8_t IGNORED_BYTE = 0x07;

}  // namespace

std::string OvbaEncrypt(uint8_t seed, const std::string& projectId, const std::string& data) {
  uint8_t projectKey = 0;
  for (char c : projectId) projectKey = uint8_t(projectKey + uint8_t(c));

  std::string encrypted;
  encrypted += char(seed);
  encrypted += char(seed ^ ENCRYPTION_VERSION);
  encrypted += char(seed ^ projectKey);
  uint8_t plainBefore = projectKey;
  uint8_t encryptedBefore = uint8_t(seed ^ projectKey);
  uint8_t encryptedBeforeThat = uint8_t(seed ^ ENCRYPTION_VERSION);
  auto put = [&](uint8_t plain) {
    uint8_t byte = uint8_t(plain ^ uint8_t(encryptedBeforeThat + plainBefore));
    encrypted += char(byte);
    encryptedBeforeThat = encryptedBefore;
    encryptedBefore = byte;
    plainBefore = plain;
  };
  for (int i = 0; i < (seed & 6) / 2; i++) put(IGNORED_BYTE);
  uint32_t length = uint32_t(data.size());
  for (int i = 0; i < 4; i++) put(uint8_t(length >> (8 * i)));
  for (char c : data) put(uint8_t(c));

  static const char HEX[] = "0123456789ABCDEF";
  std::string text;
  for (char c : encrypted) {
    text += HEX[uint8_t(c) >> 4];
    text += HEX[uint8_t(c) & 15];
  }
  return text;
}
