// XmlReaderClass over Windows' XmlLite. mingw-w64 has the header but no import library, so
// xmllite.dll is loaded at run time and CreateXmlReader found by name.
#define WIN32_LEAN_AND_MEAN
#include <shlwapi.h>
#include <windows.h>
#include <xmllite.h>

#include "tdb/exchange/xml_reader.h"

namespace {

using CreateReader = HRESULT(WINAPI*)(REFIID, void**, IMalloc*);

CreateReader FindCreateReader() {
  static CreateReader create = [] {
    HMODULE dll = LoadLibraryW(L"xmllite.dll");
    return dll ? reinterpret_cast<CreateReader>(
                     reinterpret_cast<void*>(GetProcAddress(dll, "CreateXmlReader")))
               : nullptr;
  }();
  return create;
}

std::string Utf8(const WCHAR* text, UINT length) {
  if (!text || length == 0) return std::string();
  int n = WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), out.data(), n, nullptr, nullptr);
  return out;
}

// What XmlLite's error codes mean, for the ones a damaged or hostile file gives most.
const char* Reason(HRESULT code) {
  switch (static_cast<unsigned long>(code)) {
    case WC_E_DTDPROHIBITED:
      return "a DOCTYPE: this reader takes no DTD, and so no entities from one";
    case MX_E_ENCODING:
    case WC_E_XMLCHARACTER:
      return "a character that XML does not allow, or bytes that are not of the encoding";
    case WC_E_ELEMENTMATCH:
      return "an end tag that does not match its start tag";
    case NC_E_UNDECLAREDPREFIX:
      return "an undeclared namespace prefix";
    case WC_E_ENTITYCONTENT:
    case WC_E_UNDECLAREDENTITY:
      return "a reference to an undeclared entity";
    case XML_E_INVALIDENCODING:
    case MX_E_ENCODINGSWITCH:
      return "an encoding that cannot be read";
    case MX_E_INPUTEND:
      return "the document ends early";
    default:
      return nullptr;
  }
}

}  // namespace

struct XmlReaderClass::System {
  IXmlReader* reader = nullptr;
  IStream* stream = nullptr;
  std::string error;
};

XmlReaderClass::XmlReaderClass(const char* bytes, size_t size) : system(new System) {
  if (!Prescan(bytes, size)) return;
  CreateReader create = FindCreateReader();
  if (!create) {
    system->error = "xmllite.dll cannot be loaded";
    return;
  }
  if (size > 0x7FFFFFFF) {
    system->error = "larger than 2 GiB";
    return;
  }
  system->stream = SHCreateMemStream(reinterpret_cast<const BYTE*>(bytes), static_cast<UINT>(size));
  if (!system->stream ||
      FAILED(create(__uuidof(IXmlReader), reinterpret_cast<void**>(&system->reader), nullptr)) ||
      FAILED(system->reader->SetProperty(XmlReaderProperty_DtdProcessing, DtdProcessing_Prohibit)) ||
      FAILED(system->reader->SetInput(system->stream))) {
    system->error = "out of memory";
  }
}

XmlReaderClass::~XmlReaderClass() {
  if (system->reader) system->reader->Release();
  if (system->stream) system->stream->Release();
  delete system;
}

XmlReaderClass::Node XmlReaderClass::Step() {
  IXmlReader* r = system->reader;
  auto line = [&] {
    UINT n = 0;
    return r && SUCCEEDED(r->GetLineNumber(&n)) && n > 0 ? static_cast<int>(n) : 1;
  };
  auto fail = [&](const std::string& reason) { return Fail(reason, line()); };
  if (!system->error.empty()) return fail(system->error);
  auto name = [&] {
    const WCHAR* text = nullptr;
    UINT length = 0;
    Name = SUCCEEDED(r->GetLocalName(&text, &length)) ? Utf8(text, length) : std::string();
    Namespace = SUCCEEDED(r->GetNamespaceUri(&text, &length)) ? Utf8(text, length) : std::string();
  };
  for (;;) {
    XmlNodeType type = XmlNodeType_None;
    HRESULT step = r->Read(&type);
    if (step == S_FALSE) return Node::kDone;
    if (FAILED(step)) {
      const char* reason = Reason(step);
      if (reason) return fail(reason);
      char text[64];
      wsprintfA(text, "malformed XML (XmlLite error 0x%08lx)", static_cast<unsigned long>(step));
      return fail(text);
    }
    Line = line();
    switch (type) {
      case XmlNodeType_Element: {
        name();
        Attributes.clear();
        bool empty = r->IsEmptyElement();
        for (HRESULT more = r->MoveToFirstAttribute(); more == S_OK; more = r->MoveToNextAttribute()) {
          if (r->IsDefault()) continue;
          const WCHAR* text = nullptr;
          UINT length = 0;
          Attribute a;
          if (SUCCEEDED(r->GetNamespaceUri(&text, &length))) a.Namespace = Utf8(text, length);
          if (a.Namespace == "http://www.w3.org/2000/xmlns/") continue;
          if (SUCCEEDED(r->GetLocalName(&text, &length))) a.Name = Utf8(text, length);
          if (SUCCEEDED(r->GetValue(&text, &length))) a.Value = Utf8(text, length);
          Attributes.push_back(std::move(a));
        }
        r->MoveToElement();
        pending_end = empty;
        return Node::kStart;
      }
      case XmlNodeType_EndElement:
        name();
        Attributes.clear();
        return Node::kEnd;
      case XmlNodeType_Text:
      case XmlNodeType_CDATA:
      case XmlNodeType_Whitespace: {
        const WCHAR* text = nullptr;
        UINT length = 0;
        Text = SUCCEEDED(r->GetValue(&text, &length)) ? Utf8(text, length) : std::string();
        return Node::kText;
      }
      case XmlNodeType_DocumentType:
        return fail("a DOCTYPE: this reader takes no DTD, and so no entities from one");
      default:
        break;
    }
  }
}
