// PendingModelsClass: models whose new version is already renamed into place while their folder
// has not been synced yet. A model is reported done ("Processed") only once its new name is
// durable, and one folder sync after all the models of a folder makes it so for each of them:
// one flush per folder instead of one per model. A folder that cannot be synced is reported for
// each of its models. Before the console prints any other line the pending models are settled,
// so the output keeps the order of the work. Folders are synced through the names passed in.
#pragma once

#include "common/array.h"
#include "common/platform/file_names.h"
#include "common/string_class.h"
#include "facetrue/console.h"

class PendingModelsClass : public ConsoleClass::OwedLines {
 public:
  PendingModelsClass(ConsoleClass& console, platform::FileNames& names) : console(console), names(names) {}
  ~PendingModelsClass() { Settle(); }
  PendingModelsClass(const PendingModelsClass&) = delete;
  PendingModelsClass& operator=(const PendingModelsClass&) = delete;

  // The model at path was renamed into place as target (the file a link at path names, else
  // path). Models in another folder are settled first.
  void Add(const char* path, const char* target);
  // Syncs the folder of the pending models and reports each of them.
  void Settle();
  void Release() override { Settle(); }

 private:
  struct Model {
    NarrowStringClass path, target;
  };
  // Reports the model at path: done, or why its new name may not survive a power cut.
  void Report(const char* path, bool synced, const char* reason);

  ConsoleClass& console;
  platform::FileNames& names;
  DynamicArrayClass<Model> models;
};
