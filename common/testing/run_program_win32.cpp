// RunProgram on Windows: CreateProcessW with the arguments quoted as the C runtime splits them,
// pipes for the standard streams, and a thread per output pipe so that neither fills up. Standard
// output and error are text streams, whose lines end in CR LF on Windows; the runner gives them
// back with LF, as on the other systems, so that tests compare the same text everywhere.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <string>
#include <thread>

#include "common/testing/run_program.h"

namespace {

std::wstring Wide(const std::string& text) {
  if (text.empty()) return std::wstring();
  int units = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(units), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), units);
  return wide;
}

// One argument of a command line, quoted so that the program's runtime gives it back unchanged.
std::wstring Quote(const std::wstring& arg) {
  if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring::npos) return arg;
  std::wstring quoted = L"\"";
  size_t backslashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    // Backslashes before a quote are doubled, and the quote is escaped.
    quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted.push_back(c);
  }
  quoted.append(backslashes * 2, L'\\');
  quoted.push_back(L'"');
  return quoted;
}

void Drain(HANDLE pipe, std::string* sink) {
  char buffer[4096];
  DWORD n = 0;
  while (ReadFile(pipe, buffer, sizeof buffer, &n, nullptr) && n > 0) sink->append(buffer, n);
}

void UnixLineEnds(std::string& text) {
  size_t kept = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    text[kept++] = text[i];
  }
  text.resize(kept);
}

}  // namespace

ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::string& folder, int limit_seconds) {
  ProgramResult result;
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  HANDLE in_read = nullptr, in_write = nullptr, out_read = nullptr, out_write = nullptr, err_read = nullptr,
         err_write = nullptr;
  bool piped = CreatePipe(&in_read, &in_write, &inherit, 0) &&
               CreatePipe(&out_read, &out_write, &inherit, 0) &&
               CreatePipe(&err_read, &err_write, &inherit, 0);
  // The test's ends of the pipes stay in the test.
  for (HANDLE h : {in_write, out_read, err_read})
    if (h) SetHandleInformation(h, HANDLE_FLAG_INHERIT, 0);

  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = in_read;
  startup.hStdOutput = out_write;
  startup.hStdError = err_write;
  std::wstring application = Wide(program);
  std::wstring command = Quote(application);
  for (const std::string& arg : args) command += L" " + Quote(Wide(arg));
  std::wstring wide_folder = Wide(folder);
  PROCESS_INFORMATION process = {};
  bool started =
      piped && CreateProcessW(application.c_str(), command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                              folder.empty() ? nullptr : wide_folder.c_str(), &startup, &process) != 0;
  for (HANDLE h : {in_read, out_write, err_write})
    if (h) CloseHandle(h);
  if (started) {
    std::thread out_reader(Drain, out_read, &result.out);
    std::thread err_reader(Drain, err_read, &result.err);
    DWORD waited = WaitForSingleObject(process.hProcess, static_cast<DWORD>(limit_seconds) * 1000);
    if (waited != WAIT_OBJECT_0) {
      TerminateProcess(process.hProcess, 1);
      WaitForSingleObject(process.hProcess, INFINITE);
    }
    out_reader.join();
    err_reader.join();
    DWORD code = 0;
    if (waited == WAIT_OBJECT_0 && GetExitCodeProcess(process.hProcess, &code)) {
      result.exit_code = static_cast<int>(code);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    for (std::string* text : {&result.out, &result.err}) UnixLineEnds(*text);
  }
  for (HANDLE h : {in_write, out_read, err_read})
    if (h) CloseHandle(h);
  return result;
}
