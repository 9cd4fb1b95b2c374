// A pull reader of XML held in memory, over the system's own parser: libxml2's text reader on
// Linux and other POSIX systems, XmlLite (xmllite.dll, loaded when first needed) on Windows.
// Used by the XLIFF import.
//
// The reader reads no DTD: a document with a DOCTYPE is refused, so that no entity other than
// the five predefined ones and character references is ever expanded (no "billion laughs") and
// nothing is loaded from disk or the network (no external entities). Comments, processing
// instructions and the XML declaration are passed over; CDATA sections and white space are text.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

class XmlReaderClass {
 public:
  enum class Node { kStart, kEnd, kText, kDone, kError };
  struct Attribute {
    std::string Name, Namespace, Value;  // local name and namespace URI, UTF-8
  };

  // The bytes must stay valid while the reader is used.
  XmlReaderClass(const char* bytes, size_t size);
  ~XmlReaderClass();
  XmlReaderClass(const XmlReaderClass&) = delete;
  XmlReaderClass& operator=(const XmlReaderClass&) = delete;

  // Moves to the next element start, element end (an empty element gives both) or piece of
  // text. kDone after the document's end; kError, with Error and Line set, for a document that is
  // not well-formed XML (or has a DOCTYPE), and for every call after that.
  Node Next();

  // Of kStart and kEnd: the element's local name and namespace URI; of kStart its attributes
  // (namespace declarations left out). Of kText: the text. All UTF-8.
  std::string Name, Namespace, Text;
  std::vector<Attribute> Attributes;
  // The line (from 1) of the node, or of the fault after kError.
  int Line = 0;
  std::string Error;

  // The value of attribute name in namespace ns ("" for none), null when the element has none.
  const std::string* Find(const char* name, const char* ns = "") const {
    for (const Attribute& a : Attributes) {
      if (a.Name == name && a.Namespace == ns) return &a.Value;
    }
    return nullptr;
  }

 private:
  struct System;
  // The next node from the system's parser (empty elements give only their start).
  Node Step();
  // Fails the reader for good.
  Node Fail(const std::string& reason, int line);
  // Checks the bytes for what XML 1.0 forbids and not every parser refuses (control characters,
  // references to undeclared entities or to characters XML cannot hold) and for a DOCTYPE, so
  // that both systems refuse the same files. False (the reader failed) when it finds one.
  bool Prescan(const char* bytes, size_t size);

  System* system;
  bool failed = false;
  // An empty element's end, given by the next call.
  bool pending_end = false;
};
