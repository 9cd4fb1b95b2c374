// The editor on the generated 100,000-string (or --strings N), 7-language database, as a user meets it: each
// step runs through the editor logic with the main window attached, and is timed until the
// window has processed its events (and, on Windows, painted). Also measured: the load alone
// (the path tdbtool takes), and the process's peak memory against the file size; on Linux also
// the floor of the two text Finds: grep -ci of the same texts in the exported text table, whole
// processes, in the same run. Built with the Qt main window (offscreen platform) on Linux and
// with the Win32 main window on Windows (run under wine with a display). The translators' view
// follows (editor_view_steps.h): the view switches of the View menu and each keystroke in the
// filter bar, the median of ROUNDS rounds each, beside grep -c of the exported table (the median
// of as many runs) as the floor.
//
//   build/bench/editor_bench [--categories N] [--strings N] [--rounds N]   (default 20
//   categories, 1 puts all strings in one tab; 5 rounds)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/editor_view_steps.h"
#include "bench/largest_tab.h"
#include "bench/tdb_generator.h"
#include "strandex/ui/dialog_fields.h"
#include "strandex/ui/resources.h"
#include "tdb/database_file.h"
#include "tdb/exchange/text_table.h"
#include "tdb/translate_db.h"

#ifdef _WIN32
#include <windows.h>
// Need the types of windows.h.
#include <commctrl.h>
#include <psapi.h>

#include "strandex/ui/tab_pages.h"
#include "strandex/ui/win32/main_window.h"
#else
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QTabBar>

#include "strandex/ui/qt/main_window.h"
#endif

namespace {

#ifdef _WIN32
// The Win32 main window: tabs chosen as a click does (the selection, then TCN_SELCHANGE), and
// every step waits until the window has painted.
class Front {
 public:
  Front(int&, char**) : window(::GetModuleHandleW(nullptr)) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, 0x2F};
    ::InitCommonControlsEx(&controls);
    ui::MainWindowClass::RegisterWindowClass(::GetModuleHandleW(nullptr));
    // The user's settings are neither used nor changed.
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
    window.SetSettingsKey(kSettingsKey);
    window.Create();
    ProcessEvents();
  }
  ui::MainWindowClass& Window() { return window; }
  void SelectTab(int tab) {
    // A tab of another page is first brought into the row, as Show string does.
    ui::StringListClass& view = window.Editor().View();
    if (ui::TabPageClass(view.TabCount(), view.SelectedTab()).ItemOfTab(tab) < 0) {
      view.SetSelectedTab(tab);
      window.TabsChanged();
    }
    ::SendMessageW(window.Tabs(), TCM_SETCURSEL, ui::TabPageClass(view.TabCount(), tab).ItemOfTab(tab), 0);
    NMHDR header = {window.Tabs(), 0, static_cast<UINT>(TCN_SELCHANGE)};
    ::SendMessageW(window.Window(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
  }
  void Command(int command) { ::SendMessageW(window.Window(), WM_COMMAND, command, 0); }
  // Types into the filter bar: the box "All categories" as all says, then the whole text.
  void Filter(const char16_t* text, bool all) {
    ::SendMessageW(window.FilterAllCategories(), BM_SETCHECK, all ? BST_CHECKED : BST_UNCHECKED, 0);
    ::SetWindowTextW(window.FilterEdit(), reinterpret_cast<const wchar_t*>(text));
  }
  void ProcessEvents() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
    ::RedrawWindow(window.Window(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  }
  ~Front() { ::RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey); }
  static constexpr const wchar_t* kSettingsKey = L"Software\\strandex-bench";
  static double PeakBytes() {
    PROCESS_MEMORY_COUNTERS counters = {};
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
    return static_cast<double>(counters.PeakWorkingSetSize);
  }

 private:
  ui::MainWindowClass window;
};
#else
// The Qt main window on the offscreen platform.
class Front {
 public:
  // The user's settings are neither used nor changed: they go to a folder of the benchmark's own.
  Front(int& argc, char** argv)
      : settings((std::filesystem::temp_directory_path() / "editor_bench_settings").string()),
        app((setenv("QT_QPA_PLATFORM", "offscreen", 0), setenv("XDG_CONFIG_HOME", settings.c_str(), 1), argc),
            argv) {
    window.show();
    ProcessEvents();
  }
  ui::MainWindow& Window() { return window; }
  void SelectTab(int tab) { window.Tabs()->setCurrentIndex(tab); }
  void Command(int command) { window.Editor().ExecuteCommand(command); }
  void Filter(const char16_t* text, bool all) {
    window.FilterAllCategories()->setChecked(all);
    window.FilterEdit()->setText(QString::fromUtf16(text));
  }
  void ProcessEvents() { QApplication::processEvents(); }
  static double PeakBytes() {
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss * 1024.0;
  }

  ~Front() { std::filesystem::remove_all(settings); }

 private:
  std::string settings;
  QApplication app;
  ui::MainWindow window;
};
#endif

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Answers a dialog as a person would: fills one field and clicks one button.
int Answer(ui::DialogLogicClass& dialog, int field, const char16_t* text, int button) {
  ui::DialogFieldsClass fields;
  dialog.OnInit(fields);
  fields.SetText(field, text);
  return dialog.OnCommand(button, fields);
}

#ifndef _WIN32
// The wall time of one run of grep -ci text path in the C locale (its output to a file of ours),
// or -1 when it cannot be run.
double TimeGrep(const char* text, const std::string& path, const std::string& output,
                const char* flags = "-ci") {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  const char* argv[] = {"grep", flags, "--", text, path.c_str(), nullptr};
  char locale[] = "LC_ALL=C";
  char* env[] = {locale, nullptr};
  pid_t pid = 0;
  const auto start = Clock::now();
  int status = 0;
  const bool ran = posix_spawnp(&pid, "grep", &actions, nullptr, const_cast<char* const*>(argv), env) == 0 &&
                   waitpid(pid, &status, 0) == pid;
  const double ms = Milliseconds(start);
  posix_spawn_file_actions_destroy(&actions);
  return ran && WIFEXITED(status) && WEXITSTATUS(status) <= 1 ? ms : -1;
}
#endif

void Report(const char* what, double ms, double limit) {
  std::printf("%-40s %9.1f ms   (limit %5.0f ms)%s\n", what, ms, limit, ms <= limit ? "" : "  OVER");
}

}  // namespace

