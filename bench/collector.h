#pragma once
// A console reporter that also keeps each benchmark's real time per
// iteration, so that a benchmark program can print ratios after the table.
#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace quill::bench {

class Collector : public benchmark::ConsoleReporter {
 public:
  // Plain text: the figures are read from logs as often as from terminals.
  Collector() : ConsoleReporter(OO_Tabular) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.iterations > 0 && !run.error_occurred) {
        ms_[run.run_name.function_name] =
            run.real_accumulated_time * 1e3 / static_cast<double>(run.iterations);
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
  const std::map<std::string, double>& All() const { return ms_; }
  double Ms(const std::string& name) const {
    const auto it = ms_.find(name);
    return it == ms_.end() ? 0 : it->second;
  }

 private:
  std::map<std::string, double> ms_;
};

}  // namespace quill::bench
