// The C header export. The file is narrow text in the bytes the database holds (no byte-order
// mark); every line, the last one included, ends with CR LF (0x0D 0x0A). → is one tab (0x09):
//
//   #if defined(_MSC_VER)
//   #pragma once
//   #endif
//   (empty)
//   #ifndef __STRING_IDS_H
//   #define __STRING_IDS_H
//   (empty)
//   #define STRINGS_VER→→<database version, signed decimal>
//   (empty)
//   // TRANSLATEDB: Begin ID Block
//   #define <symbolic ID>→→<numeric ID, signed decimal>     one per string object, ascending ID
//   // TRANSLATEDB: End ID Block
//   (empty)
//   #endif //__STRING_IDS_H
//
// Symbolic IDs are written as stored, whatever their characters or length.
#include "tdb/exchange/header_export.h"

#include "tdb/translate_db.h"

namespace {

void Line(ByteBuilder& out, const char* text) {
  out.Append(text);
  out.Append("\r\n", 2);
}

void DefineLine(ByteBuilder& out, const char* name, int value) {
  out.Append("#define ", 8);
  out.Append(name);
  out.Append("\t\t", 2);
  out.AppendDecimal(value);
  out.Append("\r\n", 2);
}

}  // namespace

void WriteCHeader(ByteBuilder& out) {
  Line(out, "#if defined(_MSC_VER)");
  Line(out, "#pragma once");
  Line(out, "#endif");
  Line(out, "");
  Line(out, "#ifndef __STRING_IDS_H");
  Line(out, "#define __STRING_IDS_H");
  Line(out, "");
  DefineLine(out, "STRINGS_VER", TranslateDBClass::GetVersion());
  Line(out, "");
  Line(out, "// TRANSLATEDB: Begin ID Block");
  int count = TranslateDBClass::GetObjectCount();
  for (int i = 0; i < count; ++i) {
    TDBStringClass* object = TranslateDBClass::GetObject(i);
    if (object) DefineLine(out, object->GetIDString(), object->GetID());
  }
  Line(out, "// TRANSLATEDB: End ID Block");
  Line(out, "");
  Line(out, "#endif //__STRING_IDS_H");
}

bool ExportCHeader(const char* path, NarrowStringClass* error, platform::DiskInterface& disk) {
  ByteBuilder out;
  WriteCHeader(out);
  return out.WriteTo(path, error, disk);
}
