// The part of XmlReaderClass that does not depend on the system's parser.
#include "strandex/exchange/xml_reader.h"

XmlReaderClass::Node XmlReaderClass::Next() {
  if (failed) return Node::kError;
  if (pending_end) {
    pending_end = false;
    Attributes.clear();
    return Node::kEnd;
  }
  return Step();
}

XmlReaderClass::Node XmlReaderClass::Fail(const std::string& reason, int line) {
  failed = true;
  Error = reason;
  Line = line > 0 ? line : 1;
  return Node::kError;
}
