// 1,000 pre-upload requests to the filing-server simulator on loopback: through the form
// transport, and through libcurl alone posting the same body on one reused handle, in the same
// run. The transport keeps its handle too, but speaks HTTP/1.0 as the filing server expects, so
// the server closes after each answer and only the TLS session is reused.
#include <benchmark/benchmark.h>
#include <curl/curl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "filing_server/filing_server.h"
#include "security/codecs/base64.h"
#include "upload/form_transport.h"

namespace {

using namespace athup;

struct Simulator {
  Simulator() {
    folder = std::filesystem::temp_directory_path() /
             ("athup-bench-" + std::to_string(static_cast<long>(::getpid())));
    std::filesystem::create_directories(folder);
    filing_server::ServerOptions options;
    options.caFile = folder / "ca.pem";
    options.storeDir = folder / "store";
    server = std::make_unique<filing_server::FilingServer>(options);
    server->start();
    url = server->baseUrl() + "/orbatt/orbAttachQuery";
    const std::string seal =
        security::base64Line("20240501093015,12345678,11304,A1234567,1A2B3C,4D5E6F");
    body =
        "ban=12345678&certtp=1&passwd=test1234&version=1.05&versionDate=1080315"
        "&ostp=Linux&clientIp=127.0.0.1&yearMon=11304&isNew=Y&seal=" +
        seal;
  }
  ~Simulator() {
    server->stop();
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }
  std::filesystem::path folder;
  std::unique_ptr<filing_server::FilingServer> server;
  std::string url;
  std::string body;
};

Simulator& simulator() {
  static Simulator instance;
  return instance;
}

void formTransport(benchmark::State& state) {
  Simulator& sim = simulator();
  upload::FormTransport transport({sim.folder / "ca.pem", std::nullopt});
  for (auto _ : state) {
    const upload::FormReply reply = transport.postFormRequest(sim.url, sim.body);
    if (!reply.body) state.SkipWithError("no answer");
    benchmark::DoNotOptimize(reply.body);
  }
}

size_t collect(char* data, size_t size, size_t count, void* user) {
  static_cast<std::string*>(user)->append(data, size * count);
  return size * count;
}

void rawLibcurl(benchmark::State& state) {
  Simulator& sim = simulator();
  CURL* curl = curl_easy_init();
  const std::string ca = (sim.folder / "ca.pem").string();
  curl_slist* headers =
      curl_slist_append(nullptr, "Content-Type:application/x-www-form-urlencoded");
  std::string answer;
  curl_easy_setopt(curl, CURLOPT_URL, sim.url.c_str());
  curl_easy_setopt(curl, CURLOPT_CAINFO, ca.c_str());
  curl_easy_setopt(curl, CURLOPT_PROXY, "");
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
  curl_easy_setopt(curl, CURLOPT_POSTFIELDS, sim.body.c_str());
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &collect);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &answer);
  for (auto _ : state) {
    answer.clear();
    if (curl_easy_perform(curl) != CURLE_OK) state.SkipWithError("no answer");
    benchmark::DoNotOptimize(answer);
  }
  curl_slist_free_all(headers);
  curl_easy_cleanup(curl);
}

BENCHMARK(formTransport)->Iterations(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(rawLibcurl)->Iterations(1000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
