#include "demo_data/pdf_document.h"

#include <gtest/gtest.h>

#include <string>

#include "common/errors.h"
#include "pdf_check.h"

namespace athup::demodata {
namespace {

TEST(PdfDocument, PagesMakeASoundFile) {
  PdfDocument pdf("Demo (test) \\ title");
  pdf.addPage({"Demo invoice", "Amount (NTD): 1,234", "back\\slash"});
  pdf.addPage({"Demo payment advice"});
  pdf.addPage({});
  const std::string bytes = pdf.bytes();
  EXPECT_EQ(testing::pdfProblems(bytes), "");
  EXPECT_NE(bytes.find("/Count 3 "), std::string::npos);
  // parentheses and backslashes inside a text are escaped, so the string does not end early
  EXPECT_NE(bytes.find("(Amount \\(NTD\\): 1,234) Tj"), std::string::npos);
  EXPECT_NE(bytes.find("(back\\\\slash) Tj"), std::string::npos);
  EXPECT_EQ(bytes, pdf.bytes());
}

TEST(PdfDocument, RefusesTextTheFontCannotShow) {
  PdfDocument pdf("x");
  pdf.addPage({"發票"});
  EXPECT_THROW((void)pdf.bytes(), Error);
}

}  // namespace
}  // namespace athup::demodata
