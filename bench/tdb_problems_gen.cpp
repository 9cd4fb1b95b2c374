// Writes a database that loads with many renumbered strings and checks with many problems, for
// tdb_linear_bench.sh: N strings (the generator's, one language) whose numeric IDs come in
// pairs (1000, 1000, 1001, 1001, ...), so that every second one is renumbered when the file is
// loaded, all of them in a category that does not exist.
//
//   tdb_problems_gen OUT.tdb N
#include <cstdio>
#include <cstdlib>

#include "bench/tdb_generator.h"
#include "tdb/database_file.h"
#include "tdb/translate_db.h"

int main(int argc, char** argv) {
  if (argc != 3 || std::atoi(argv[2]) <= 0) {
    std::fprintf(stderr, "usage: tdb_problems_gen OUT.tdb N\n");
    return 2;
  }
  const int strings = std::atoi(argv[2]);
  tdbgen::FillDatabase(strings, 1, 1);
  // The objects keep their slots; only the IDs written to the file change.
  for (int i = 0; i < TranslateDBClass::GetObjectCount(); ++i) {
    TDBStringClass* s = TranslateDBClass::GetObject(i);
    s->SetID(TranslateDBClass::kFirstID + i / 2);
    s->SetCategoryID(999);
  }
  NarrowStringClass error;
  if (!SaveDatabaseFile(argv[1], &error)) {
    std::fprintf(stderr, "tdb_problems_gen: %s\n", error.Chars());
    return 1;
  }
  return 0;
}
