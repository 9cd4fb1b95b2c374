// XmlReaderClass over libxml2's xmlTextReader.
#include <libxml/xmlreader.h>

#include <climits>

#include "tdb/exchange/xml_reader.h"

namespace {

std::string Chars(const xmlChar* text) { return text ? reinterpret_cast<const char*>(text) : ""; }

}  // namespace

struct XmlReaderClass::System {
  xmlTextReaderPtr reader = nullptr;
  // The first error libxml2 reported, and its line.
  std::string error;
  int line = 0;

  static void OnError(void* context, xmlErrorPtr e) {
    System* self = static_cast<System*>(context);
    if (!self->error.empty() || !e) return;
    self->error = e->message ? e->message : "malformed XML";
    while (!self->error.empty() && (self->error.back() == '\n' || self->error.back() == ' '))
      self->error.pop_back();
    self->line = e->line;
  }
};

XmlReaderClass::XmlReaderClass(const char* bytes, size_t size) : system(new System) {
  if (!Prescan(bytes, size)) return;
  // No network, no DTD loaded, no entities replaced (a DOCTYPE is refused before any could be).
  if (size > INT_MAX) {
    system->error = "larger than 2 GiB";
    return;
  }
  system->reader = xmlReaderForMemory(bytes, static_cast<int>(size), "", nullptr, XML_PARSE_NONET);
  if (system->reader) xmlTextReaderSetStructuredErrorHandler(system->reader, System::OnError, system);
}

XmlReaderClass::~XmlReaderClass() {
  if (system->reader) xmlFreeTextReader(system->reader);
  delete system;
}

XmlReaderClass::Node XmlReaderClass::Step() {
  if (!system->reader) return Fail(system->error.empty() ? "out of memory" : system->error, 1);
  for (;;) {
    int step = xmlTextReaderRead(system->reader);
    if (step < 0 || !system->error.empty()) {
      return Fail(system->error.empty() ? "malformed XML" : system->error,
                  system->line > 0 ? system->line : xmlTextReaderGetParserLineNumber(system->reader));
    }
    if (step == 0) return Node::kDone;
    xmlNodePtr current = xmlTextReaderCurrentNode(system->reader);
    int line = current ? static_cast<int>(xmlGetLineNo(current)) : -1;
    Line = line > 0 ? line : xmlTextReaderGetParserLineNumber(system->reader);
    switch (xmlTextReaderNodeType(system->reader)) {
      case XML_READER_TYPE_DOCUMENT_TYPE:
        return Fail("a DOCTYPE: this reader takes no DTD, and so no entities from one", Line);
      case XML_READER_TYPE_ELEMENT: {
        Name = Chars(xmlTextReaderConstLocalName(system->reader));
        Namespace = Chars(xmlTextReaderConstNamespaceUri(system->reader));
        Attributes.clear();
        bool empty = xmlTextReaderIsEmptyElement(system->reader) == 1;
        for (int more = xmlTextReaderMoveToFirstAttribute(system->reader); more == 1;
             more = xmlTextReaderMoveToNextAttribute(system->reader)) {
          if (xmlTextReaderIsNamespaceDecl(system->reader) == 1) continue;
          Attributes.push_back({Chars(xmlTextReaderConstLocalName(system->reader)),
                                Chars(xmlTextReaderConstNamespaceUri(system->reader)),
                                Chars(xmlTextReaderConstValue(system->reader))});
        }
        xmlTextReaderMoveToElement(system->reader);
        pending_end = empty;
        return Node::kStart;
      }
      case XML_READER_TYPE_END_ELEMENT:
        Name = Chars(xmlTextReaderConstLocalName(system->reader));
        Namespace = Chars(xmlTextReaderConstNamespaceUri(system->reader));
        Attributes.clear();
        return Node::kEnd;
      case XML_READER_TYPE_TEXT:
      case XML_READER_TYPE_CDATA:
      case XML_READER_TYPE_WHITESPACE:
      case XML_READER_TYPE_SIGNIFICANT_WHITESPACE:
        Text = Chars(xmlTextReaderConstValue(system->reader));
        return Node::kText;
      case XML_READER_TYPE_ENTITY_REFERENCE:
        return Fail("a reference to an undeclared entity", Line);
      default:
        break;
    }
  }
}
