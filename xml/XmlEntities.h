// The named character references of HTML 4.01 and "apos", for decoding "&eacute;" and
// its kind in attribute values.
#pragma once

const int EntityBucketCount = 130;

// Bucket i holds the entities whose lower-cased names' byte sum is i modulo 130, as one
// string of entries: a byte "0" + name length, four digits of the code point, the
// lower-cased name ("68240permil"). Entries follow the order of the names as HTML spells
// them, capital letters before small ones.
extern const char* const EntityBuckets[EntityBucketCount];

// Code point of the entity named `name` (`length` bytes, without "&" and ";"), or 0 when
// there is none. Names match without regard to case; of two entities that differ only in
// case (Eacute, eacute), a name written all in small letters gives the small one and any
// other spelling the capital one.
int EntityCodePoint(const char* name, int length);
