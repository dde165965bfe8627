// The light obfuscation the PROJECT stream applies to its protection, password and
// visibility values (CMG=, DPB=, GC=): a byte chain keyed by a seed and by the sum of the
// project identifier's characters, written as upper-case hex. For a seed 0x07, the
// identifier "{917DED54-440B-4FD1-A5C1-74ACF261E600}" and four zero bytes:
//
//   07 05 D8 | E3 D8 ED | DB F1 DB F1 | DB F1 DB F1
//   seed, version 2 and key each XOR the seed | (seed & 6) / 2 ignored bytes | the length,
//   4 bytes little-endian | the data; each byte after the key XOR (the encrypted byte
//   before last + the plain byte before)
//
// It hides nothing from anyone who reads the format; hosts only expect it.
#pragma once

#include <cstdint>
#include <string>

// The hex text of `data` obfuscated with `seed` for the project `projectId` (the
// identifier with its braces, as the ID= line has it). The ignored bytes are all 0x07, so
// the result depends on the arguments alone. Never fails.
std::string OvbaEncrypt(uint8_t seed, const std::string& projectId, const std::string& data);
