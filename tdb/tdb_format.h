// The chunk IDs of a string database file (*.tdb). The file is a tree of chunks (see
// chunk_header.h); a file written here holds exactly one top-level chunk:
//
//   0x00090000 database section (sub-chunks)
//     0x07141200 variables (micro chunks): 0x01 version (int32), 0x02 current language (int32)
//     0x07141202 categories (sub-chunks): one envelope 0x00090002 per category, in list order
//     0x07141201 string objects (sub-chunks): one envelope 0x00090001 per object, ascending ID
//
// An envelope (0x00090001 or 0x00090002, sub-chunks) holds
//     0x00100100 the object token (4 raw bytes, different for every object of the file)
//     0x00100101 the object's data (sub-chunks):
//   string object:
//       0x06141109 empty
//       0x06141108 micro chunks: 0x01 ID, 0x05 sound ID, 0x07 category ID (int32 each),
//                  0x02 symbolic ID, 0x06 animation name (bytes and a NUL, at most 255 bytes)
//                  (readers also take 0x03, one more text as UTF-16LE, and 0x04, the English
//                  text as bytes)
//       0x0614110A the English text: its bytes and a NUL
//       0x0614110B one per text, language 0 first: UTF-16LE code units and a 0 unit
//   category:
//       0x11221023 empty
//       0x11221022 micro chunks: 0x01 ID (int32), 0x02 name (bytes and a NUL)
//
// There is no magic number, version or checksum. An empty database holding only the category
// "Default" (ID 1) is 104 bytes long.
#pragma once

#include <cstdint>

namespace tdb {

constexpr uint32_t kDatabaseSection = 0x00090000;
constexpr uint32_t kStringFactory = 0x00090001;
constexpr uint32_t kCategoryFactory = 0x00090002;

constexpr uint32_t kVariables = 0x07141200;
constexpr uint32_t kStringObjects = 0x07141201;
constexpr uint32_t kCategories = 0x07141202;
constexpr uint8_t kVarVersion = 0x01;
constexpr uint8_t kVarLanguage = 0x02;

constexpr uint32_t kEnvelopeToken = 0x00100100;
constexpr uint32_t kEnvelopeData = 0x00100101;

constexpr uint32_t kStringEmpty = 0x06141109;
constexpr uint32_t kStringFields = 0x06141108;
constexpr uint32_t kStringEnglish = 0x0614110A;
constexpr uint32_t kStringText = 0x0614110B;
constexpr uint8_t kFieldID = 0x01;
constexpr uint8_t kFieldIDString = 0x02;
constexpr uint8_t kFieldText = 0x03;
constexpr uint8_t kFieldEnglish = 0x04;
constexpr uint8_t kFieldSoundID = 0x05;
constexpr uint8_t kFieldAnimation = 0x06;
constexpr uint8_t kFieldCategoryID = 0x07;

constexpr uint32_t kCategoryEmpty = 0x11221023;
constexpr uint32_t kCategoryFields = 0x11221022;
constexpr uint8_t kCategoryFieldID = 0x01;
constexpr uint8_t kCategoryFieldName = 0x02;

// Longest text a NUL-terminated micro chunk field can hold.
constexpr int kMaxFieldBytes = 254;

}  // namespace tdb
