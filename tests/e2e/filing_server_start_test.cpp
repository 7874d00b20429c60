#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <regex>

#include "filing_server_fixture.h"
#include "support/temp_dir.h"

namespace athup::testing {
namespace {

using filing_server::FilingServer;
using filing_server::ServerOptions;

TEST(FilingServerStart, ServesOnlyClientsThatTrustItsAuthorityAndStopsCleanly) {
  TempDir dir;
  ServerOptions options;
  options.caFile = dir / "ca.pem";
  FilingServer server(options);
  server.start();
  ASSERT_GT(server.port(), 0);
  EXPECT_EQ(readFile(options.caFile), server.caCertificatePem());
  const std::string url = server.baseUrl() + "/orbatt/ClientVersion.jsp";

  HttpsClient trusting(options.caFile);
  const HttpsReply reply = trusting.get(url);
  EXPECT_EQ(reply.code, CURLE_OK);
  EXPECT_EQ(reply.status, 200);
  // The certificate names localhost as well as 127.0.0.1.
  EXPECT_EQ(
      trusting
          .get("https://localhost:" + std::to_string(server.port()) + "/orbatt/ClientVersion.jsp")
          .code,
      CURLE_OK);

  HttpsClient systemStoreOnly({});
  EXPECT_EQ(systemStoreOnly.get(url).code, CURLE_PEER_FAILED_VERIFICATION);

  server.stop();
  server.stop();  // a second stop is harmless
  EXPECT_EQ(trusting.get(url).code, CURLE_COULDNT_CONNECT);
}

TEST(FilingServerStart, EachStartMakesANewAuthority) {
  TempDir dir;
  ServerOptions options;
  options.caFile = dir / "first.pem";
  FilingServer first(options);
  first.start();
  options.caFile = dir / "second.pem";
  FilingServer second(options);
  second.start();
  EXPECT_NE(first.port(), second.port());
  EXPECT_NE(readFile(dir / "first.pem"), readFile(dir / "second.pem"));
  // A client trusting the first authority does not trust the second server.
  HttpsClient client(dir / "first.pem");
  EXPECT_EQ(client.get(second.baseUrl() + "/orbatt/ClientVersion.jsp").code,
            CURLE_PEER_FAILED_VERIFICATION);
}

TEST(FilingServerStart, ExecutableReportsItsPortAndEndsOnSigterm) {
  TempDir dir;
  const std::string caFile = (dir / "ca.pem").string();
  int out[2];
  ASSERT_EQ(pipe(out), 0);
  const pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    dup2(out[1], STDOUT_FILENO);
    close(out[0]);
    close(out[1]);
    execl(ATHUP_FILING_SERVER_EXE, "filing-server", "--ca-file", caFile.c_str(), "--port", "0",
          "--version", "2.01", "--version-date", "1130501", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(out[1]);
  FILE* stream = fdopen(out[0], "r");
  char line[256] = {};
  const bool gotLine = std::fgets(line, sizeof line, stream) != nullptr;
  std::smatch match;
  const std::string text = line;
  const bool matched =
      std::regex_match(text, match, std::regex("listening on (https://127\\.0\\.0\\.1:[0-9]+)\n"));

  std::string body;
  if (matched) body = HttpsClient(caFile).get(match[1].str() + "/orbatt/ClientVersion.jsp").body;
  kill(pid, SIGTERM);
  int status = 0;
  waitpid(pid, &status, 0);
  std::fclose(stream);

  ASSERT_TRUE(gotLine);
  ASSERT_TRUE(matched) << text;
  EXPECT_EQ(body, "VERSION:2.01\r\nVERSION DATE:1130501\r\n");
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(FilingServerStart, ExecutableRefusesBadArguments) {
  for (const char* arg : {"--port", "--fault"}) {
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      const int devNull = open("/dev/null", O_WRONLY);
      dup2(devNull, STDERR_FILENO);
      if (std::string(arg) == "--port") {
        execl(ATHUP_FILING_SERVER_EXE, "filing-server", "--ca-file", "/nonexistent/ca.pem",
              "--port", "seven", static_cast<char*>(nullptr));
      } else {
        execl(ATHUP_FILING_SERVER_EXE, "filing-server", "--ca-file", "/tmp/x.pem", "--fault",
              "no-such-fault", static_cast<char*>(nullptr));
      }
      _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status)) << arg;
    EXPECT_EQ(WEXITSTATUS(status), 2) << arg;
  }
}

}  // namespace
}  // namespace athup::testing
