// The receipt of a taxpayer with 1,000 status lines, from the stored lines to a finished PDF.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "gui/receipts/receipt_pdf_output.h"
#include "receipts/receipt_content.h"
#include "receipts/receipt_layout.h"

namespace {

std::string statusLine(int i) {
  auto field = [](std::string text, std::size_t width) {
    text.resize(width, ' ');
    return text;
  };
  return "ORB001" + std::string(i % 3 == 0 ? "02" : "14") + "000100" +
         field("DOC" + std::to_string(i), 21) + "pdf" + field(std::to_string(100000 + i), 20) +
         field("1000", 20) + "20240520143015" + "20240521093000" + "        " + field("OK", 50);
}

void receiptPdfOfAThousandLines(benchmark::State& state) {
  athup::receipts::ReceiptInputs inputs;
  inputs.header.ban = "12345675";
  inputs.header.uploadsCounted = "001";
  for (int i = 0; i < 1000; ++i) inputs.statusLines.push_back(statusLine(i));
  inputs.hsnCd = "A";
  inputs.applyYM = "11306";
  inputs.todayYYYYMMDD = "20240603";
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("receipt.pdf"));
  int pages = 0;
  for (auto _ : state) {
    athup::gui::ReceiptPdfOutput output(path);
    output.output(athup::receipts::layoutReceipt(athup::receipts::buildReceiptContent(inputs)));
    pages = output.finish();
  }
  state.counters["pages"] = pages;
}
BENCHMARK(receiptPdfOfAThousandLines)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
