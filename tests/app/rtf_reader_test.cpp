#include "app/notice/rtf_reader.h"

#include <gtest/gtest.h>

#include <string>

namespace athup::app {
namespace {

std::string body(const std::string& rtf) {
  const std::string html = RtfReader::toHtml(rtf);
  const auto start = html.find("<body>") + 6;
  return html.substr(start, html.rfind("</body>") - start);
}

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST(RtfReader, TextOfTheDocumentReachesTheHtml) {
  struct Case {
    const char* what;
    std::string rtf;
    std::string shown;
  };
  const Case cases[] = {
      {"Big5 escapes", "{\\rtf1\\ansi\\ansicpg950 \\'a4\\'bd\\'a7\\'69}", "公告"},
      // 功 is A5 5C in Big5: its second byte is the RTF escape character.
      {"trail byte written as \\\\", "{\\rtf1 \\'a5\\\\\\'af\\'e0}", "功能"},
      {"trail byte written raw", "{\\rtf1 \\'a5H}", "以"},
      {"unicode with fallback skipped", "{\\rtf1\\uc1 \\u20844?\\u21578?}", "公告"},
      {"negative unicode", "{\\rtf1 \\u-1?}", "\xEF\xBF\xBF"},
      {"surrogate pair", "{\\rtf1 \\u-10176?\\u-9205?}", "\xF0\xA0\x80\x8B"},
      {"out of range", "{\\rtf1 \\u99999999?}", "\xEF\xBF\xBD"},
      {"escaped syntax", "{\\rtf1 a\\{b\\}c\\\\d}", "a{b}c\\d"},
      {"html specials", "{\\rtf1 <a&b>}", "&lt;a&amp;b&gt;"},
  };
  for (const Case& c : cases)
    EXPECT_TRUE(contains(body(c.rtf), c.shown)) << c.what << ": " << body(c.rtf);
}

TEST(RtfReader, DestinationsThatAreNotTextAreSkipped) {
  const std::string html = body(
      "{\\rtf1{\\fonttbl{\\f0 \\'b7\\'73\\'b2\\'d3\\'a9\\'fa\\'c5\\'e9;}}"
      "{\\*\\generator Riched20;}{\\info{\\title secret}}{\\pict 89504e47}visible}");
  EXPECT_TRUE(contains(html, "visible"));
  for (const char* hidden : {"新細明體", "Riched20", "secret", "89504e47"}) {
    EXPECT_FALSE(contains(html, hidden)) << hidden;
  }
}

TEST(RtfReader, FormattingParagraphsAndColours) {
  const std::string html = body(
      "{\\rtf1{\\colortbl ;\\red192\\green0\\blue0;}"
      "\\pard\\qc\\b\\fs32\\cf1 Title\\b0\\fs24\\cf0\\par\\pard plain {\\i it} after\\par}");
  EXPECT_TRUE(contains(html, "align=\"center\""));
  EXPECT_TRUE(contains(html, "font-weight:bold;font-size:16pt;color:#c00000;\">Title"));
  EXPECT_TRUE(contains(html, "font-style:italic;font-size:12pt;\">it"));
  // The group ends the italic; the text after it is plain again.
  EXPECT_TRUE(contains(html, "font-size:12pt;\"> after"));
  EXPECT_TRUE(contains(html, "align=\"left\""));
}

TEST(RtfReader, BrokenDocumentsGiveWhatCanBeRead) {
  for (const std::string& rtf :
       {std::string("{\\rtf1 open group {\\b never closed"),
        std::string("}}}} stray closers {\\rtf1 x"), std::string("{\\rtf1 cut escape \\'a"),
        std::string("\\"), std::string("{\\rtf1 \\u99999999999 big}"),
        std::string(10000, '{') + "deep"}) {
    const std::string html = RtfReader::toHtml(rtf);
    EXPECT_EQ(html.rfind("<html><body>", 0), 0u) << rtf;
  }
  EXPECT_TRUE(contains(RtfReader::toHtml(std::string(10000, '{') + "deep"), "deep"));
}

TEST(RtfReader, RecognisesRichText) {
  EXPECT_TRUE(RtfReader::looksLikeRtf("{\\rtf1\\ansi"));
  EXPECT_FALSE(RtfReader::looksLikeRtf("plain {\\rtf1"));
}

}  // namespace
}  // namespace athup::app