int main(int argc, char** argv) {
  int categories = tdbgen::kCategories;
  int strings = tdbgen::kStrings;
  int rounds = 5;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--categories") == 0) categories = std::atoi(argv[i + 1]);
    if (std::strcmp(argv[i], "--strings") == 0) strings = std::atoi(argv[i + 1]);
    if (std::strcmp(argv[i], "--rounds") == 0) rounds = std::max(1, std::atoi(argv[i + 1]));
  }
  const std::string path = (std::filesystem::temp_directory_path() / "editor_bench.tdb").string();
  TranslateDBClass::Initialize();
  tdbgen::FillDatabase(strings, categories);
  if (!SaveDatabaseFile(path.c_str(), nullptr)) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    return 1;
  }
  const double file_size = static_cast<double>(std::filesystem::file_size(path));
  TranslateDBClass::ClearDatabase();
  TranslateDBClass::AddCategoryNamed("Default");

  auto start = Clock::now();
  DatabaseLoadReport report;
  LoadDatabaseFile(path.c_str(), &report, nullptr);
  const double load_alone = Milliseconds(start);
  TranslateDBClass::ClearDatabase();
  TranslateDBClass::AddCategoryNamed("Default");

  Front front(argc, argv);
  auto& window = front.Window();
  ui::EditorClass& editor = window.Editor();

  // Open, then show the largest category.
  start = Clock::now();
  editor.OpenPath(path.c_str());
  const Clock::time_point counting = Clock::now();
  int largest_rows = 0;
  const int largest = LargestTab(editor.View(), &largest_rows);
  const double count_ms = Milliseconds(counting);
  if (largest == 0 && editor.View().TabCount() > 1) front.SelectTab(1);
  front.SelectTab(largest);
  front.ProcessEvents();
  // The time spent finding the largest category is the benchmark's own, not the editor's.
  const double open_ms = Milliseconds(start) - count_ms;

  start = Clock::now();
  front.SelectTab(largest == 0 ? 1 % editor.View().TabCount() : 0);
  front.ProcessEvents();
  const double switch_ms = Milliseconds(start);

  struct FindCase {
    const char* name;
    const char* short_name;
    int command;
    const char16_t* text;
  } const finds[] = {
      {"Find by ID", "Find by ID", ui::kCmdFindID, u"_0999"},
      {"Find by string (current language)", "Find by string", ui::kCmdFindString, u"zz-no-such-text"},
      {"Find by english string", "Find by english", ui::kCmdFindEnglish, u"e"},
  };
  double find_ms[3];
  for (int i = 0; i < 3; ++i) {
    window.SetDialogRunner([&](ui::DialogLogicClass& dialog) {
      return Answer(dialog, ui::kFindText, finds[i].text, ui::kButtonOk);
    });
    start = Clock::now();
    front.Command(finds[i].command);
    front.ProcessEvents();
    find_ms[i] = Milliseconds(start);
  }

  window.SetDialogRunner(
      [](ui::DialogLogicClass& dialog) { return Answer(dialog, ui::kGotoNumber, u"100999", ui::kButtonOk); });
  start = Clock::now();
  front.Command(ui::kCmdGoto);
  front.ProcessEvents();
  const double goto_ms = Milliseconds(start);

  front.SelectTab(largest);
  front.ProcessEvents();
  window.SelectRow(0);
  start = Clock::now();
  front.Command(ui::kCmdRemoveString);
  front.ProcessEvents();
  const double remove_ms = Milliseconds(start);

  const double peak = Front::PeakBytes();

  // The translators' view: each switch of the View menu and each keystroke in the filter bar.
  ViewStepsClass<Front> view_steps(front);
  for (int round = 0; round < rounds; ++round) view_steps.Round();
  // With the filter's index, which holds the texts of the two languages the view steps show.
  const double view_peak = Front::PeakBytes();

