// Base64 encode and decode throughput on 16 MiB, through the text forms and the stream forms.
#include "security/codecs/base64.h"

#include <benchmark/benchmark.h>

#include <sstream>
#include <string>

namespace {

constexpr std::size_t kSize = std::size_t{16} << 20;

const std::string& input() {
  static const std::string bytes = [] {
    std::string b(kSize, '\0');
    for (std::size_t i = 0; i < b.size(); ++i) b[i] = static_cast<char>((i * 2654435761u) >> 13);
    return b;
  }();
  return bytes;
}

const std::string& encoded() {
  static const std::string text = athup::security::base64EncodeText(input());
  return text;
}

void BM_Base64EncodeText(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(athup::security::base64EncodeText(input()));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kSize));
}

void BM_Base64Line(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(athup::security::base64Line(input()));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kSize));
}

void BM_Base64DecodeText(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(athup::security::base64DecodeText(encoded()));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kSize));
}

void BM_Base64EncodeStream(benchmark::State& state) {
  for (auto _ : state) {
    std::istringstream in(input());
    std::ostringstream out;
    athup::security::base64EncodeStream(in, out);
    benchmark::DoNotOptimize(out.tellp());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kSize));
}

void BM_Base64DecodeStream(benchmark::State& state) {
  for (auto _ : state) {
    std::istringstream in(encoded());
    std::ostringstream out;
    athup::security::base64DecodeStream(in, out);
    benchmark::DoNotOptimize(out.tellp());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kSize));
}

BENCHMARK(BM_Base64EncodeText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Base64Line)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Base64DecodeText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Base64EncodeStream)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Base64DecodeStream)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
