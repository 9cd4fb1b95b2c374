// Writing a command's result to a file or to standard output.
#include "tdbtool/output.h"

#include "common/file_lock.h"
#include "common/path_error.h"
#include "common/standard_stream.h"
#include "tdb/database_file.h"

namespace tdbtool {

bool WriteOutput(const std::string& out, ByteBuilder& bytes, NarrowStringClass* error) {
  if (!IsStandardStream(out.c_str())) return bytes.WriteTo(out.c_str(), error);
  if (bytes.ErrorCode()) return FailPath(error, "standard output", platform::ErrorNoMemory());
  return WriteStandardOutput(bytes.Data(), static_cast<size_t>(bytes.Size()), error);
}

bool SaveOutput(const std::string& out, NarrowStringClass* error, const FileLockClass* held) {
  if (!IsStandardStream(out.c_str())) {
    if (held) return SaveDatabaseFile(out.c_str(), error, held);
    // The lock that import-po holds while it updates the database, so that neither write is lost.
    FileLockClass lock;
    return lock.AcquireIfFile(out.c_str(), error) && SaveDatabaseFile(out.c_str(), error, &lock);
  }
  return SaveDatabaseToStandardOutput(error);
}

}  // namespace tdbtool
