// DeriveRestoredName beside std::u16string_view::find on the same paths: the rule should cost
// no more than finding the marker does.

#include <benchmark/benchmark.h>

#include <string>
#include <string_view>

#include "commands/restore_rule.h"

namespace {

enum class MarkerAt { Start, End, Absent };

std::u16string MakePath(std::size_t length, MarkerAt where) {
  std::u16string path(length, u'd');
  for (std::size_t i = 0; i < length; i += 16) {
    path[i] = u'\\';
  }
  const std::u16string_view marker = u"xaBrint";
  if (where == MarkerAt::Start) {
    path.replace(4, marker.size(), marker);
  } else if (where == MarkerAt::End) {
    path.replace(length - marker.size(), marker.size(), marker);
  }
  return path;
}

void Arguments(benchmark::internal::Benchmark* bench) {
  for (const int length : {16, 260, 4096, 32768}) {
    for (const int where : {0, 1, 2}) {
      bench->Args({length, where});
    }
  }
}

void DeriveRestoredName(benchmark::State& state) {
  const std::u16string path =
      MakePath(static_cast<std::size_t>(state.range(0)), static_cast<MarkerAt>(state.range(1)));
  for (auto _ : state) {
    benchmark::DoNotOptimize(zeduzovir::DeriveRestoredName(path));
  }
}

// The floor: finding the marker, with nothing built from the result.
void FindMarker(benchmark::State& state) {
  const std::u16string path =
      MakePath(static_cast<std::size_t>(state.range(0)), static_cast<MarkerAt>(state.range(1)));
  const std::u16string_view view(path);
  for (auto _ : state) {
    benchmark::DoNotOptimize(view.find(zeduzovir::RestoreMarker));
  }
}

}  // namespace

BENCHMARK(DeriveRestoredName)->Apply(Arguments);
BENCHMARK(FindMarker)->Apply(Arguments);
BENCHMARK_MAIN();
