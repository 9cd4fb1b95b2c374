// The translators' view of the editor, step by step, for editor_bench: the switches of the View
// menu and each keystroke in the filter bar (typing on, deleting back, Escape), with and without
// "All categories", with translation language 1 shown and with none; then the view switches
// while the list is filtered. Every step is timed until the window has processed its events,
// in several rounds; each round starts from the same state (no translation language, the
// untranslated view off, the filter bar hidden and empty), so each step meets the same list.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "strandex/ui/resources.h"

struct ViewStep {
  std::string Name;
  std::vector<double> Ms;  // one per round
  double Median() const {
    std::vector<double> sorted = Ms;
    std::sort(sorted.begin(), sorted.end());
    return sorted.empty() ? 0 : sorted[sorted.size() / 2];
  }
};

// Front: SelectTab, Command(int), Filter(text, all), ProcessEvents (editor_bench's front ends).
template <typename Front>
class ViewStepsClass {
 public:
  explicit ViewStepsClass(Front& front) : front(front) {}

  void Round() {
    next = 0;
    Time("View: translation language 1", [&] { front.Command(ui::kCmdTranslationFirst); });
    Time("View: only untranslated, on", [&] { front.Command(ui::kCmdOnlyUntranslated); });
    Time("View: only untranslated, off", [&] { front.Command(ui::kCmdOnlyUntranslated); });
    Time("View: filter bar", [&] { front.Command(ui::kCmdFilterBar); });
    static const char16_t* const kTyped[] = {u"p", u"pl", u"pla", u"play", u"playe", u"player", u"playerz"};
    constexpr int kTypedCount = sizeof kTyped / sizeof kTyped[0];
    for (int language : {1, 0}) {
      front.Command(ui::kCmdTranslationNone + language);
      front.ProcessEvents();
      for (bool all : {true, false}) {
        const std::string tag = std::string(all ? " all" : " tab") + (language ? " lang1" : " none");
        for (int i = 0; i < kTypedCount; ++i)
          Time("key \"" + Ascii(kTyped[i]) + "\"" + tag, [&] { front.Filter(kTyped[i], all); });
        for (int i = kTypedCount - 2; i >= 0; --i)
          Time("key back to \"" + Ascii(kTyped[i]) + "\"" + tag, [&] { front.Filter(kTyped[i], all); });
        // What Escape in the filter bar does: the edit emptied.
        Time("key Escape" + tag, [&] { front.Filter(u"", all); });
      }
    }
    // The view switches while every category is filtered by "pl".
    front.Command(ui::kCmdTranslationFirst);
    front.Filter(u"pl", true);
    front.ProcessEvents();
    Time("View: language 2, filtered", [&] { front.Command(ui::kCmdTranslationFirst + 1); });
    Time("View: only untranslated on, filtered", [&] { front.Command(ui::kCmdOnlyUntranslated); });
    Time("View: only untranslated off, filtered", [&] { front.Command(ui::kCmdOnlyUntranslated); });
    Time("View: language none, filtered", [&] { front.Command(ui::kCmdTranslationNone); });
    // Back to the state the round began with.
    front.Filter(u"", true);
    front.Command(ui::kCmdFilterBar);
    front.ProcessEvents();
  }

  const std::vector<ViewStep>& Steps() const { return steps; }
  // The highest median among the steps whose names begin with prefix ("key " for the keystrokes).
  double Worst(const std::string& prefix) const {
    double worst = 0;
    for (const ViewStep& step : steps) {
      if (step.Name.compare(0, prefix.size(), prefix) == 0) worst = std::max(worst, step.Median());
    }
    return worst;
  }

 private:
  template <typename Action>
  void Time(const std::string& name, Action action) {
    const auto start = std::chrono::steady_clock::now();
    action();
    front.ProcessEvents();
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    if (next == steps.size()) steps.push_back({name, {}});
    steps[next++].Ms.push_back(ms);
  }
  static std::string Ascii(const char16_t* text) {
    std::string out;
    for (; *text; ++text) out += static_cast<char>(*text);
    return out;
  }

  Front& front;
  std::vector<ViewStep> steps;
  size_t next = 0;
};
