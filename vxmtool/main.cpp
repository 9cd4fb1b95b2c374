// vxmtool: makes models from Wavefront OBJ files and prints models as JSON.
//
//   vxmtool from-obj IN.obj OUT.vxm [--format HEX] [--qualifier TEXT]    (- for IN.obj reads
//                                                 standard input, for OUT.vxm writes standard output)
//   vxmtool dump IN.vxm
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

#include "common/disk_file.h"
#include "common/memory_file.h"
#include "common/path_error.h"
#include "common/platform/platform.h"
#include "common/safe_replace.h"
#include "common/standard_stream.h"
#include "common/tool_cli.h"
#include "vxmlib/obj_reader.h"
#include "vxmlib/vxm.h"
#include "vxmlib/vxm_json.h"

namespace {

constexpr tool_cli::ReportClass kReport("vxmtool");

bool ParseHex(const std::string& text, uint32_t* value) {
  const char* digits = text.c_str();
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) digits += 2;
  if (*digits == 0 || *digits == '-' || *digits == '+') return false;
  char* end = nullptr;
  errno = 0;
  unsigned long long number = strtoull(digits, &end, 16);
  if (*end != 0 || errno == ERANGE || number > UINT32_MAX) return false;
  *value = static_cast<uint32_t>(number);
  return true;
}

// The whole file, through the platform layer, so that the path is UTF-8 on every system.
bool ReadWhole(const std::string& path, std::string& text) {
  platform::Handle handle = platform::SystemDisk().Open(path.c_str(), platform::kRead);
  if (handle == platform::kInvalidHandle) return false;
  char buffer[65536];
  int n;
  while ((n = platform::SystemDisk().Read(handle, buffer, sizeof buffer)) > 0)
    text.append(buffer, static_cast<size_t>(n));
  int error = platform::LastError();
  platform::SystemDisk().Close(handle);
  platform::SetLastError(error);
  return n == 0;
}

int FromObj(const std::string& in, const std::string& out, const std::string& format,
            const std::string& qualifier) {
  ObjOptions options;
  options.qualifier = qualifier;
  if (!ParseHex(format, &options.format))
    return kReport.Fail("--format: \"" + format + "\" is not a hexadecimal word");
  NarrowStringClass same_file;
  if (!IsStandardStream(in.c_str()) && !IsStandardStream(out.c_str()) &&
      !OutputIsNotInput(&same_file, in.c_str(), out.c_str())) {
    return kReport.Fail(same_file.Chars());
  }
  std::string text;
  const std::string name = IsStandardStream(in.c_str()) ? "standard input" : in;
  if (IsStandardStream(in.c_str())) {
    NarrowStringClass read_error;
    if (!ReadStandardInput(text, &read_error)) return kReport.Fail(read_error.Chars());
  } else if (!ReadWhole(in, text)) {
    return kReport.Fail(name, platform::LastError());
  }
  VXM model;
  std::string error;
  if (!ReadObj(text, options, model, &error)) return kReport.Fail(name, error.c_str());
  MemoryFileClass memory;
  model.Save(&memory);
  if (*model.ErrorMessage() || memory.ErrorCode())
    return kReport.Fail(out, *model.ErrorMessage() ? model.ErrorMessage() : "out of memory");
  NarrowStringClass write_error;
  bool written = IsStandardStream(out.c_str())
                     ? WriteStandardOutput(memory.Data(), static_cast<size_t>(memory.Size()), &write_error)
                     : SafeReplaceClass::WriteWhole(out.c_str(), memory.Data(), memory.Size(), &write_error);
  if (!written) return kReport.Fail(write_error.Chars());
  return tool_cli::kSuccess;
}

int Dump(const std::string& in) {
  // The model loader seeks: a pipe or device is refused before it is opened.
  if (int code = platform::RegularFileError(in.c_str())) return kReport.Fail(in, code);
  platform::Handle handle = platform::SystemDisk().Open(in.c_str(), platform::kRead);
  if (handle == platform::kInvalidHandle) return kReport.Fail(in, platform::LastError());
  DiskFileClass file;
  file.Attach(handle);
  VXM model;
  model.Load(&file);
  if (*model.ErrorMessage()) return kReport.Fail(in, model.ErrorMessage());
  NarrowStringClass error;
  if (!WriteModelJson(model,
                      [&](const char* bytes, size_t n) { return WriteStandardOutput(bytes, n, &error); }))
    return kReport.Fail(error.Chars());
  return tool_cli::kSuccess;
}

int Run(int argc, char** argv) {
  CLI::App app{"Makes and inspects model files (.vxm).", "vxmtool"};
  tool_cli::Prepare(app);
  app.require_subcommand(1);

  std::string obj_in, vxm_out, format = "50000", qualifier;
  CLI::App* from_obj = app.add_subcommand("from-obj", "Make a model from a Wavefront OBJ file");
  from_obj->add_option("IN.obj", obj_in, "OBJ file to read (- for standard input)")->required();
  from_obj->add_option("OUT.vxm", vxm_out, "model file to write (- for standard output)")->required();
  from_obj->add_option("--format", format, "format word of every mesh, hexadecimal")->capture_default_str();
  from_obj->add_option("--qualifier", qualifier, "qualifier of every mesh (up to 15 characters)");

  std::string dump_in;
  CLI::App* dump = app.add_subcommand("dump", "Print a model as JSON");
  dump->add_option("IN.vxm", dump_in, "model file to read")->required();

  if (int code = tool_cli::Parse(app, argc, argv); code >= 0) return code;
  if (from_obj->parsed()) return FromObj(obj_in, vxm_out, format, qualifier);
  return Dump(dump_in);
}

}  // namespace

int main(int argc, char** argv) {
  platform::OpenClosedStandardStreams();
  platform::CommandLineClass args(argc, argv);
  // The OBJ reader and the argument parser keep what they build in the standard
  // library's containers, which throw when memory runs out.
  try {
    return Run(args.Count(), args.Values());
  } catch (const std::bad_alloc&) {
    return kReport.Fail("out of memory");
  }
}
