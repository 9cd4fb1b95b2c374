// The resources of the built strandex.exe, read from the program file: the menu, the dialogs, the
// icon and the manifest, each byte for byte as testdata/expected_resources.rc writes it out by
// hand (compiled into expected_resources.dll beside this test), so that every menu item, dialog,
// control ID, text, style and place is pinned.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <string>

namespace {

using std::wstring;
// "type:name" of each resource, with its bytes.
using Resources = std::map<wstring, std::string>;

BOOL CALLBACK AddName(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR found) {
  HRSRC resource = ::FindResourceW(module, name, type);
  const char* bytes = static_cast<const char*>(::LockResource(::LoadResource(module, resource)));
  const wstring key = std::to_wstring(reinterpret_cast<UINT_PTR>(type)) + L":" +
                      std::to_wstring(reinterpret_cast<UINT_PTR>(name));
  (*reinterpret_cast<Resources*>(found))[key] =
      bytes ? std::string(bytes, ::SizeofResource(module, resource)) : "";
  return TRUE;
}

BOOL CALLBACK AddType(HMODULE module, LPWSTR type, LONG_PTR found) {
  return ::EnumResourceNamesW(module, type, AddName, found);
}

// The resources of a program or library in the folder of this test.
Resources ResourcesOf(const wstring& relative_path) {
  wchar_t path[MAX_PATH] = {};
  wstring file(path, ::GetModuleFileNameW(nullptr, path, MAX_PATH));
  file = file.substr(0, file.find_last_of(L"\\/") + 1) + relative_path;
  for (wchar_t& c : file) c = c == L'/' ? L'\\' : c;
  Resources found;
  HMODULE module =
      ::LoadLibraryExW(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  EXPECT_NE(module, nullptr) << ::testing::PrintToString(file);
  if (!module) return found;
  ::EnumResourceTypesW(module, AddType, reinterpret_cast<LONG_PTR>(&found));
  ::FreeLibrary(module);
  return found;
}

TEST(ProgramResourcesTest, AreTheMenuTheDialogsTheIconAndTheManifestWrittenOut) {
  const Resources program = ResourcesOf(TX_STRANDEX_FROM_TEST);
  const Resources expected = ResourcesOf(L"expected_resources.dll");
  // Icon images 1 to 4, icon group 110, the manifest, menu 101, dialogs 102 to 109.
  ASSERT_EQ(expected.size(), 15u);
  EXPECT_EQ(program.size(), expected.size());
  for (const auto& [name, bytes] : expected) {
    const std::string shown = program.count(name) ? program.at(name) : "";
    size_t same = 0;
    while (same < bytes.size() && same < shown.size() && bytes[same] == shown[same]) ++same;
    EXPECT_TRUE(shown == bytes) << "resource " << ::testing::PrintToString(name) << " of " << bytes.size()
                                << " bytes differs from byte " << same
                                << " on (see strandex_ui.rc in the build)";
  }
}

}  // namespace
