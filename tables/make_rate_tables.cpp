// make_rate_tables: writes the four rate table files from the TSV sources.
//
//   make_rate_tables <source folder> <output folder> [withholding edition] [grades edition]
//
// The editions default to 2026-01-01 (令和8年分) and 2016-04-01.
#include <cstdio>
#include <exception>

#include "tables/rate_table_sources.h"

int main(int argc, char** argv) {
  if (argc < 3 || argc > 5) {
    std::fprintf(stderr, "usage: %s <source folder> <output folder> [withholding edition] [grades edition]\n",
                 argc > 0 ? argv[0] : "make_rate_tables");
    return 2;
  }
  paylark::tables::TableSources sources;
  sources.folder = argv[1];
  if (argc > 3) sources.withholdingEdition = argv[3];
  if (argc > 4) sources.gradesEdition = argv[4];
  try {
    paylark::tables::WriteRateTables(sources, argv[2]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_rate_tables: %s\n", e.what());
    return 1;
  }
  return 0;
}
