#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace athup::security {

inline constexpr std::uint32_t kCardStatusOk = 0;
inline constexpr std::uint32_t kCardStatusCancelled = 0xFFFF;
inline constexpr std::uint32_t kCardStatusNoReader = 0x8010002E;

struct CardSignature {
  std::uint32_t status = kCardStatusOk;
  std::string signedText;  // empty on any failure
};

struct CardCertificate {
  std::uint32_t status = kCardStatusOk;
  std::string identity;  // an identifying attribute of the card's certificate; empty on failure
};

// The smart-card security client: reads the card's certificate and signs a text with the PIN.
// The PIN is passed through and never kept or logged.
class CardClient {
 public:
  virtual ~CardClient() = default;
  [[nodiscard]] virtual CardCertificate readCertificate() = 0;
  [[nodiscard]] virtual CardSignature sign(std::string_view text, std::string_view pin) = 0;
};

// Where no card stack is installed: every call reports that no reader was found.
class NoCardClient final : public CardClient {
 public:
  [[nodiscard]] CardCertificate readCertificate() override { return {kCardStatusNoReader, {}}; }
  [[nodiscard]] CardSignature sign(std::string_view, std::string_view) override {
    return {kCardStatusNoReader, {}};
  }
};

}  // namespace athup::security
