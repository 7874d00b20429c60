#pragma once

#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace athup::filing_server {

// The failures the simulator can be told to show, by name. A switch stays on until it is
// cleared; one set with a skip count lets that many requests pass first, so a test can refuse,
// say, the second file of a run.
enum class Fault {
  Refuse,              // query answers carry value "CODE:MSG" instead of success
  RefuseUpload,        // upload answers carry value "CODE:MSG"
  HtmlPage,            // query and upload answer with an HTML error page
  DailyMaximum,        // header line: uploads counted equal to the daily maximum
  SerialCheckN,        // header line column 51 "N"
  T02CheckN,           // header line column 52 "N"
  T08CheckN,           // header line column 53 "N"
  Status6,             // header status "6"
  Status2Unequal,      // header status "2" with unequal file counts
  DropUpload,          // the connection is cut after value bytes of the upload body (default 1)
  Slow,                // every answer waits value milliseconds (default 1000)
  MalformedXml,        // query and upload answers are cut off in the middle of the document
  ListNotBase64,       // "list" holds text that is not base64
  ListNotZlib,         // "list" is base64 of the plain result file, not of a zlib stream
  VersionWithoutDate,  // the version page lacks "VERSION DATE"
  NotFound,            // every endpoint answers "404 Not Found"
};

class FaultSwitches {
 public:
  // Every switch with its command-line and admin name, in a fixed order.
  [[nodiscard]] static const std::vector<std::pair<Fault, std::string>>& names();
  [[nodiscard]] static std::optional<Fault> byName(std::string_view name);

  void set(Fault fault, std::string value = {}, int skip = 0);
  void clear(Fault fault);
  void clearAll();

  // The value of a switch that is on (empty when it was set without one), or nullopt. A switch
  // with a skip count left reports off and counts one down.
  [[nodiscard]] std::optional<std::string> take(Fault fault);
  // Whether a switch is on, without counting down a skip.
  [[nodiscard]] bool isOn(Fault fault) const;

 private:
  struct Setting {
    std::string value;
    int skip = 0;
  };
  mutable std::mutex m_mutex;
  std::map<Fault, Setting> m_on;
};

}  // namespace athup::filing_server