#ifndef _WIN32
  // The floor of the text Finds: grep reading the whole exported table (every language) once.
  const std::string table = path + ".txt", grep_output = path + ".grep";
  double grep_ms[3] = {-1, -1, -1}, grep_filter_ms = -1;
  if (ExportTextTable(table.c_str(), nullptr)) {
    TimeGrep("player", table, grep_output, "-c");  // once untimed, so that the table is in the cache
    std::vector<double> times;
    for (int round = 0; round < rounds; ++round)
      times.push_back(TimeGrep("player", table, grep_output, "-c"));
    std::sort(times.begin(), times.end());
    grep_filter_ms = times[times.size() / 2];
    TimeGrep("e", table, grep_output);  // once untimed, so that the table is in the cache
    for (int i = 1; i < 3; ++i) {
      NarrowStringClass text;
      text.FromWide(finds[i].text);
      grep_ms[i] = TimeGrep(text.Chars(), table, grep_output);
    }
  }
  std::remove(table.c_str());
  std::remove(grep_output.c_str());
#endif

  std::printf("database: %d strings, %d categories, 7 languages, %.1f MiB; largest category %d strings\n",
              strings, categories, file_size / 1048576, largest_rows);
  std::printf("%-40s %9.1f ms   (for comparison)\n", "load alone (tdbtool's path)", load_alone);
  Report("open and show the largest category", open_ms, 1000);
  Report("switch tabs", switch_ms, 100);
  for (int i = 0; i < 3; ++i) Report(finds[i].name, find_ms[i], 100);
#ifndef _WIN32
  for (int i = 1; i < 3; ++i) {
    NarrowStringClass text;
    text.FromWide(finds[i].text);
    char what[64];
    std::snprintf(what, sizeof what, "grep -ci %s of the table", text.Chars());
    std::printf("%-40s %9.1f ms   (floor: %s = %.2f x grep)\n", what, grep_ms[i], finds[i].short_name,
                find_ms[i] / grep_ms[i]);
  }
#endif
  Report("Goto", goto_ms, 50);
  Report("Remove String (top row)", remove_ms, 50);
  std::printf("%-40s %9.1f MiB = %.2f x file size (limit 3)\n", "peak memory", peak / 1048576,
              peak / file_size);
  std::printf("%-40s %9.1f MiB = %.2f x file size\n", "peak memory after the translators' view",
              view_peak / 1048576, view_peak / file_size);
  std::printf("translators' view, median of %d rounds (lowest-highest):\n", rounds);
  for (const ViewStep& step : view_steps.Steps()) {
    const auto [low, high] = std::minmax_element(step.Ms.begin(), step.Ms.end());
    char what[128];
    std::snprintf(what, sizeof what, "(%.1f-%.1f)", *low, *high);
    std::printf("%-40s %9.1f ms   (limit   100 ms)%s %s\n", step.Name.c_str(), step.Median(),
                step.Median() <= 100 ? "" : "  OVER", what);
  }
#ifndef _WIN32
  std::printf("%-40s %9.1f ms   (floor: worst keystroke = %.2f x grep, worst step = %.2f x grep)\n",
              "grep -c player of the table", grep_filter_ms, view_steps.Worst("key ") / grep_filter_ms,
              view_steps.Worst("") / grep_filter_ms);
#endif
  std::remove(path.c_str());
  return 0;
}
