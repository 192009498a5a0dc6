// Our generation step side by side with Golly's bgolly on the same seeded
// soups: each soup is exported as RLE on a torus, both run it one generation
// at a time for 1000 generations, their populations are compared at every
// generation, and the CPU time per generation of both is printed with the
// ratio. Our world animates every face as the saver does.
//   golly-bench [BGOLLY]
#include <sys/resource.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "CellMap.h"
#include "EngineSetup.h"
#include "RleFile.h"

namespace {

constexpr int kGenerations = 1000;

struct Soup {
  const char* name;
  uint32_t side;
  double density;  // share of cells alive after seeding, about
};

double ProcessCpuMs() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

double ChildrenCpuMs() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  const auto ms = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3;
  };
  return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// Runs bgolly for `generations` single steps; returns its CPU time and
// fills populations (index = generation) from its report.
bool RunGolly(const std::string& bgolly, const std::string& rle, int generations,
              std::vector<long>& populations, double& cpuMs) {
  const std::string command =
      bgolly + " -a QuickLife -i 1 -m " + std::to_string(generations) + " '" + rle + "' 2>&1";
  const double start = ChildrenCpuMs();
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return false;
  populations.assign(static_cast<size_t>(generations) + 1, -1);
  char line[256];
  while (std::fgets(line, sizeof line, pipe) != nullptr) {
    // "GENERATION: POPULATION", the population with thousands separators.
    std::string digits;
    for (const char* c = line; *c != '\0'; ++c)
      if (*c != ',') digits += *c;
    long generation = 0, population = 0;
    if (std::sscanf(digits.c_str(), "%ld: %ld", &generation, &population) == 2 && generation >= 0 &&
        generation <= generations)
      populations[static_cast<size_t>(generation)] = population;
  }
  const bool ok = pclose(pipe) == 0;
  cpuMs = ChildrenCpuMs() - start;
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string bgolly = argc > 1 ? argv[1] : "bgolly";
  const Soup soups[] = {{"1024x1024, 35%", 1024, 0.35},
                        {"1024x1024, 5%", 1024, 0.05},
                        {"2048x2048, 35%", 2048, 0.35}};
  std::printf("%-16s %10s %14s %14s %8s  %s\n", "soup", "alive", "bgolly ms/gen", "ours ms/gen",
              "ratio", "populations");
  int status = 0;
  for (const Soup& soup : soups) {
    WorldConfig config = MakeWorldConfig(kDefaultFace, soup.side * 16, soup.side * 16);
    config.seed = 20261208;
    // Attempts that leave this share alive: 1 - exp(-attempts / cells).
    const double cells = static_cast<double>(soup.side) * soup.side;
    config.initpop = static_cast<uint32_t>(std::lround(-std::log(1 - soup.density) * cells));
    CellMap world;
    if (world.Create(config) != CreateResult::kCreated) return 1;
    const std::string rle = "/tmp/golly-bench-" + std::to_string(soup.side) + "-" +
                            std::to_string(std::lround(soup.density * 100)) + ".rle";
    if (!WriteRle(rle, world)) {
      std::fprintf(stderr, "golly-bench: cannot write %s\n", rle.c_str());
      return 1;
    }

    std::vector<long> ours{world.population()};
    const double start = ProcessCpuMs();
    for (int g = 1; g <= kGenerations; ++g) {
      world.NextGeneration();
      ours.push_back(world.population());
    }
    const double oursMs = (ProcessCpuMs() - start) / kGenerations;

    // bgolly's time less that of loading the soup and one step.
    std::vector<long> golly, ignored;
    double full = 0, load = 0;
    if (!RunGolly(bgolly, rle, kGenerations, golly, full) ||
        !RunGolly(bgolly, rle, 1, ignored, load)) {
      std::fprintf(stderr, "golly-bench: %s did not run (Debian package golly)\n", bgolly.c_str());
      return 1;
    }
    const double gollyMs = (full - load) / (kGenerations - 1);
    int differing = 0;
    for (size_t g = 0; g < ours.size(); ++g) differing += golly[g] != ours[g];
    std::printf("%-16s %9.1f%% %14.3f %14.3f %7.2fx  %s\n", soup.name,
                100.0 * static_cast<double>(ours[0]) / cells, gollyMs, oursMs, gollyMs / oursMs,
                differing == 0 ? "agree at every generation"
                               : (std::to_string(differing) + " generations differ").c_str());
    if (differing != 0) status = 1;
    std::remove(rle.c_str());
  }
  return status;
}
