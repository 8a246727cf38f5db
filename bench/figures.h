#pragma once
// Summaries of repeated measurements and the one line format in which every benchmark program
// reports them, so that scripts/bench can gather the lines of several programs into one table.
// Plain C++: the native Cairo reference uses it too.

#include <algorithm>
#include <cstdio>
#include <vector>

namespace bench {

struct Figures {
  double median = 0.0;
  double worst = 0.0;
  int count = 0;
};

inline Figures Summarise(std::vector<double> samples) {
  Figures figures;
  figures.count = static_cast<int>(samples.size());
  if (samples.empty()) return figures;
  std::sort(samples.begin(), samples.end());
  figures.median = samples[samples.size() / 2];
  figures.worst = samples.back();
  return figures;
}

// "BENCH <key> <median> <worst> <unit> <label>", tab-separated; worst is "-" when it does not
// apply. The key names the row for the table script; the label is what a reader sees.
inline void Report(const char* key, const char* label, double median, double worst,
                   const char* unit) {
  if (worst < 0.0) {
    std::printf("BENCH\t%s\t%.4g\t-\t%s\t%s\n", key, median, unit, label);
  } else {
    std::printf("BENCH\t%s\t%.4g\t%.4g\t%s\t%s\n", key, median, worst, unit, label);
  }
  std::fflush(stdout);
}

inline void Report(const char* key, const char* label, const Figures& figures, const char* unit) {
  Report(key, label, figures.median, figures.worst, unit);
}

// A remark that the table script prints under the table.
inline void Note(const char* text) {
  std::printf("NOTE\t%s\n", text);
  std::fflush(stdout);
}

}  // namespace bench
