// Packing and sealing one attachment the way the upload does (archive at maximum level, then the
// upload cipher), against plain zlib compress2 at level 9 of the same bytes in the same run.
//   bench_archive_encrypt                      Google Benchmark timings
//   bench_archive_encrypt --peak-memory KIND   one run in a fresh process, prints ru_maxrss
// KIND is text or noise; both inputs are 10 MiB.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "security/archive/archive.h"
#include "security/cipher/upload_cipher.h"

namespace {

namespace fs = std::filesystem;
using athup::security::Archive;
using athup::security::CompressionLevel;
using athup::security::UploadCipher;

constexpr std::size_t kFileSize = 10 * 1024 * 1024;
constexpr const char* kPassword = "12345675";  // a business number

// Writes the input in pieces, so the memory run never holds it whole.
void writeInput(const fs::path& path, bool text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  std::mt19937 random(20240101);
  static const char* const kWords[] = {"invoice",   "amount", "tax",     "refund",
                                       "zero-rate", "export", "customs", "asset",
                                       "period",    "seller", "buyer",   "total"};
  std::string piece;
  std::size_t written = 0;
  while (written < kFileSize) {
    piece.clear();
    while (piece.size() < 64 * 1024) {
      if (text) {
        piece += kWords[random() % 12];
        piece += ' ';
        piece += std::to_string(random() % 1000000);
        piece += (random() % 8 == 0) ? "\r\n" : " ";
      } else {
        const auto word = static_cast<std::uint32_t>(random());
        piece.append(reinterpret_cast<const char*>(&word), sizeof word);
      }
    }
    const std::size_t take = std::min(piece.size(), kFileSize - written);
    out.write(piece.data(), static_cast<std::streamsize>(take));
    written += take;
  }
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

fs::path workFolder() {
  static const fs::path folder = [] {
    std::string pattern = (fs::temp_directory_path() / "athup-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    return fs::path(pattern);
  }();
  return folder;
}

fs::path inputFile(bool text) {
  const fs::path path = workFolder() / (text ? "evidence.txt" : "evidence.bin");
  if (!fs::exists(path)) writeInput(path, text);
  return path;
}

fs::path pack(const fs::path& source) {
  const fs::path zip = workFolder() / "upload.zip";
  fs::remove(zip);  // as the upload does before every archive
  Archive archive;
  archive.setCompressionLevel(CompressionLevel::Maximum);
  archive.setCheckCrc(true);
  archive.create(zip);
  archive.addFile(source);
  archive.close();
  return zip;
}

// Returns the size of the sealed file.
std::uintmax_t packAndSeal(const fs::path& source) {
  const fs::path zip = pack(source);
  const fs::path enp = workFolder() / "upload.enp";
  UploadCipher cipher;
  cipher.setPassword(kPassword);
  cipher.encryptFile(zip);
  cipher.saveResult(enp);
  return fs::file_size(enp);
}

std::string readAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void BM_ArchiveEncrypt(benchmark::State& state) {
  const fs::path source = inputFile(state.range(0) == 1);
  std::uintmax_t sealed = 0;
  for (auto _ : state) sealed = packAndSeal(source);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kFileSize));
  state.counters["sealed_bytes"] = static_cast<double>(sealed);
  state.SetLabel(state.range(0) == 1 ? "text" : "noise");
}

// The archive alone, to tell its share from the cipher's.
void BM_ArchiveOnly(benchmark::State& state) {
  const fs::path source = inputFile(state.range(0) == 1);
  for (auto _ : state) benchmark::DoNotOptimize(pack(source));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kFileSize));
  state.SetLabel(state.range(0) == 1 ? "text" : "noise");
}

void BM_Compress2Level9(benchmark::State& state) {
  const std::string bytes = readAll(inputFile(state.range(0) == 1));
  std::vector<Bytef> out(compressBound(static_cast<uLong>(bytes.size())));
  uLongf size = 0;
  for (auto _ : state) {
    size = static_cast<uLongf>(out.size());
    if (compress2(out.data(), &size, reinterpret_cast<const Bytef*>(bytes.data()),
                  static_cast<uLong>(bytes.size()), 9) != Z_OK) {
      state.SkipWithError("compress2 failed");
    }
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kFileSize));
  state.counters["compressed_bytes"] = static_cast<double>(size);
  state.SetLabel(state.range(0) == 1 ? "text" : "noise");
}

BENCHMARK(BM_ArchiveEncrypt)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_ArchiveOnly)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_Compress2Level9)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(3.0);

int peakMemory(const std::string& kind) {
  const fs::path source = inputFile(kind == "text");
  rusage before{};
  getrusage(RUSAGE_SELF, &before);
  const std::uintmax_t sealed = packAndSeal(source);
  rusage after{};
  getrusage(RUSAGE_SELF, &after);
  const double peakKiB = static_cast<double>(after.ru_maxrss);
  std::printf(
      "%s: file %zu bytes, sealed %ju bytes, peak RSS %.0f KiB (%.2f x file size; %.0f KiB "
      "before the run)\n",
      kind.c_str(), kFileSize, sealed, peakKiB, peakKiB * 1024.0 / static_cast<double>(kFileSize),
      static_cast<double>(before.ru_maxrss));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  int rc = 0;
  if (argc == 3 && std::strcmp(argv[1], "--peak-memory") == 0) {
    rc = peakMemory(argv[2]);
  } else {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
  }
  std::error_code ignored;
  fs::remove_all(workFolder(), ignored);
  return rc;
}
