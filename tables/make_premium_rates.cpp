// make_premium_rates: writes the premium rate file from the dated TSV sources.
//
//   make_premium_rates <source folder> <output folder>
#include <cstdio>
#include <exception>

#include "tables/premium_rate_sources.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s <source folder> <output folder>\n", argc > 0 ? argv[0] : "make_premium_rates");
    return 2;
  }
  try {
    paylark::tables::WritePremiumRateFile(argv[1], argv[2]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_premium_rates: %s\n", e.what());
    return 1;
  }
  return 0;
}
