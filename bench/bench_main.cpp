// The benchmarks' main: runs them as usual, then prints the save's time over the raw write of the
// same bytes (SavePeriod ÷ RawWrite, real time; the means when the runs are repeated). `make bench`
// interleaves the repetitions, so that both are measured under the same load of the disk.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

// Passes every run on to the console and keeps the real time of the two save benchmarks.
class SaveRatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      const std::string name = run.run_name.function_name;
      if (name != "BM_SavePeriod" && name != "BM_RawWrite") continue;
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "mean") continue;
      // A mean replaces the single runs before it.
      if (run.run_type == Run::RT_Aggregate || !means_.count(name)) {
        times_[name] = run.GetAdjustedRealTime();
        if (run.run_type == Run::RT_Aggregate) means_[name] = true;
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }

  void PrintRatio() const {
    const auto save = times_.find("BM_SavePeriod");
    const auto raw = times_.find("BM_RawWrite");
    if (save == times_.end() || raw == times_.end() || raw->second <= 0) return;
    std::printf("SavePeriod / raw write (temp file, fsync, rename, folder fsync): %.2f (limit 1.50)\n",
                save->second / raw->second);
  }

 private:
  std::map<std::string, double> times_;
  std::map<std::string, bool> means_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  SaveRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatio();
  benchmark::Shutdown();
  return 0;
}
