// XLIFF 1.2 exchange: one language of the database as an XLIFF file for CAT tools, and the
// translations of such a file written back into that language. The same options, report and
// guards as the PO exchange (po.h).
//
// The export writes UTF-8, one trans-unit per string object in the order of the PO export:
//
//   <?xml version="1.0" encoding="UTF-8"?>
//   <xliff version="1.2" xmlns="urn:oasis:names:tc:xliff:document:1.2" xmlns:tdb="urn:x-tdbtool:xliff">
//     <file original="strings.tdb" source-language="en" target-language="de" datatype="plaintext"
//           tdb:language="1">                     target-language only with a language code
//       <header>
//         <tool tool-id="tdbtool" tool-name="tdbtool 1.0.0"/>
//       </header>
//       <body>
//         <trans-unit id="1000 IDS_OK" resname="1000 IDS_OK" approved="yes" xml:space="preserve">
//           <source>OK</source>
//           <target state="translated">Gut</target>        state="needs-translation" and empty
//           <note from="developer">ID 1000, symbolic ID IDS_OK</note>     where there is none
//           <note from="developer">Category: Default</note>
//         </trans-unit>
//       </body>
//     </file>
//   </xliff>
//
// approved="yes" only where the string has a text of the language. The key (id and resname) is
// the PO key: the numeric ID, then a space and the symbolic ID. The
// notes are the PO export's extracted comments. Texts are written as they are (printf
// conversions included), with & < > as entities; a character that XML 1.0 cannot hold (a control
// character other than tab and line feed, U+FFFE, U+FFFF, half of a surrogate pair) as
// <ph id="cN" ctype="x-tdb-char">U+XXXX</ph>, a carriage return included (not every parser gives
// back a &#13;).
#pragma once

#include <cstddef>

#include "tdb/exchange/file_bytes.h"
#include "tdb/exchange/po.h"

// Appends the XLIFF file of the current database to out (whose ErrorCode() tells whether memory
// ran out). options.Language is 1 or higher.
void WriteXliff(ByteBuilder& out, const PoExportOptions& options);

// Reads size bytes held in memory as an XLIFF 1.2 (or 1.1) file named name and applies its
// targets to the language of options, as ApplyPo does a PO file: units are keyed by resname, an
// x-gettext-msgctxt context, an "ID" note, or id, in that order; a unit applies when its source
// is the string's English text and its target keeps the English text's printf conversions.
// Targets whose state asks for translation or review (new, needs-*) count as fuzzy. A file that
// is not well-formed XML, has a DOCTYPE, is not XLIFF, names another language, or keys one
// string twice is refused with "name:line: reason" in error, and the database is unchanged.
bool ApplyXliff(const char* bytes, size_t size, const char* name, const PoImportOptions& options,
                PoImportReport* report, DynamicArrayClass<NarrowStringClass>* warnings,
                NarrowStringClass* error);
